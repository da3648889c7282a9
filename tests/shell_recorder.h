// A stand-in for the browser in tests: while a ShellRecorder lives, the shell
// opens ".html" documents and "https" addresses by writing what it was asked to
// open into a file in a test folder.
#pragma once

#include <windows.h>

#include <string>

#include "tests/test_folder.h"

class ShellRecorder {
public:
    explicit ShellRecorder(const std::string& folder)
        : pageFile_(folder + "\\page.txt"), addressFile_(folder + "\\address.txt")
    {
        previousHtml_ = DefaultValue(kHtmlKey, &hadHtml_);
        previousHttps_ = DefaultValue(kHttpsKey, &hadHttps_);
        SetDefaultValue(kHtmlKey, kRecorderClass);
        SetDefaultValue(std::string(kRecorderClass) + "\\shell\\open\\command", Recorder(pageFile_));
        SetDefaultValue(kHttpsKey, Recorder(addressFile_));
    }
    ~ShellRecorder()
    {
        Restore(kHtmlKey, previousHtml_, hadHtml_);
        Restore(kHttpsKey, previousHttps_, hadHttps_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kClasses) + kRecorderClass).c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kClasses) + kRecorderClass).c_str());
    }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::string OpenedPage() { return WaitFor(pageFile_); }
    std::string OpenedAddress() { return WaitFor(addressFile_); }

private:
    static constexpr const char* kClasses = "Software\\Classes\\";
    static constexpr const char* kHtmlKey = ".html";
    static constexpr const char* kHttpsKey = "https\\shell\\open\\command";
    static constexpr const char* kRecorderClass = "TintboxTest.Recorder";

    static std::string Recorder(const std::string& file)
    {
        return "C:\\windows\\system32\\cmd.exe /c echo \"%1\">\"" + file + "\"";
    }
    static std::string DefaultValue(const std::string& key, bool* had)
    {
        char value[1024] = {};
        LONG size = sizeof value;
        *had = RegQueryValueA(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), value, &size) == ERROR_SUCCESS;
        return value;
    }
    static void SetDefaultValue(const std::string& key, const std::string& value)
    {
        RegSetValueA(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), REG_SZ, value.c_str(),
                     static_cast<DWORD>(value.size()));
    }
    static void Restore(const std::string& key, const std::string& value, bool had)
    {
        if (had)
            SetDefaultValue(key, value);
        else
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kClasses + key).c_str());
    }
    // The recorded target, without the quotes and the line end.
    static std::string WaitFor(const std::string& file)
    {
        for (int i = 0; i < 1000; ++i) {
            std::string text = ReadWholeFile(file);
            if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
                text.resize(text.size() - 2);
                while (!text.empty() && (text.back() == ' ' || text.back() == '"'))
                    text.pop_back();
                if (!text.empty() && text.front() == '"')
                    text.erase(0, 1);
                return text;
            }
            Sleep(10);
        }
        return "<nothing was opened>";
    }

    std::string pageFile_;
    std::string addressFile_;
    std::string previousHtml_;
    std::string previousHttps_;
    bool hadHtml_ = false;
    bool hadHttps_ = false;
};

