#include "store/palette_file.h"

#include <commdlg.h>

#include <cstring>
#include <string>

namespace {

constexpr DWORD kFileBytesLimit = 16u << 20;

// Calls `cleanUp` without losing the reason of the failure before it.
template <typename CleanUp>
bool FailKeepingReason(CleanUp cleanUp)
{
    const DWORD error = GetLastError();
    cleanUp();
    SetLastError(error);
    return false;
}

HANDLE OpenForReading(const char* path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Writes the bytes to a new temporary file beside `path`, flushed to the disk;
// its name is left in `temporary`.
bool WriteTemporaryFile(const char* path, const uint8_t* bytes, DWORD size, std::string* temporary)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < kTemporaryNameAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
        *temporary = TemporaryPaletteName(path, attempt);
        file = CreateFileA(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        if (file == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
            error != ERROR_ACCESS_DENIED)
            return false;  // not a name taken: the folder itself refuses
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr) || written != size || !FlushFileBuffers(file))
        return FailKeepingReason([&] { CloseHandle(file); DeleteFileA(temporary->c_str()); });
    CloseHandle(file);
    return true;
}

// The temporary file takes the place of `path`, which held `attributes` (or
// did not exist). Some systems' ReplaceFileA leave the attributes behind: they
// are put back, with the archive bit of a changed file.
bool PutInPlace(const std::string& temporary, const char* path, DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return MoveFileExA(temporary.c_str(), path, MOVEFILE_WRITE_THROUGH) != FALSE;
    // A file held open without sharing, or read-only, is refused before
    // ReplaceFileA: on some systems a refused ReplaceFileA leaves a temporary
    // file of its own behind.
    HANDLE old = CreateFileA(path, GENERIC_READ | GENERIC_WRITE | DELETE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (old == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(old);
    if (!ReplaceFileA(path, temporary.c_str(), nullptr, 0, nullptr, nullptr))
        return false;
    const DWORD kept = (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL)) | FILE_ATTRIBUTE_ARCHIVE;
    if (GetFileAttributesA(path) != kept)
        SetFileAttributesA(path, kept);
    return true;
}

}  // namespace

bool ReadPaletteFile(const char* path, PaletteEntries& palette)
{
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    uint8_t bytes[kPaletteFileSize];
    DWORD count = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &count, nullptr))
        return FailKeepingReason([&] { CloseHandle(file); });
    CloseHandle(file);
    ApplyPaletteBytes(palette, bytes, count);
    return true;
}

FileBytes ReadFileBytes(const char* path)
{
    FileBytes found;
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        found.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileBytes::Missing
                                                                                     : FileBytes::Unreadable;
        return found;
    }
    found.state = FileBytes::Read;
    char chunk[4096];
    DWORD count = 0;
    do {
        if (!ReadFile(file, chunk, sizeof chunk, &count, nullptr) || found.bytes.size() > kFileBytesLimit) {
            found = FileBytes{FileBytes::Unreadable, std::string()};
            break;
        }
        found.bytes.append(chunk, count);
    } while (count > 0);
    CloseHandle(file);
    return found;
}

std::string TemporaryPaletteName(const char* path, unsigned attempt)
{
    return std::string(path) + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
}

bool WritePaletteFile(const char* path, const PaletteEntries& palette)
{
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(palette, bytes);
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    std::string temporary;
    if (!WriteTemporaryFile(path, bytes, sizeof bytes, &temporary))
        return false;
    // Refused while another handle holds the old file open without sharing,
    // or while it is read-only; the old file then stays as it was.
    if (!PutInPlace(temporary, path, attributes))
        return FailKeepingReason([&] { DeleteFileA(temporary.c_str()); });
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
    if (dialog(&record))
        return true;
    ZeroMemory(path, size);
    previous.copy(path, size - 1);
    return false;
}

bool ChoosePaletteToOpen(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size)
{
    return RunPaletteDialog(owner, texts, path, size, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                            GetOpenFileNameA);
}

bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, bool* extended)
{
    if (!RunPaletteDialog(owner, texts, path, size, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, GetSaveFileNameA))
        return false;
    const size_t chosen = strnlen(path, size);
    const bool fits = EnsurePaletteExtension(path, size);
    *extended = strnlen(path, size) != chosen;
    return fits;
}
