#include "store/palette_file.h"

#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

bool ReadPaletteFile(const char* path, PaletteEntries& palette)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    uint8_t bytes[kPaletteFileSize];
    DWORD count = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &count, nullptr))
        count = 0;
    CloseHandle(file);
    ApplyPaletteBytes(palette, bytes, count);
    return true;
}

static bool WriteWholeFile(const std::string& path, const uint8_t* bytes, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

// The bytes go to a file beside `path` first, which then takes its place.
static bool ReplaceFileWith(const char* path, const uint8_t* bytes, DWORD size)
{
    const std::string temporary = std::string(path) + ".new";
    if (!WriteWholeFile(temporary, bytes, size)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    // The replacement is refused while another handle holds the old file open
    // without sharing; the old file then stays as it was.
    if (!MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

bool WritePaletteFile(const char* path, const PaletteEntries& palette)
{
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(palette, bytes);
    return ReplaceFileWith(path, bytes, sizeof bytes);
}

// At most `limit` bytes from the start of a file; false when it cannot be
// opened or read.
static bool ReadFileStart(const char* path, size_t limit, std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) != 0;
    const size_t wanted = ok && static_cast<uint64_t>(size.QuadPart) < limit ? static_cast<size_t>(size.QuadPart)
                                                                            : limit;
    bytes.assign(wanted, 0);
    size_t got = 0;
    while (ok && got < wanted) {
        DWORD count = 0;
        ok = ReadFile(file, bytes.data() + got, static_cast<DWORD>(wanted - got), &count, nullptr) != 0;
        if (count == 0)
            break;  // the file ended sooner than its size said
        got += count;
    }
    CloseHandle(file);
    bytes.resize(got);
    return ok;
}

PaletteOpening OpenUserPaletteFile(const char* path, PaletteEntries& palette)
{
    PaletteOpening opening;
    std::vector<uint8_t> bytes;
    // One byte past the limit tells a file that is too large.
    if (!ReadFileStart(path, kPaletteFileLimit + 1, bytes))
        return opening;
    opening.opened = true;
    opening.format = DetectPaletteFormat(path, bytes.data(), bytes.size());
    if (opening.format == PaletteFormat::Tbp) {
        ApplyPaletteBytes(palette, bytes.data(), bytes.size());
        return opening;
    }
    const PaletteRead read = ReadPaletteFormat(opening.format, bytes.data(), bytes.size());
    opening.error = read.error;
    opening.total = read.total;
    opening.leftOut = read.total > read.colors.size() ? read.total - read.colors.size() : 0;
    ApplyPaletteRead(read, palette);
    return opening;
}

// The file's name without its folder and extension, as the palette's name.
// Taken apart in UTF-16: in code page 932 a backslash byte can be the second
// byte of a character.
static std::u16string PaletteNameOf(const char* path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
    wide.resize(wide.find(L'\0'));
    const size_t slash = wide.find_last_of(L"\\/");
    wide.erase(0, slash == std::wstring::npos ? 0 : slash + 1);
    const size_t dot = wide.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        wide.erase(dot);
    return std::u16string(wide.begin(), wide.end());
}

bool WriteUserPaletteFile(const char* path, PaletteFormat format, const PaletteEntries& palette)
{
    if (format == PaletteFormat::Tbp)
        return WritePaletteFile(path, palette);
    const std::vector<uint8_t> bytes = WritePaletteFormat(format, palette, PaletteNameOf(path));
    return ReplaceFileWith(path, bytes.data(), static_cast<DWORD>(bytes.size()));
}

// The dialog writes into the path buffer even when cancelled on some systems;
// the previous path is put back then. `filter` gives the filter selected.
static bool RunPaletteDialog(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, DWORD flags,
                             BOOL(WINAPI* dialog)(LPOPENFILENAMEA), DWORD* filter = nullptr)
{
    const std::string previous(path, strnlen(path, size));
    OPENFILENAMEA record;
    ZeroMemory(&record, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = texts.filter;
    record.nFilterIndex = 1;
    record.lpstrFile = path;
    // Four bytes stay free so that an extension can always be appended.
    record.nMaxFile = static_cast<DWORD>(size - 4);
    record.lpstrTitle = texts.title;
    record.Flags = flags;
    if (dialog(&record)) {
        if (filter != nullptr)
            *filter = record.nFilterIndex;
        return true;
    }
    ZeroMemory(path, size);
    previous.copy(path, size - 1);
    return false;
}

bool ChoosePaletteToOpen(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size)
{
    return RunPaletteDialog(owner, texts, path, size, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                            GetOpenFileNameA);
}

bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, PaletteFormat& format)
{
    DWORD filter = 1;
    if (!RunPaletteDialog(owner, texts, path, size, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, GetSaveFileNameA,
                          &filter))
        return false;
    // Filter 1 is the .tbp; filter n the format n - 1 of PaletteFormat.
    format = filter >= 1 && filter <= kPaletteFormatCount ? static_cast<PaletteFormat>(filter - 1) : PaletteFormat::Tbp;
    return EnsurePaletteExtension(path, size, PaletteFormatExtension(format));
}
