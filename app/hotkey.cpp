#include "app/hotkey.h"

#include <commctrl.h>

#include "app/app.h"
#include "capture/capture.h"
#include "res/resource.h"
#include "view/layout.h"
#include "view/strings.h"

HotkeySetting g_hotkey = kDefaultHotkey;
HotkeyChord g_pickHotkey;

namespace {

const HotkeyChord kFallback = {MOD_WIN | MOD_ALT, 'C'};

HotkeyChord ChosenChord()
{
    return HotkeyChord{static_cast<UINT>(g_hotkey.Modifiers), static_cast<UINT>(g_hotkey.Key)};
}

bool IsDefault(HotkeyChord c)
{
    return c.modifiers == static_cast<UINT>(kDefaultHotkey.Modifiers) && c.key == static_cast<UINT>(kDefaultHotkey.Key);
}

// Held down, a chord is not repeated where the platform honours MOD_NOREPEAT.
bool TryRegister(HWND window, HotkeyChord c)
{
    if (c.key == 0 || !RegisterHotKey(window, kPickHotkeyId, c.modifiers | MOD_NOREPEAT, c.key))
        return false;
    g_pickHotkey = c;
    return true;
}

// ---- The dialog ----

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// With "no hotkey" ticked, the chord cannot be edited.
void FollowOffBox(HWND dialog)
{
    const BOOL on = !Checked(dialog, IDC_HOTKEY_OFF);
    EnableWindow(GetDlgItem(dialog, IDC_HOTKEY_KEY), on);
    EnableWindow(GetDlgItem(dialog, IDC_HOTKEY_WIN), on);
}

// The chord in effect, else the one chosen, else the default.
BOOL OnInitDialog(HWND dialog)
{
    HotkeyChord shown = g_pickHotkey.key != 0 ? g_pickHotkey : ChosenChord();
    if (shown.key == 0)
        shown = HotkeyChord{static_cast<UINT>(kDefaultHotkey.Modifiers), static_cast<UINT>(kDefaultHotkey.Key)};
    SendDlgItemMessageA(dialog, IDC_HOTKEY_KEY, HKM_SETHOTKEY,
                        MAKEWORD(static_cast<BYTE>(shown.key), HotkeyControlFlags(shown.modifiers)), 0);
    CheckDlgButton(dialog, IDC_HOTKEY_WIN, (shown.modifiers & MOD_WIN) != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_HOTKEY_OFF, g_hotkey.Key == 0 ? BST_CHECKED : BST_UNCHECKED);
    FollowOffBox(dialog);
    return TRUE;
}

// What the dialog says: no key, or the control's chord with "Win +".
HotkeyChord DialogChord(HWND dialog)
{
    if (Checked(dialog, IDC_HOTKEY_OFF))
        return HotkeyChord{0, 0};
    const WORD hotkey = static_cast<WORD>(SendDlgItemMessageA(dialog, IDC_HOTKEY_KEY, HKM_GETHOTKEY, 0, 0));
    if (LOBYTE(hotkey) == 0)
        return HotkeyChord{0, 0};
    return HotkeyChord{ModifiersOfControl(HIBYTE(hotkey), Checked(dialog, IDC_HOTKEY_WIN)), LOBYTE(hotkey)};
}

void Complain(HWND dialog, UINT text)
{
    MessageBoxA(dialog, UiText(text), UiText(IDS_APP_TITLE), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog, IDC_HOTKEY_KEY));
}

// OK: the new chord registered in place of the old one, or the dialog stays
// with the old one still registered.
void ApplyDialog(HWND dialog)
{
    const HotkeyChord chosen = DialogChord(dialog);
    if (chosen.key != 0 && chosen.modifiers == 0)
        return Complain(dialog, IDS_HOTKEY_BARE);
    HWND window = GetWindow(dialog, GW_OWNER);
    UnregisterPickHotkey(window);
    if (chosen.key != 0 && !TryRegister(window, chosen)) {
        RegisterPickHotkey(window);
        return Complain(dialog, IDS_HOTKEY_TAKEN);
    }
    g_hotkey.Modifiers = static_cast<int32_t>(chosen.modifiers);
    g_hotkey.Key = static_cast<int32_t>(chosen.key);
    EndDialog(dialog, IDOK);
}

BOOL OnDialogCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_HOTKEY_OFF: FollowOffBox(dialog); return TRUE;
    case IDOK: ApplyDialog(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK HotkeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnDialogCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}

}  // namespace

bool RegisterPickHotkey(HWND window)
{
    g_pickHotkey = HotkeyChord{0, 0};
    const HotkeyChord chosen = ChosenChord();
    return TryRegister(window, chosen) || (IsDefault(chosen) && TryRegister(window, kFallback));
}

void UnregisterPickHotkey(HWND window)
{
    if (g_pickHotkey.key != 0)
        UnregisterHotKey(window, kPickHotkeyId);
    g_pickHotkey = HotkeyChord{0, 0};
}

void StartPickHotkey(HWND window)
{
    if (RegisterPickHotkey(window) || g_hotkey.Key == 0 || g_hotkey.Notified != 0)
        return;
    g_hotkey.Notified = 1;
    MessageBoxA(window, UiText(IDS_HOTKEY_NONE), UiText(IDS_APP_TITLE), MB_OK | MB_ICONINFORMATION);
}

void OnHotKey(HWND window, int id, UINT, UINT)
{
    // Wine sends a held chord again and again, MOD_NOREPEAT or not.
    if (id != kPickHotkeyId || g_window.captureActive || !IsWindowEnabled(window))
        return;
    StartCapture(window, g_instance, CaptureStart::FromHotkey);
}

void ShowHotkeyDialog(HWND window)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    const auto* dialog = static_cast<LPCDLGTEMPLATEA>(UiResourceData(RT_DIALOG, IDD_HOTKEY));
    DialogBoxIndirectParamA(g_instance, dialog, window, HotkeyDialogProc, 0);
}

BYTE HotkeyControlFlags(UINT modifiers)
{
    return static_cast<BYTE>(((modifiers & MOD_SHIFT) != 0 ? HOTKEYF_SHIFT : 0) |
                             ((modifiers & MOD_CONTROL) != 0 ? HOTKEYF_CONTROL : 0) |
                             ((modifiers & MOD_ALT) != 0 ? HOTKEYF_ALT : 0));
}

UINT ModifiersOfControl(BYTE flags, bool win)
{
    return ((flags & HOTKEYF_SHIFT) != 0 ? MOD_SHIFT : 0u) | ((flags & HOTKEYF_CONTROL) != 0 ? MOD_CONTROL : 0u) |
           ((flags & HOTKEYF_ALT) != 0 ? MOD_ALT : 0u) | (win ? MOD_WIN : 0u);
}
