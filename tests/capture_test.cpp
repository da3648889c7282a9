// The screen capture with the real main window in this process: a window of
// known colors covers the screen, the overlay is opened over it, and what the
// overlay and its magnifier show, and what a click picks, are checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "capture/capture.h"
#include "color/color.h"
#include "res/resource.h"
#include "store/files.h"
#include "color/color_text.h"
#include "tests/program_loop.h"
#include "tests/test_folder.h"
#include "view/gdi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/surfaces.h"

namespace {

// ---- The known picture: every pixel of the screen a color of its own, none black ----

COLORREF PatternAt(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x80 | (x >> 8) | ((y >> 8) << 4));
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// A picture as top-down 0x00RRGGBB pixels, the layout of a 32-bit DIB section.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    COLORREF At(int x, int y) const
    {
        const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

uint32_t DibPixel(COLORREF c)
{
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
           static_cast<uint32_t>(GetBValue(c));
}

// A memory DC with a top-down 32-bit DIB section of its own.
class Canvas {
public:
    Canvas(int width, int height) : screen_(nullptr), dc_(screen_.get()), bitmap_(nullptr), width_(width), height_(height)
    {
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(screen_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        previous_ = SelectObject(dc_.get(), bitmap_);
    }
    ~Canvas()
    {
        SelectObject(dc_.get(), previous_);
        DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_.get(); }
    void Set(int x, int y, COLORREF c)
    {
        if (bits_ != nullptr)
            bits_[y * width_ + x] = DibPixel(c);
    }
    // Empty when the bitmap could not be made.
    Image Take() const
    {
        GdiFlush();
        Image image;
        if (bits_ == nullptr)
            return image;
        image.width = width_;
        image.height = height_;
        image.pixels.assign(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_));
        return image;
    }

private:
    WindowDcGuard screen_;
    MemoryDcGuard dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t* bits_ = nullptr;
    int width_;
    int height_;
};

// What `dc` shows in the rectangle at (x, y) of width × height.
Image Grab(HDC dc, int x, int y, int width, int height)
{
    Canvas canvas(width, height);
    BitBlt(canvas.dc(), 0, 0, width, height, dc, x, y, SRCCOPY);
    return canvas.Take();
}

Image GrabOverlay(int x, int y, int width, int height)
{
    WindowDcGuard dc(g_window.captureWindow);
    return Grab(dc.get(), x, y, width, height);
}

// The known picture in the rectangle at (x, y).
Image PatternImage(int x, int y, int width, int height)
{
    Canvas canvas(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            canvas.Set(column, row, PatternAt(x + column, y + row));
    return canvas.Take();
}

std::string Hex(COLORREF c)
{
    char text[16];
    wsprintfA(text, "%06X", static_cast<unsigned>(c));
    return text;
}

// Empty when the two agree outside `ignored`; else how many pixels differ and the first of them.
std::string Difference(const Image& actual, const Image& expected, const RECT& ignored = RECT{0, 0, 0, 0})
{
    if (actual.pixels.empty() || expected.pixels.empty())
        return "no picture to compare";
    if (actual.width != expected.width || actual.height != expected.height)
        return "sizes differ";
    int count = 0;
    std::ostringstream first;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const POINT p = {x, y};
            if (actual.At(x, y) == expected.At(x, y) || PtInRect(&ignored, p))
                continue;
            if (count++ == 0)
                first << "first at (" << x << ", " << y << "): " << Hex(actual.At(x, y)) << " instead of "
                      << Hex(expected.At(x, y));
        }
    }
    if (count == 0)
        return "";
    std::ostringstream text;
    text << count << " pixels differ, " << first.str();
    return text.str();
}

// ---- The panel as it must look, drawn here from first principles ----

struct PanelTexts {
    const char* decimal[3];  // red, green, blue
    const char* hex[3];
};

// A line from `from` towards `to`, without the end point.
void Segment(Canvas& canvas, POINT from, POINT to, COLORREF color)
{
    const int dx = (to.x > from.x) - (to.x < from.x);
    const int dy = (to.y > from.y) - (to.y < from.y);
    for (POINT p = from; p.x != to.x || p.y != to.y; p.x += dx, p.y += dy)
        canvas.Set(p.x, p.y, color);
}

void Fill(Canvas& canvas, int left, int top, int right, int bottom, COLORREF color)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            canvas.Set(x, y, color);
}

