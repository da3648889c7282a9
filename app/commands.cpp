#include "app/commands.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/hotkey.h"
#include "app/palette_commands.h"
#include "app/transforms.h"
#include "capture/capture.h"
#include "color/color.h"
#include "color/color_text.h"
#include "color/edit_number.h"
#include "res/resource.h"
#include "store/files.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/strings.h"

const char kMakerHomePage[] = "https://quillmark.example/tintbox/";

namespace {

// ---- Typing into the nine color edits ----

enum class EditKind {
    Decimal,  // R10, G10, B10: a channel as a number
    Hex,      // R16, G16, B16: a channel's hex text
    Hsv,      // H, S, V
};

// One color edit: what it shows and what typing into it changes. The table is
// in edit-table order, so a row's position is the focus index it sets.
struct ColorEdit {
    int id;
    EditKind kind;
    int32_t ColorState::*number;  // the channel, hue, saturation or value
    char (ColorState::*hex)[3];   // the channel's hex text; null for H, S, V
    int32_t highest;              // a typed number above it counts as it
    EditSet follow;               // the edits rewritten after typing into it
};

// A channel's other edit (R10 <-> R16) and H, S, V follow a channel; the six
// channel edits follow H, S or V.
const ColorEdit kColorEdits[kColorEditCount] = {
    {ID_R10, EditKind::Decimal, &ColorState::red, &ColorState::redHex, 255, EditBit(3) | kHsvColorEdits},
    {ID_G10, EditKind::Decimal, &ColorState::green, &ColorState::greenHex, 255, EditBit(4) | kHsvColorEdits},
    {ID_B10, EditKind::Decimal, &ColorState::blue, &ColorState::blueHex, 255, EditBit(5) | kHsvColorEdits},
    {ID_R16, EditKind::Hex, &ColorState::red, &ColorState::redHex, 255, EditBit(0) | kHsvColorEdits},
    {ID_G16, EditKind::Hex, &ColorState::green, &ColorState::greenHex, 255, EditBit(1) | kHsvColorEdits},
    {ID_B16, EditKind::Hex, &ColorState::blue, &ColorState::blueHex, 255, EditBit(2) | kHsvColorEdits},
    {ID_H, EditKind::Hsv, &ColorState::hue, nullptr, 359, kRgbColorEdits},
    {ID_S, EditKind::Hsv, &ColorState::saturation, nullptr, 100, kRgbColorEdits},
    {ID_V, EditKind::Hsv, &ColorState::value, nullptr, 100, kRgbColorEdits},
};

// Position of a color edit in the table, or -1.
int ColorEditPosition(int id)
{
    for (int i = 0; i < kColorEditCount; ++i)
        if (kColorEdits[i].id == id)
            return i;
    return -1;
}

// The edit's number (leading digits; 0 without any, a sign first included),
// limited to 0..highest. The edit keeps showing what was typed. The reading is
// our own rather than GetDlgItemInt's, which on some systems takes a sign or a
// tab before the digits.
int32_t ReadLimitedNumber(HWND window, const ColorEdit& edit)
{
    char text[256] = {};
    GetDlgItemTextA(window, edit.id, text, sizeof text);
    const int32_t typed = ReadEditNumber(text);
    if (typed < 0)
        return 0;
    return typed > edit.highest ? edit.highest : typed;
}

void TakeDecimalChannel(HWND window, const ColorEdit& edit)
{
    int32_t& channel = g_current.*edit.number;
    channel = ReadLimitedNumber(window, edit);
    FormatHex(channel, g_current.*edit.hex, sizeof(g_current.*edit.hex));
    RgbToHsv();
}

void TakeHexChannel(HWND window, const ColorEdit& edit)
{
    char* hex = g_current.*edit.hex;
    // The text is kept exactly as typed, case and length included.
    ZeroMemory(hex, sizeof(g_current.*edit.hex));
    GetDlgItemTextA(window, edit.id, hex, static_cast<int>(sizeof(g_current.*edit.hex)));
    g_current.*edit.number = ParseHex(hex);
    RgbToHsv();
}

void TakeHsvField(HWND window, const ColorEdit& edit)
{
    g_current.*edit.number = ReadLimitedNumber(window, edit);
    // Hue, saturation and value stay as typed; they are not derived again.
    CompleteFromHsv();
}

// A keystroke changed one of the nine edits: the color follows it and is
// committed and shown, and the edits that follow it are rewritten; the one
// typed into keeps its text.
void TakeTypedEdit(HWND window, int id)
{
    const int position = ColorEditPosition(id);
    if (position < 0)
        return;
    const ColorEdit& edit = kColorEdits[position];
    g_window.changeGuard = 0;
    g_window.focusIndex = position;
    switch (edit.kind) {
    case EditKind::Decimal: TakeDecimalChannel(window, edit); break;
    case EditKind::Hex: TakeHexChannel(window, edit); break;
    case EditKind::Hsv: TakeHsvField(window, edit); break;
    }
    g_window.changeGuard = 1;
    CommitCurrentColor(window, edit.follow);
}

// ---- Focus ----

void FocusColorEdit(int index)
{
    g_window.focusIndex = index;
    SetFocus(g_window.editTable[index]);
    SendMessageA(g_window.editTable[index], EM_SETSEL, 0, -1);
}

void FocusNextEdit()
{
    FocusColorEdit(g_window.focusIndex + 1 > kColorEditCount - 1 ? 0 : g_window.focusIndex + 1);
}

void FocusPreviousEdit()
{
    FocusColorEdit(g_window.focusIndex - 1 < 0 ? kColorEditCount - 1 : g_window.focusIndex - 1);
}

// ---- Text form and clipboard ----

void SetCopyFormat(int32_t format)
{
    g_textForm.CopyFormat = format;
    UpdateCopyText();
}

void ToggleSharpPrefix()
{
    g_textForm.SharpPrefix = g_textForm.SharpPrefix == 0 ? 1 : 0;
    UpdateCopyText();
}

// The hex texts in the new case. The guard stays raised, so each write is
// taken as typing into its hex edit: hue, saturation and value are derived
// again from the channels and the focus index ends at B16.
void SetHexCase(HWND window, int32_t hexCase)
{
    g_textForm.HexCase = hexCase;
    FormatHexTexts();
    SetDlgItemTextA(window, ID_R16, g_current.redHex);
    SetDlgItemTextA(window, ID_G16, g_current.greenHex);
    SetDlgItemTextA(window, ID_B16, g_current.blueHex);
    UpdateCopyText();
}

// ---- Elsewhere ----

// A document or address, handed to the shell's default verb.
void OpenWithShell(const char* target)
{
    ShellExecuteA(nullptr, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowAboutDialog(HWND window)
{
    // The template in the interface language.
    const auto* dialog = static_cast<LPCDLGTEMPLATEA>(UiResourceData(RT_DIALOG, IDD_ABOUT));
    DialogBoxIndirectParamA(g_instance, dialog, window, AboutDialogProc, 0);
}

// Menu items, accelerators and the two buttons; any other ID does nothing.
void RunCommand(HWND window, int id)
{
    switch (id) {
    case ID_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case ID_HSVMODE: SwitchDisplayMode(window, 0); break;
    case ID_RGBMODE: SwitchDisplayMode(window, 1); break;
    case ID_NEXTEDIT: FocusNextEdit(); break;
    case ID_PREVEDIT: FocusPreviousEdit(); break;
    case ID_COPY: CopyColorText(); break;
    case ID_HTMLFORMAT: SetCopyFormat(0); break;
    case ID_RGBFORMAT: SetCopyFormat(1); break;
    case ID_DWORDFORMAT: SetCopyFormat(2); break;
    case ID_CSSRGBFORMAT: SetCopyFormat(3); break;
    case ID_CSSHSLFORMAT: SetCopyFormat(4); break;
    case ID_PALETTEINIT: InitialisePalette(window); break;
    case ID_LIGHTER: MakeLighter(); break;
    case ID_DARKER: MakeDarker(); break;
    case ID_GRAYSCALE: ConvertToGrayscale(); break;
    case ID_WEBSITE: OpenWithShell(kMakerHomePage); break;
    case ID_ABOUT: ShowAboutDialog(window); break;
    case ID_HELP: OpenWithShell(ProgramFilePath(UiText(IDS_HELP_FILE)).c_str()); break;
    case ID_OPENPALETTE: OpenPalette(window); break;
    case ID_SAVEPALETTE: SavePalette(window); break;
    case ID_INVERT: InvertColor(); break;
    case ID_UPPERCASE: SetHexCase(window, 1); break;
    case ID_LOWERCASE: SetHexCase(window, 0); break;
    case ID_CAPTURE: StartCapture(window, g_instance); break;
    case ID_COLORDIALOG: ChooseWithColorDialog(); break;
    case ID_CANCELCAPTURE: CancelCapture(); break;
    case ID_WEBSAFE: SnapToWebSafe(); break;
    case ID_SHARP: ToggleSharpPrefix(); break;
    case ID_HOTKEYDIALOG: ShowHotkeyDialog(window); break;
    default: break;
    }
}

// The menu ID of each CopyFormat, in order.
const UINT kCopyFormatItems[kCopyFormatCount] = {ID_HTMLFORMAT, ID_RGBFORMAT, ID_DWORDFORMAT, ID_CSSRGBFORMAT,
                                                 ID_CSSHSLFORMAT};

// The copy format's radio mark. The items' IDs do not run in one range, so
// each is marked on its own; a format outside the five leaves the marks as they were.
void MarkCopyFormat(HMENU menu, int32_t format)
{
    if (format < 0 || format >= kCopyFormatCount)
        return;
    for (UINT item : kCopyFormatItems)
        CheckMenuItem(menu, item, MF_BYCOMMAND | MF_UNCHECKED);
    const UINT chosen = kCopyFormatItems[format];
    CheckMenuRadioItem(menu, chosen, chosen, chosen, MF_BYCOMMAND);
}

}  // namespace

void OnCommand(HWND window, int id, HWND, UINT code)
{
    // EDITCOPY's text is set by the program, never typed.
    if (code == EN_CHANGE && g_window.changeGuard == 1 && id != ID_EDITCOPY)
        TakeTypedEdit(window, id);
    RunCommand(window, id);
}

void OnInitMenuPopup(HWND, HMENU menu, UINT, BOOL)
{
    CheckMenuRadioItem(menu, ID_HSVMODE, ID_RGBMODE, g_displayMode != 0 ? ID_RGBMODE : ID_HSVMODE, MF_BYCOMMAND);
    const TextForm& form = g_textForm;
    MarkCopyFormat(menu, form.CopyFormat);
    CheckMenuRadioItem(menu, ID_UPPERCASE, ID_LOWERCASE, form.HexCase != 0 ? ID_UPPERCASE : ID_LOWERCASE,
                       MF_BYCOMMAND);
    CheckMenuItem(menu, ID_SHARP, form.SharpPrefix != 0 ? MF_BYCOMMAND | MF_CHECKED : MF_BYCOMMAND | MF_UNCHECKED);
}
