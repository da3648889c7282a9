#include "store/palette_file.h"

#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

#include "store/system_library.h"

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

bool FileIsMissing(const char* path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::string TemporaryPaletteName(const char* path, unsigned attempt)
{
    return std::string(path) + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
}

bool PaletteFileHolds(const char* path, const PaletteEntries& palette)
{
    return BytesHoldPalette(ReadFileBytes(path), palette);
}

// The bytes go to a temporary file beside `path` first, which then takes its place.
static bool ReplaceFileWith(const char* path, const uint8_t* bytes, DWORD size)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    std::string temporary;
    if (!WriteTemporaryFile(path, bytes, size, &temporary))
        return false;
    // Refused while another handle holds the old file open without sharing,
    // or while it is read-only; the old file then stays as it was.
    if (!PutInPlace(temporary, path, attributes))
        return FailKeepingReason([&] { DeleteFileA(temporary.c_str()); });
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
    HANDLE file = OpenForReading(path);
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
    if (dialog != nullptr && dialog(&record)) {
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
                            SystemLibraryFunction<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA"));
}

bool ChoosePaletteToSave(HWND owner, const PaletteDialogTexts& texts, char* path, size_t size, PaletteFormat& format,
                         bool* extended)
{
    DWORD filter = 1;
    if (!RunPaletteDialog(owner, texts, path, size, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, 
                          SystemLibraryFunction<decltype(&GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA"),
                          &filter))
        return false;
    // Filter 1 is the .tbp; filter n the format n - 1 of PaletteFormat.
    format = filter >= 1 && filter <= kPaletteFormatCount ? static_cast<PaletteFormat>(filter - 1) : PaletteFormat::Tbp;
    const size_t chosen = strnlen(path, size);
    const bool fits = EnsurePaletteExtension(path, size, PaletteFormatExtension(format));
    *extended = strnlen(path, size) != chosen;
    return fits;
}