void Text(HDC dc, int x, int y, COLORREF color, const char* text)
{
    SetTextColor(dc, color);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// A pixel in the middle of the magnifier's sample square.
POINT SampleMiddle()
{
    const RECT& sq = Geo().sampleSquare;
    return {(sq.left + sq.right) / 2, (sq.top + sq.bottom) / 2};
}

// The panel for the pointer at (x, y) over the known picture on a screen of
// `width` × `height`, `cells` across: cells off the screen black.
Image ExpectedPanel(int x, int y, int width, int height, const PanelTexts& texts, int cells = kMagnifierCells)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    const Geometry& g = Geo();
    Canvas canvas(g.panel.cx, g.panel.cy);
    Fill(canvas, 0, 0, g.panel.cx, g.panel.cy, face);
    const int cell = Width(g.magnifierGrid) / cells;
    const POINT grid = TopLeft(g.magnifierGrid);
    const int middle = cells / 2;
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const int px = x - middle + j;
            const int py = y - middle + i;
            const bool on = px >= 0 && py >= 0 && px < width && py < height;
            Fill(canvas, grid.x + cell * j, grid.y + cell * i, grid.x + cell * (j + 1), grid.y + cell * (i + 1),
                 on ? PatternAt(px, py) : 0);
        }
    }
    {
        SelectGuard font(canvas.dc(), g_window.uiFont);
        SetBkMode(canvas.dc(), TRANSPARENT);
        const char* const labels[3] = {"Red\x81\x46", "Green\x81\x46", "Blue\x81\x46"};  // "Red：" …
        for (int k = 0; k < 3; ++k) {
            const int row = g.channelRowY[k];
            Text(canvas.dc(), g.channelLabelX + 1, row + 1, light, labels[k]);
            Text(canvas.dc(), g.channelLabelX, row, ink, labels[k]);
            Text(canvas.dc(), g.channelDecimalX, row, ink, texts.decimal[k]);
            Text(canvas.dc(), g.channelHexX, row, ink, texts.hex[k]);
        }
        // "※ESC・右クリックで中止"
        Text(canvas.dc(), g.hint.x, g.hint.y, dark,
             "\x81\xA6"
             "ESC"
             "\x81\x45\x89\x45\x83\x4E\x83\x8A\x83\x62\x83\x4E\x82\xC5\x92\x86\x8E\x7E");
        // "※矢印キーで移動・Enterで取得"
        Text(canvas.dc(), g.keysHint.x, g.keysHint.y, dark,
             "\x81\xA6\x96\xEE\x88\xF3\x83\x4C\x81\x5B\x82\xC5\x88\xDA\x93\xAE\x81\x45"
             "Enter"
             "\x82\xC5\x8E\xE6\x93\xBE");
    }
    const RECT& sq = g.sampleSquare;
    Fill(canvas, sq.left, sq.top, sq.right, sq.bottom, PatternAt(x, y));
    // The sample square and the grid sunken, the pointer's cell and the panel raised.
    const RECT gridEdge = {grid.x, grid.y, grid.x + cell * cells, grid.y + cell * cells};
    const RECT center = {grid.x + cell * middle, grid.y + cell * middle, grid.x + cell * (middle + 1),
                         grid.y + cell * (middle + 1)};
    const RECT panel = {0, 0, g.panel.cx - 1, g.panel.cy - 1};
    const struct {
        COLORREF color;
        POINT a, b, c;
    } lines[] = {
        {dark, {sq.left, sq.bottom}, {sq.left, sq.top}, {sq.right, sq.top}},
        {light, {sq.right, sq.top}, {sq.right, sq.bottom}, {sq.left, sq.bottom}},
        {light, {center.left, center.bottom}, {center.left, center.top}, {center.right, center.top}},
        {dark, {center.right, center.top}, {center.right, center.bottom}, {center.left, center.bottom}},
        {dark, {gridEdge.left, gridEdge.bottom}, {gridEdge.left, gridEdge.top}, {gridEdge.right, gridEdge.top}},
        {light, {gridEdge.right, gridEdge.top}, {gridEdge.right, gridEdge.bottom}, {gridEdge.left, gridEdge.bottom}},
        {light, {panel.left, panel.bottom}, {panel.left, panel.top}, {panel.right, panel.top}},
        {dark, {panel.right, panel.top}, {panel.right, panel.bottom}, {panel.left, panel.bottom}},
    };
    for (const auto& line : lines) {
        Segment(canvas, line.a, line.b, line.color);
        Segment(canvas, line.b, line.c, line.color);
    }
    return canvas.Take();
}

