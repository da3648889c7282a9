// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <vector>

class TestFolder {
public:
    explicit TestFolder(const std::string& leaf = "");  // optional extra (possibly long) leaf below the temp folder
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string root_;
    std::string path_;
};

// Makes a folder below `parent` whose full path is exactly `length` characters,
// through the platform's long-path names; returns that path.
std::string MakeLongFolder(const std::string& parent, size_t length);
// Files (not folders) anywhere below `path`.
int CountFilesBelow(const std::string& path);

// File helpers for tests, through the platform so they see what the program sees.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// The file's last-write time in file-time units, 0 when it cannot be read.
unsigned long long LastWriteTime(const std::string& path);
// Gives the file a last-write time long past, which any write replaces.
bool AgeFile(const std::string& path);
// The lines of a section of a private-profile file as the platform reads them,
// blanks around "=" removed (Windows keeps them in the file, Wine trims them).
std::vector<std::string> ProfileSectionLines(const std::string& file, const char* section);
// The section names of a private-profile file, in file order.
std::vector<std::string> ProfileSectionNames(const std::string& file);

// A Linux path of the build tree as Wine shows it ("Z:\...").
std::string HostPathToWindows(const std::string& path);
