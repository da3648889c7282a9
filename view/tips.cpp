#include "view/tips.h"

#include <commctrl.h>
#include <windowsx.h>

#include <initializer_list>

#include "color/color_text.h"
#include "color/contrast.h"
#include "color/palette.h"
#include "res/resource.h"
#include "view/common_controls.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/mouse.h"
#include "view/strings.h"

namespace {

// A text of the string table with each "%s" replaced by the next of `values`
// in turn; any other "%" stays as it is.
std::string Fill(UINT pattern, std::initializer_list<const char*> values)
{
    const std::string text = UiText(pattern);
    std::string out;
    auto next = values.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Ratio(int32_t hundredths)
{
    char text[kContrastTextSize];
    FormatContrastRatio(hundredths, text, sizeof text);
    return text;
}

const char* Verdict(bool pass) { return UiText(pass ? IDS_CONTRAST_PASS : IDS_CONTRAST_FAIL); }

// Tool `id` of the main window with `text` (LPSTR_TEXTCALLBACKA: asked for when needed).
TOOLINFOA Tool(HWND window, UINT_PTR id, char* text)
{
    TOOLINFOA tool;
    ZeroMemory(&tool, sizeof tool);
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // the size every comctl32 takes
    tool.uFlags = 0;  // the window hands the control its mouse messages (RelayMouseToTips)
    tool.hwnd = window;
    tool.uId = id;
    tool.lpszText = text;
    return tool;
}

void AddTool(HWND tips, HWND window, UINT_PTR id, const RECT& rect, char* text)
{
    TOOLINFOA tool = Tool(window, id, text);
    tool.rect = rect;
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// A new text for a tool; a tip that shows it is shown again.
void UpdateToolText(UINT_PTR id, char* text)
{
    TOOLINFOA tool = Tool(GetWindow(g_window.tips, GW_OWNER), id, text);
    SendMessageA(g_window.tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CreateTips(HWND window)
{
    InitCommonControlClasses(ICC_BAR_CLASSES);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance,
                                nullptr);
    g_window.tips = tips;
    if (tips == nullptr)
        return;
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(20000, 0));
    char empty[] = "";
    AddTool(tips, window, kSwatchTool, Geo().swatch, empty);
    for (int cell = 0; cell < kPaletteEntries; ++cell)
        AddTool(tips, window, kFirstCellTool + static_cast<UINT_PTR>(cell), PaletteCellRect(cell),
                LPSTR_TEXTCALLBACKA);
    PlaceTips(window);
    UpdateContrastTip();
}

}  // namespace

void CreateTipsAtFirstMove(HWND window)
{
    // Tried once: a system without the control would otherwise pay for it at every move.
    if (g_window.tipsTried)
        return;
    g_window.tipsTried = true;
    CreateTips(window);
}

void RelayMouseToTips(HWND window, UINT message, int x, int y, UINT keyFlags)
{
    // A drag with the left button moves the pickers under the pointer, where
    // no tip is wanted: the control, which takes a good part of a move's time
    // under some systems, does not see those moves at all.
    if (g_window.tips == nullptr || (message == WM_MOUSEMOVE && (keyFlags & MK_LBUTTON)))
        return;
    const DWORD at = GetMessagePos();
    MSG relayed = {window, message, keyFlags, MAKELPARAM(x, y), static_cast<DWORD>(GetMessageTime()),
                   {GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
    SendMessageA(g_window.tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void PlaceTips(HWND window)
{
    if (g_window.tips == nullptr)
        return;
    // Lines break where the text says; the contrast has four to read.
    SendMessageA(g_window.tips, TTM_SETMAXTIPWIDTH, 0, Geo().tipWidth);
    const auto place = [window](UINT_PTR id, const RECT& rect) {
        TOOLINFOA tool = Tool(window, id, nullptr);
        tool.rect = rect;
        SendMessageA(g_window.tips, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    };
    place(kSwatchTool, Geo().swatch);
    for (int cell = 0; cell < kPaletteEntries; ++cell)
        place(kFirstCellTool + static_cast<UINT_PTR>(cell), PaletteCellRect(cell));
}

std::string ContrastTipText(Rgb current, Rgb reference)
{
    const ContrastReport r = ReportContrast(current, reference);
    const ContrastVerdicts& v = r.verdicts;
    return Fill(IDS_CONTRAST_REFERENCE, {Ratio(r.againstReference).c_str()}) + "\r\n" +
           Fill(IDS_CONTRAST_NORMAL, {Verdict(v.normalAA), Verdict(v.normalAAA)}) + "\r\n" +
           Fill(IDS_CONTRAST_LARGE, {Verdict(v.largeAA), Verdict(v.largeAAA)}) + "\r\n" +
           Fill(IDS_CONTRAST_WHITE_BLACK, {Ratio(r.againstWhite).c_str(), Ratio(r.againstBlack).c_str()});
}

void UpdateContrastTip()
{
    if (g_window.tips == nullptr)
        return;
    const Rgb current = {g_current.red, g_current.green, g_current.blue};
    const Rgb reference = {g_reference.red, g_reference.green, g_reference.blue};
    std::string text = ContrastTipText(current, reference);
    UpdateToolText(kSwatchTool, &text[0]);
}

std::string SwatchTipText(int cell)
{
    char color[kCopyTextSize];
    FormatColorRefText(Palette[cell], color, sizeof color);
    return Fill(IDS_SWATCH_TIP, {color, std::to_string(cell + 1).c_str()});
}

void RefreshShownTip()
{
    if (g_window.tips == nullptr)
        return;
    TOOLINFOA shown = Tool(nullptr, 0, nullptr);
    if (SendMessageA(g_window.tips, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&shown)) && shown.uId != kSwatchTool)
        UpdateToolText(shown.uId, LPSTR_TEXTCALLBACKA);
}

LRESULT OnNotify(HWND, int, NMHDR* header)
{
    if (header->hwndFrom != g_window.tips || header->code != TTN_GETDISPINFOA)
        return 0;
    const UINT_PTR cell = header->idFrom - kFirstCellTool;
    if (header->idFrom < kFirstCellTool || cell >= static_cast<UINT_PTR>(kPaletteEntries))
        return 0;
    // Kept until the tip asks again.
    static char text[80];
    lstrcpynA(text, SwatchTipText(static_cast<int>(cell)).c_str(), sizeof text);
    reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = text;
    return 0;
}