// ---- The window around the tests ----

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

Image g_patternBits;  // the whole screen's known picture, for painting it

// The whole known picture at (0, 0) of `dc`.
void PutPattern(HDC dc)
{
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = g_patternBits.width;
    info.bmiHeader.biHeight = -g_patternBits.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(g_patternBits.width), static_cast<DWORD>(g_patternBits.height),
                      0, 0, 0, static_cast<UINT>(g_patternBits.height), g_patternBits.pixels.data(), &info,
                      DIB_RGB_COLORS);
}

LRESULT CALLBACK PatternWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    PutPattern(BeginPaint(window, &paint));
    EndPaint(window, &paint);
    return 0;
}

// True once the screen itself shows the known picture at a few points.
bool ScreenShowsPattern()
{
    WindowDcGuard screen(nullptr);
    const POINT probes[] = {{0, 0}, {10, 300}, {700, 5}, {900, 700}, {ScreenWidth() - 1, ScreenHeight() - 1}};
    for (const POINT& p : probes)
        if (GetPixel(screen.get(), p.x, p.y) != PatternAt(p.x, p.y))
            return false;
    return true;
}

// Shows the known picture over the whole screen, above the main window, and
// waits until it has reached the screen.
HWND ShowPatternWindow()
{
    g_patternBits = PatternImage(0, 0, ScreenWidth(), ScreenHeight());
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = PatternWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CapturePattern";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "CapturePattern", "", WS_POPUP | WS_VISIBLE, 0, 0, ScreenWidth(),
                                  ScreenHeight(), nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(window);
    for (int i = 0; i < 200 && !ScreenShowsPattern(); ++i) {
        Pump();
        Sleep(10);
    }
    return window;
}

int CountOverlays()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            char name[32] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::strcmp(name, "Capture") == 0)
                ++*reinterpret_cast<int*>(data);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

std::string EditText(int index)
{
    char text[32] = {};
    GetWindowTextA(g_window.editTable[index], text, sizeof text);
    return text;
}

std::vector<std::string> AllEdits()
{
    std::vector<std::string> texts;
    for (int i = 0; i < kColorEditCount; ++i)
        texts.push_back(EditText(i));
    return texts;
}

COLORREF MainWindowPixel(int x, int y)
{
    WindowDcGuard dc(g_mainWindow);
    return GetPixel(dc.get(), x, y);
}

void SetColor(int r, int g, int b)
{
    TakeColor(g_mainWindow, RGB(r, g, b));
    Pump();
}

// The capture command (F5, the menu item, the button) and the cancel command (Esc).
void CaptureCommand() { SendMessageA(g_mainWindow, WM_COMMAND, MAKEWPARAM(ID_CAPTURE, 0), 0); }
void EscCommand() { SendMessageA(g_mainWindow, WM_COMMAND, MAKEWPARAM(ID_CANCELCAPTURE, 0), 0); }

