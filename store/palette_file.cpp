#include "store/palette_file.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "store/system_library.h"

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

bool PaletteFileHolds(const char* path, const PaletteEntries& palette)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    uint8_t held[kPaletteFileSize + 1];  // one more: a longer file does not hold exactly the palette
    DWORD count = 0;
    const bool read = ReadFile(file, held, sizeof held, &count, nullptr) != 0;
    CloseHandle(file);
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(palette, bytes);
    return read && count == sizeof bytes && std::memcmp(held, bytes, sizeof bytes) == 0;
}

bool WritePaletteFile(const char* path, const PaletteEntries& palette)
{
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(palette, bytes);

    const std::string temporary = std::string(path) + ".new";
    if (!WriteWholeFile(temporary, bytes, sizeof bytes)) {
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

// The dialog writes into the path buffer even when cancelled on some systems;
// the previous path is put back then.
static bool RunPaletteDialog(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, DWORD flags,
                             BOOL(WINAPI* dialog)(LPOPENFILENAMEA))
{
    const std::string previous(path, strnlen(path, size));
    OPENFILENAMEA record;
    ZeroMemory(&record, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = texts.filter;
    record.lpstrFile = path;
    // Four bytes stay free so that ".tbp" can always be appended.
    record.nMaxFile = static_cast<DWORD>(size - 4);
    record.lpstrTitle = texts.title;
    record.Flags = flags;
    if (dialog != nullptr && dialog(&record))
        return true;
    ZeroMemory(path, size);
    previous.copy(path, size - 1);
    return false;
}

bool ChoosePaletteToOpen(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size)
{
    return RunPaletteDialog(owner, texts, path, size, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                            SystemLibraryFunction<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA"));
}

bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size)
{
    if (!RunPaletteDialog(owner, texts, path, size, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                          SystemLibraryFunction<decltype(&GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA")))
        return false;
    return EnsurePaletteExtension(path, size);
}
