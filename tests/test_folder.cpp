#include "tests/test_folder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<int> g_counter{0};

std::wstring LongName(const std::string& path)
{
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// Walks the tree through wide long-path names, so folders beyond MAX_PATH go too.
void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((LongName(path) + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring wide = found.cFileName;
            if (wide == L"." || wide == L"..")
                continue;
            const std::string child = path + "\\" + std::string(wide.begin(), wide.end());
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(LongName(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(LongName(child).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(LongName(path).c_str());
}

}  // namespace

TestFolder::TestFolder(const std::string& leaf)
{
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof temp, temp);
    root_ = std::string(temp) + "tintbox-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(g_counter++);
    CreateDirectoryA(root_.c_str(), nullptr);
    path_ = root_;
    // A long leaf is made one piece at a time, each piece short enough for the platform.
    size_t start = 0;
    while (start < leaf.size()) {
        size_t end = leaf.find('\\', start);
        if (end == std::string::npos)
            end = leaf.size();
        path_ += "\\" + leaf.substr(start, end - start);
        CreateDirectoryA(path_.c_str(), nullptr);
        start = end + 1;
    }
}

TestFolder::~TestFolder()
{
    RemoveTree(root_);
}

std::string MakeLongFolder(const std::string& parent, size_t length)
{
    std::string path = parent;
    while (path.size() < length) {
        const size_t piece = std::min<size_t>(100, length - path.size() - 1);
        if (piece == 0) {
            path += 'x';  // one character short of a piece: lengthen the last name
        } else {
            path += "\\" + std::string(piece, static_cast<char>('a' + path.size() % 26));
        }
        CreateDirectoryW(LongName(path).c_str(), nullptr);
    }
    return path;
}

int CountFilesBelow(const std::string& path)
{
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((LongName(path) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring wide = found.cFileName;
        if (wide == L"." || wide == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += CountFilesBelow(path + "\\" + std::string(wide.begin(), wide.end()));
        else
            ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD count = 0;
    while (ReadFile(file, chunk, sizeof chunk, &count, nullptr) && count > 0)
        bytes.append(chunk, count);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

unsigned long long LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

bool AgeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const FILETIME old = {0x12345600u, 0x01C00000u};  // in 1979
    const bool set = SetFileTime(file, nullptr, nullptr, &old) != 0;
    CloseHandle(file);
    return set;
}

std::string HostPathToWindows(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

std::vector<std::string> ProfileSectionLines(const std::string& file, const char* section)
{
    std::vector<char> buffer(1 << 20);
    const DWORD length =
        GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> lines;
    for (size_t i = 0; i < length;) {
        std::string line = buffer.data() + i;
        i += line.size() + 1;
        const size_t eq = line.find('=');
        if (eq != std::string::npos) {
            const size_t keyEnd = line.find_last_not_of(' ', eq == 0 ? 0 : eq - 1);
            const size_t valueStart = line.find_first_not_of(' ', eq + 1);
            line = line.substr(0, keyEnd == std::string::npos ? 0 : keyEnd + 1) + "=" +
                   (valueStart == std::string::npos ? "" : line.substr(valueStart));
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ProfileSectionNames(const std::string& file)
{
    std::vector<char> buffer(65536);
    const DWORD length =
        GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> names;
    for (size_t i = 0; i < length;) {
        names.emplace_back(buffer.data() + i);
        i += names.back().size() + 1;
    }
    return names;
}