// The pointer is put where the messages say it is, so that any move the
// system reports on its own agrees with them.
// The screen copy surface is blacked out first (the known picture has no
// black), so that nothing of an earlier screenshot can pass for this one.
void OpenCaptureAt(int x, int y)
{
    PatBlt(g_window.surfaces.screen.dc, 0, 0, g_window.surfaces.screen.width, g_window.surfaces.screen.height, BLACKNESS);
    SetCursorPos(x, y);
    CaptureCommand();
}

// The whole overlay but the panel standing at (panelX, 264) shows the known picture.
std::string ScreenshotBesidePanel(int panelX)
{
    return Difference(GrabOverlay(0, 0, 1024, 768), PatternImage(0, 0, 1024, 768),
                      RECT{panelX, 264, panelX + Geo().panel.cx, 264 + Geo().panel.cy});
}

void MoveTo(int x, int y)
{
    SetCursorPos(x, y);
    SendMessageA(g_window.captureWindow, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void ClickAt(UINT message, int x, int y)
{
    SetCursorPos(x, y);
    SendMessageA(g_window.captureWindow, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, y));
}

// The known picture straight into the screen copy surface, made the screen's
// size (with the magnifier) as a capture makes them.
void FillScreenSurfaceWithPattern()
{
    if (g_window.surfaces.screen.width != ScreenWidth() || g_window.surfaces.screen.height != ScreenHeight()) {
        ASSERT_TRUE(PrepareCaptureSurfaces(ScreenWidth(), ScreenHeight(), Geo().panel));
    }
    PutPattern(g_window.surfaces.screen.dc);
}

TestFolder* g_folder;

class Capture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_folder = new TestFolder;
        g_programDir = g_folder->path();
        ASSERT_TRUE(StartUp(GetModuleHandleA(nullptr)));
        Pump();
        ShowPatternWindow();
        ASSERT_TRUE(ScreenShowsPattern()) << "the known picture did not reach the screen";
    }
    static void TearDownTestSuite()
    {
        delete g_folder;
        g_folder = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ(ScreenWidth(), 1024) << "these tests expect a 1024 x 768 screen";
        ASSERT_EQ(ScreenHeight(), 768);
        g_textForm.HexCase = 0;
    }
    void TearDown() override
    {
        CancelCapture();
        Pump();
        g_textForm.HexCase = 0;
    }
};

// ---- The panel alone, drawn from the known picture in the screen copy surface ----

