// The version dialog: the product name and version in bold, and a close button.
#include <memory>

#include "app/commands.h"
#include "res/resource.h"
#include "view/gdi.h"
#include "view/strings.h"

namespace {

// The bold font of the version text; it lives exactly as long as the dialog.
std::unique_ptr<ScopedFont> g_boldFont;

BOOL OnInitDialog(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_VERSIONTEXT, UiText(IDS_VERSION));
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    g_boldFont = std::make_unique<ScopedFont>(CreateFontIndirectA(&font));
    SendMessageA(GetDlgItem(dialog, IDC_VERSIONTEXT), WM_SETFONT, reinterpret_cast<WPARAM>(g_boldFont->get()),
                 FALSE);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;  // the focus is set
}

// The close button and Enter arrive as IDOK, Esc and the caption's close box as IDCANCEL.
BOOL OnDialogCommand(HWND dialog, int id)
{
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    EndDialog(dialog, 0);
    return TRUE;
}

// The last message of the dialog, after its controls are gone: the font can go too.
BOOL OnNcDestroy()
{
    g_boldFont.reset();
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnDialogCommand(dialog, LOWORD(wParam));
    case WM_NCDESTROY: return OnNcDestroy();
    default: return FALSE;
    }
}
