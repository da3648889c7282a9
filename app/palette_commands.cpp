#include "app/palette_commands.h"

#include <shellapi.h>

#include <cstring>
#include <initializer_list>

#include "app/app.h"
#include "color/palette.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_file.h"
#include "view/paint.h"
#include "view/strings.h"

namespace {

bool ConfirmPaletteReplace(HWND window, UINT caption)
{
    return MessageBoxA(window, UiText(IDS_REPLACE_PALETTE), UiText(caption), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The filter lists of the string tables `ids` one after the other, closed by
// one more NUL (the one c_str() adds).
std::string DialogFilters(std::initializer_list<UINT> ids)
{
    std::string filters;
    for (UINT id : ids) {
        // Each list is display text and pattern, NUL after each, up to an empty text.
        const char* list = UiText(id);
        const char* end = list;
        while (*end != '\0')
            end += std::strlen(end) + 1;
        filters.append(list, end);
    }
    return filters;
}

// The text of string `id` with its "%u" filled in by `first` and `second`.
std::string Formatted(UINT id, size_t first, size_t second = 0)
{
    char text[1024];
    wsprintfA(text, UiText(id), static_cast<unsigned>(first), static_cast<unsigned>(second));
    return text;
}

// The text that says what is wrong with a file.
UINT FaultText(PaletteError error)
{
    switch (error) {
    case PaletteError::NotThisFormat: return IDS_FILE_NOT_THIS_FORMAT;
    case PaletteError::Truncated: return IDS_FILE_TRUNCATED;
    case PaletteError::TooLarge: return IDS_FILE_TOO_LARGE;
    case PaletteError::OutOfRange: return IDS_FILE_OUT_OF_RANGE;
    case PaletteError::Malformed: return IDS_FILE_MALFORMED;
    case PaletteError::Unsupported: return IDS_FILE_UNSUPPORTED;
    case PaletteError::NoColors:
    case PaletteError::None: break;
    }
    return IDS_FILE_NO_COLORS;
}

void SetPaletteFilePath(const std::string& path)
{
    ZeroMemory(g_paletteFile, sizeof g_paletteFile);
    path.copy(g_paletteFile, sizeof g_paletteFile - 1);
}

}  // namespace

int ShowFileMessage(HWND window, const char* path, const std::string& text, UINT caption, UINT style)
{
    const std::string message = std::string(path) + "\n\n" + text;
    return MessageBoxA(window, message.c_str(), UiText(caption), style);
}

// Reads a palette file the user chose into the palette and shows it; a fault
// in the file, or colours past the 128th, are told in a message naming it.
// Returns whether the file was read (false: the palette is as it was).
static bool OpenPaletteFile(HWND window, const char* path)
{
    const PaletteOpening opening = OpenUserPaletteFile(path, Palette);
    RedrawPalette();
    if (opening.error != PaletteError::None)
        ShowFileMessage(window, path,
                        std::string(UiText(FaultText(opening.error))) + "\n" + UiText(IDS_PALETTE_UNCHANGED),
                        IDS_OPEN_PALETTE, MB_OK | MB_ICONEXCLAMATION);
    else if (opening.leftOut > 0)
        ShowFileMessage(window, path, Formatted(IDS_COLORS_LEFT_OUT, opening.total, opening.leftOut),
                        IDS_OPEN_PALETTE, MB_OK | MB_ICONINFORMATION);
    return opening.opened && opening.error == PaletteError::None;
}

// Opens the file at `path` as the palette file; one that cannot be read leaves
// the palette file path as it was, as it leaves the palette.
static void OpenAsPaletteFile(HWND window, const std::string& path)
{
    const std::string before = g_paletteFile;
    SetPaletteFilePath(path);
    if (!OpenPaletteFile(window, g_paletteFile))
        SetPaletteFilePath(before);
}

void InitialisePalette(HWND window)
{
    if (!ConfirmPaletteReplace(window, IDS_RESET_PALETTE))
        return;
    ReadPaletteFile(ProgramFilePath("palini.dll").c_str(), Palette);
    RedrawPalette();
}

void OpenPalette(HWND window)
{
    if (!ConfirmPaletteReplace(window, IDS_OPEN_PALETTE))
        return;
    const std::string filters = DialogFilters({IDS_PALETTE_FILTER, IDS_FORMAT_FILTERS, IDS_ALL_PALETTES_FILTER});
    char chosen[sizeof g_paletteFile];
    std::memcpy(chosen, g_paletteFile, sizeof chosen);
    if (ChoosePaletteToOpen(window, {UiText(IDS_OPEN_PALETTE), filters.c_str()}, chosen, sizeof chosen))
        OpenAsPaletteFile(window, chosen);
}

void SavePalette(HWND window)
{
    const std::string filters = DialogFilters({IDS_PALETTE_FILTER, IDS_FORMAT_FILTERS});
    PaletteFormat format = PaletteFormat::Tbp;
    if (ChoosePaletteToSave(window, {UiText(IDS_SAVE_PALETTE), filters.c_str()}, g_paletteFile, sizeof g_paletteFile,
                            format))
        WriteUserPaletteFile(g_paletteFile, format, Palette);
}

void OnDropFiles(HWND window, HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    // A path the palette file path cannot keep, with room for an extension, is not taken.
    const UINT length = count > 0 ? DragQueryFileA(drop, 0, nullptr, 0) : 0;
    std::string path(length, '\0');
    if (length > 0 && length + 5 <= sizeof g_paletteFile)
        DragQueryFileA(drop, 0, &path[0], length + 1);
    else
        path.clear();
    DragFinish(drop);
    if (path.empty() || !ConfirmPaletteReplace(window, IDS_OPEN_PALETTE))
        return;
    if (count > 1)
        ShowFileMessage(window, path.c_str(), Formatted(IDS_FIRST_DROPPED, count), IDS_OPEN_PALETTE,
                        MB_OK | MB_ICONINFORMATION);
    OpenAsPaletteFile(window, path);
}