TEST_F(Capture, MagnifierShowsCellsNumbersAndSample)
{
    FillScreenSurfaceWithPattern();
    const struct {
        const char* what;
        int x, y;
        int hexCase;
        PanelTexts texts;
    } cases[] = {
        {"red 10, lower case", 10, 300, 0, {{"10", "44", "144"}, {"0a", "2c", "90"}}},
        {"red 10, upper case", 10, 300, 1, {{"10", "44", "144"}, {"0A", "2C", "90"}}},
        {"top-left corner", 0, 0, 0, {{"0", "0", "128"}, {"00", "00", "80"}}},
        {"bottom-right corner", 1023, 767, 1, {{"255", "255", "163"}, {"FF", "FF", "A3"}}},
        {"top edge", 700, 5, 0, {{"188", "5", "130"}, {"bc", "05", "82"}}},
        {"no such letter case: no hexadecimal", 10, 300, 2, {{"10", "44", "144"}, {"", "", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_textForm.HexCase = c.hexCase;
        DrawMagnifier(c.x, c.y);
        const Image panel = Grab(g_window.surfaces.magnifier.dc, 0, 0, Geo().panel.cx, Geo().panel.cy);
        EXPECT_EQ(Difference(panel, ExpectedPanel(c.x, c.y, 1024, 768, c.texts)), "");
        EXPECT_EQ(panel.At(85, 85), PatternAt(c.x, c.y)) << "the pointer's cell";
        EXPECT_EQ(panel.At(SampleMiddle().x, SampleMiddle().y), PatternAt(c.x, c.y)) << "the sample square";
    }
}

TEST_F(Capture, MagnifierAtTheCornerShowsBlackOffTheScreen)
{
    FillScreenSurfaceWithPattern();
    DrawMagnifier(0, 0);
    const Image panel = Grab(g_window.surfaces.magnifier.dc, 0, 0, Geo().panel.cx, Geo().panel.cy);
    for (int i = 0; i < 15; ++i) {
        for (int j = 0; j < 15; ++j) {
            const COLORREF expected = i < 7 || j < 7 ? RGB(0, 0, 0) : PatternAt(j - 7, i - 7);
            EXPECT_EQ(Hex(panel.At(15 + 10 * j, 15 + 10 * i)), Hex(expected)) << "cell row " << i << " column " << j;
        }
    }
    EXPECT_EQ(panel.At(SampleMiddle().x, SampleMiddle().y), PatternAt(0, 0));
}

TEST_F(Capture, MagnifierLeavesNothingSelectedOrBehind)
{
    FillScreenSurfaceWithPattern();
    HDC dc = g_window.surfaces.magnifier.dc;
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    DrawMagnifier(500, 400);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    // Every pen, brush or font left behind would soon use up the process's
    // GDI handles (at most 65,536), and the panel could no longer be drawn.
    for (int i = 0; i < 320; ++i)
        DrawMagnifier(i * 3, i * 2);
    DrawMagnifier(10, 300);
    EXPECT_EQ(Difference(Grab(dc, 0, 0, Geo().panel.cx, Geo().panel.cy),
                         ExpectedPanel(10, 300, 1024, 768, {{"10", "44", "144"}, {"0a", "2c", "90"}})),
              "");
}

TEST_F(Capture, PanelPlaces)
{
    EXPECT_EQ(PanelTop(768), 264);
    EXPECT_EQ(LeftPanelX(1024), 171);
    EXPECT_EQ(RightPanelX(1024), 683);
    EXPECT_EQ(PanelTop(2160), 960);
    EXPECT_EQ(LeftPanelX(3840), 875);
    EXPECT_EQ(RightPanelX(3840), 2795);
    EXPECT_EQ(LeftPanelX(1025), 171) << "halves are truncated";
    EXPECT_EQ(RightPanelX(1025), 683);
}

// ---- The overlay on the screen ----

TEST_F(Capture, OverlayShowsTheScreenshotAndMovesThePanelAcrossTheMiddle)
{
    OpenCaptureAt(100, 300);  // the pointer in the left half: the panel stands in the right one
    ASSERT_TRUE(g_window.captureActive);
    ASSERT_NE(g_window.captureWindow, nullptr);
    ASSERT_TRUE(IsWindowVisible(g_window.captureWindow));
    RECT frame;
    GetWindowRect(g_window.captureWindow, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, 1024);
    EXPECT_EQ(frame.bottom, 768);
    EXPECT_TRUE(GetWindowLongA(g_window.captureWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(g_window.captureWindow, GW_OWNER), g_mainWindow);

    EXPECT_EQ(ScreenshotBesidePanel(683), "") << "the screenshot, unchanged, around the panel";
    EXPECT_EQ(Difference(GrabOverlay(683, 264, Geo().panel.cx, Geo().panel.cy), ExpectedPanel(100, 300, 1024, 768,
                                                                        {{"100", "44", "144"}, {"64", "2c", "90"}})),
              "")
        << "the first panel, in the right half";

    const struct {
        int x, y;
        int panelX, vacatedX;
        PanelTexts texts;
    } moves[] = {
        // Straight into the right half: the panel goes left and the right half is wiped.
        {513, 300, 171, 683, {{"1", "44", "146"}, {"01", "2c", "92"}}},
        {512, 300, 683, 171, {{"0", "44", "146"}, {"00", "2c", "92"}}},
        {512, 301, 683, 171, {{"0", "45", "146"}, {"00", "2d", "92"}}},
        {900, 700, 171, 683, {{"132", "188", "163"}, {"84", "bc", "a3"}}},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.x);
        MoveTo(m.x, m.y);
        EXPECT_EQ(Difference(GrabOverlay(m.panelX, 264, Geo().panel.cx, Geo().panel.cy), ExpectedPanel(m.x, m.y, 1024, 768, m.texts)), "")
            << "the panel at (" << m.panelX << ", 264)";
        EXPECT_EQ(Difference(GrabOverlay(m.vacatedX, 264, Geo().panel.cx, Geo().panel.cy), PatternImage(m.vacatedX, 264, Geo().panel.cx, Geo().panel.cy)), "")
            << "the screenshot where the panel is not";
    }

    // A repaint puts the panel where the last move put it.
    InvalidateRect(g_window.captureWindow, nullptr, TRUE);
    UpdateWindow(g_window.captureWindow);
    EXPECT_EQ(Difference(GrabOverlay(683, 264, Geo().panel.cx, Geo().panel.cy), PatternImage(683, 264, Geo().panel.cx, Geo().panel.cy)), "");
    EXPECT_EQ(
        Difference(GrabOverlay(171, 264, Geo().panel.cx, Geo().panel.cy),
                   ExpectedPanel(900, 700, 1024, 768, {{"132", "188", "163"}, {"84", "bc", "a3"}})),
        "");
    EXPECT_EQ(ScreenshotBesidePanel(171), "");

    // Nothing is erased under the screenshot: no flash of the class background.
    {
        WindowDcGuard dc(g_window.captureWindow);
        EXPECT_NE(SendMessageA(g_window.captureWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 0);
    }
    EXPECT_EQ(ScreenshotBesidePanel(171), "");
}

// The wheel turned over the overlay, through the input queue.
void Wheel(int delta)
{
    INPUT in;
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_MOUSE;
    in.mi.mouseData = static_cast<DWORD>(delta);
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    SendInput(1, &in, sizeof in);
    PumpLikeTheProgram(nullptr, 4, 10);
}

// Each notch forward shows fewer, larger cells, each notch back more, smaller
// ones, always filling the same square; half notches add up, turns beyond the
// ends are not kept, and every capture starts at 15 x 15 again.
TEST_F(Capture, TheWheelZoomsTheMagnifier)
{
    const PanelTexts texts = {{"100", "44", "144"}, {"64", "2c", "90"}};
    OpenCaptureAt(100, 300);
    ASSERT_TRUE(g_window.captureActive);
    MoveTo(100, 300);
    const struct {
        int delta;
        int cells;
    } turns[] = {
        {WHEEL_DELTA, 5},      {WHEEL_DELTA, 5},      {-WHEEL_DELTA, 15},    {-WHEEL_DELTA / 2, 15},
        {-WHEEL_DELTA / 2, 25}, {-3 * WHEEL_DELTA, 25}, {2 * WHEEL_DELTA, 5},
    };
    for (const auto& turn : turns) {
        SCOPED_TRACE(turn.delta);
        Wheel(turn.delta);
        EXPECT_EQ(MagnifierCells(), turn.cells);
        EXPECT_EQ(Difference(GrabOverlay(683, 264, Geo().panel.cx, Geo().panel.cy),
                             ExpectedPanel(100, 300, 1024, 768, texts, turn.cells)),
                  "")
            << turn.cells << " x " << turn.cells << " cells";
    }
    MoveTo(101, 300);
    EXPECT_EQ(Difference(GrabOverlay(683, 264, Geo().panel.cx, Geo().panel.cy),
                         ExpectedPanel(101, 300, 1024, 768, {{"101", "44", "144"}, {"65", "2c", "90"}}, 5)),
              "")
        << "the zoom stays while the pointer moves";
    CancelCapture();
    OpenCaptureAt(100, 300);
    EXPECT_EQ(MagnifierCells(), 15);
    EXPECT_EQ(Difference(GrabOverlay(683, 264, Geo().panel.cx, Geo().panel.cy), ExpectedPanel(100, 300, 1024, 768, texts)),
              "");
}

TEST_F(Capture, LeftClickPicksThePixelIntoCurrentAndReferenceColors)
{
    SetColor(1, 2, 3);
    OpenCaptureAt(10, 300);
    ASSERT_TRUE(g_window.captureActive);
    MoveTo(10, 300);
    ClickAt(WM_LBUTTONDOWN, 10, 300);
    Pump();

    ColorState expected;
    std::memset(&expected, 0, sizeof expected);
    {
        const ColorState saved = g_current;
        g_current.red = 10;
        g_current.green = 44;
        g_current.blue = 144;
        CompleteFromRgb();
        expected = g_current;
        g_current = saved;
    }
    EXPECT_TRUE(SameColor(g_current, expected)) << "current " << g_current.red << "," << g_current.green << ","
                                                << g_current.blue << " h" << g_current.hue;
    EXPECT_TRUE(SameColor(g_reference, expected)) << "the pick is committed";
    const std::vector<std::string> edits = {"10",
                                            "44",
                                            "144",
                                            "0a",
                                            "2c",
                                            "90",
                                            std::to_string(expected.hue),
                                            std::to_string(expected.saturation),
                                            std::to_string(expected.value)};
    EXPECT_EQ(AllEdits(), edits);
    EXPECT_EQ(expected.saturation, 93);
    EXPECT_EQ(expected.value, 56);
    char copy[32] = {};
    GetWindowTextA(g_window.editCopy, copy, sizeof copy);
    EXPECT_STREQ(copy, "#0a2c90");
    EXPECT_EQ(MainWindowPixel(60, 40), RGB(10, 44, 144)) << "the swatch's upper half";
    EXPECT_EQ(MainWindowPixel(60, 100), RGB(10, 44, 144)) << "and its lower half";
    EXPECT_FALSE(g_window.captureActive);
    EXPECT_EQ(g_window.captureWindow, nullptr);
    EXPECT_EQ(CountOverlays(), 0);
}

TEST_F(Capture, RightClickAndEscLeaveEverythingUnchanged)
{
    const struct {
        const char* what;
        void (*close)();
    } ways[] = {
        {"right click", [] { ClickAt(WM_RBUTTONDOWN, 700, 5); }},
        {"Esc", [] { EscCommand(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        SetColor(1, 2, 3);
        const ColorState current = g_current;
        const ColorState reference = g_reference;
        const std::vector<std::string> edits = AllEdits();
        OpenCaptureAt(700, 5);
        ASSERT_TRUE(g_window.captureActive);
        MoveTo(700, 5);
        way.close();
        Pump();
        EXPECT_FALSE(g_window.captureActive);
        EXPECT_EQ(g_window.captureWindow, nullptr);
        EXPECT_EQ(CountOverlays(), 0);
        EXPECT_TRUE(SameColor(g_current, current));
        EXPECT_TRUE(SameColor(g_reference, reference));
        EXPECT_EQ(AllEdits(), edits);
        EXPECT_EQ(MainWindowPixel(60, 40), RGB(1, 2, 3));
    }
    const ColorState before = g_current;
    EscCommand();
    EXPECT_FALSE(g_window.captureActive) << "Esc without a capture does nothing";
    EXPECT_EQ(CountOverlays(), 0);
    EXPECT_TRUE(SameColor(g_current, before));
}

TEST_F(Capture, StartingAgainDuringACaptureOpensNoSecondOverlay)
{
    OpenCaptureAt(300, 300);
    HWND first = g_window.captureWindow;
    ASSERT_NE(first, nullptr);
    CaptureCommand();
    Pump();
    StartCapture(g_mainWindow, g_instance);
    EXPECT_EQ(g_window.captureWindow, first);
    EXPECT_EQ(CountOverlays(), 1);
    EXPECT_TRUE(g_window.captureActive);

    // Closed some other way than the three closing paths: the capture can be started again.
    SendMessageA(first, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(g_window.captureActive);
    EXPECT_EQ(g_window.captureWindow, nullptr);
    OpenCaptureAt(300, 300);
    EXPECT_TRUE(g_window.captureActive);
    EXPECT_NE(g_window.captureWindow, nullptr);
    EXPECT_EQ(CountOverlays(), 1);
}

// The screen copy surface and the magnifier outlive the overlay: a capture
// makes again only the one whose size no longer fits (the virtual screen's,
// the panel's at the pointer's DPI), and keeps and rewrites the ones that do.
TEST_F(Capture, CaptureSurfacesAreKeptWhileTheirSizeFits)
{
    ASSERT_TRUE(PrepareCaptureSurfaces(600, 400, GeometryAt(144).panel));  // left over at other sizes
    const HGDIOBJ stale[] = {g_window.surfaces.screen.bitmap, g_window.surfaces.magnifier.bitmap};
    SetColor(1, 2, 3);
    OpenCaptureAt(900, 700);
    ASSERT_TRUE(g_window.captureActive);
    EXPECT_TRUE(SurfaceHasSize(g_window.surfaces.screen, 1024, 768));
    EXPECT_TRUE(SurfaceHasSize(g_window.surfaces.magnifier, Geo().panel.cx, Geo().panel.cy));
    for (HGDIOBJ object : stale)
        EXPECT_EQ(GetObjectType(object), 0u) << "the one that no longer fit is released";
    EXPECT_EQ(ScreenshotBesidePanel(171), "") << "the screenshot, beyond the old size too";
    MoveTo(900, 700);
    EXPECT_EQ(Difference(GrabOverlay(171, 264, Geo().panel.cx, Geo().panel.cy),
                         ExpectedPanel(900, 700, 1024, 768, {{"132", "188", "163"}, {"84", "bc", "a3"}})),
              "");
    const HGDIOBJ held[] = {g_window.surfaces.screen.dc, g_window.surfaces.screen.bitmap,
                            g_window.surfaces.magnifier.dc, g_window.surfaces.magnifier.bitmap};
    ClickAt(WM_LBUTTONDOWN, 900, 700);
    Pump();
    EXPECT_EQ(g_current.red, 132);
    EXPECT_EQ(g_current.green, 188);
    EXPECT_EQ(g_current.blue, 163);
    EXPECT_EQ(g_reference.blue, 163);
    EXPECT_EQ(EditText(5), "a3");
    EXPECT_FALSE(g_window.captureActive);
    for (HGDIOBJ object : held)
        EXPECT_NE(GetObjectType(object), 0u) << "kept when the overlay closed";

    OpenCaptureAt(100, 100);  // the kept copy blacked out first
    ASSERT_TRUE(g_window.captureActive);
    EXPECT_EQ(g_window.surfaces.screen.bitmap, held[1]) << "kept: it still fits";
    EXPECT_EQ(g_window.surfaces.magnifier.bitmap, held[3]) << "kept: it still fits";
    EXPECT_EQ(ScreenshotBesidePanel(RightPanelX(1024)), "") << "the kept copy holds this capture's screenshot";
    CancelCapture();
    Pump();
}

TEST_F(Capture, APixelThatCannotBeReadIsNotPicked)
{
    SetColor(1, 2, 3);
    const ColorState current = g_current;
    const std::vector<std::string> edits = AllEdits();
    OpenCaptureAt(900, 700);
    ASSERT_TRUE(g_window.captureActive);
    ASSERT_TRUE(ResizeScreenSurface(600, 400));  // the screenshot no longer holds (900, 700)
    MoveTo(900, 700);
    EXPECT_EQ(GrabOverlay(171, 264, Geo().panel.cx, Geo().panel.cy).At(85, 85), RGB(0, 0, 0)) << "shown black";
    ClickAt(WM_LBUTTONDOWN, 900, 700);
    Pump();
    EXPECT_TRUE(SameColor(g_current, current)) << "black is not taken for the color";
    EXPECT_TRUE(SameColor(g_reference, current));
    EXPECT_EQ(AllEdits(), edits);
    EXPECT_TRUE(g_window.captureActive) << "the overlay stays for another pick";
    EscCommand();
    EXPECT_FALSE(g_window.captureActive);
}

}  // namespace
