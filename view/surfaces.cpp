#include "view/surfaces.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "view/draw.h"
#include "view/gdi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/strings.h"


namespace {

// "ＭＳ Ｐゴシック": full-width letters around an ordinary space.
const wchar_t kUiFontFace[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";

// "ゴシック" (Gothic), the word that names a sans-serif Japanese face.
const wchar_t kGothicWord[] = L"\u30B4\u30B7\u30C3\u30AF";

// Proportional Japanese sans-serif faces close to the wanted one, nearest first.
const wchar_t* const kNearFaces[] = {
    L"MS PGothic",  // the same face under its English name
    L"MS UI Gothic",
    L"Meiryo UI",
    L"Yu Gothic UI",
    L"Meiryo",
    L"IPAPGothic",
    L"IPA P\u30B4\u30B7\u30C3\u30AF",  // "IPA Pゴシック", its Japanese name
    L"VL PGothic",
    L"TakaoPGothic",
    L"Noto Sans CJK JP",
    L"Source Han Sans JP",
};

// Katakana, kanji and the full-width colon, as the labels and buttons use them.
const wchar_t kJapaneseSample[] = L"\u30D1\u30EC\u30C3\u30C8\u753B\u9762\u306E\u8272\u30B3\u30D4\u30FC\uFF1A";

// A name in the ANSI code page.
std::string Ansi(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size > 0 ? size : 1), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(ansi.size() - 1);  // the NUL
    return ansi;
}

LOGFONTA UiLogFont(const char* face, LONG height)
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;  // positive: the cell height in pixels
    font.lfWidth = 0;
    font.lfEscapement = 0;
    font.lfOrientation = 0;
    font.lfWeight = FW_DONTCARE;
    font.lfItalic = 0;
    font.lfUnderline = 0;
    font.lfStrikeOut = 0;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

struct FaceInfo {
    std::string name;
    BYTE pitchAndFamily;
};

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data)
{
    auto* faces = reinterpret_cast<std::vector<FaceInfo>*>(data);
    for (const FaceInfo& known : *faces)
        if (known.name == font->lfFaceName)
            return 1;
    faces->push_back(FaceInfo{font->lfFaceName, font->lfPitchAndFamily});
    return 1;
}

// The families the system has for `charset`; with a face name, only that face.
std::vector<FaceInfo> EnumerateFaces(HDC dc, BYTE charset, const char* face)
{
    std::vector<FaceInfo> faces;
    LOGFONTA query;
    std::memset(&query, 0, sizeof query);
    query.lfCharSet = charset;
    lstrcpynA(query.lfFaceName, face, LF_FACESIZE);
    EnumFontFamiliesExA(dc, &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

// True when the system has `face` itself (not a substitute) with Japanese glyphs.
bool FaceDrawsJapanese(HDC dc, const char* face)
{
    if (EnumerateFaces(dc, DEFAULT_CHARSET, face).empty())
        return false;
    const LOGFONTA logFont = UiLogFont(face, Geo().uiFontHeight);
    ScopedFont font(CreateFontIndirectA(&logFont));
    if (font.get() == nullptr)
        return false;
    SelectGuard selected(dc, font.get());
    char chosen[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, chosen);
    if (lstrcmpiA(chosen, face) != 0)
        return false;
    constexpr int count = static_cast<int>(sizeof kJapaneseSample / sizeof kJapaneseSample[0]) - 1;
    WORD glyphs[count] = {};
    if (GetGlyphIndicesW(dc, kJapaneseSample, count, glyphs, GGI_MARK_NONEXISTING_GLYPHS) != static_cast<DWORD>(count))
        return false;
    for (WORD glyph : glyphs)
        if (glyph == 0xFFFF)
            return false;
    return true;
}

// How near an unlisted Japanese face is to the wanted one; higher is nearer.
int Nearness(const FaceInfo& face)
{
    if (face.name.empty() || face.name[0] == '@')  // vertical-writing variants
        return -1;
    const int family = face.pitchAndFamily & 0xF0;
    if (family == FF_ROMAN || family == FF_SCRIPT || family == FF_DECORATIVE)
        return -1;
    int score = 0;
    if ((face.pitchAndFamily & 0x03) == VARIABLE_PITCH)
        score += 4;
    if (face.name.find("Gothic") != std::string::npos || face.name.find(Ansi(kGothicWord)) != std::string::npos ||
        face.name.find("Sans") != std::string::npos)
        score += 2;
    if (family == FF_SWISS || family == FF_MODERN)
        score += 1;
    return score;
}


void CreateSurface(Surface& surface, HDC windowDc, int width, int height)
{
    surface.width = width;
    surface.height = height;
    surface.dc = CreateCompatibleDC(windowDc);
    surface.bitmap = CreateSurfaceBitmap(windowDc, width, height, &surface.pixels);
    surface.previous = SelectObject(surface.dc, surface.bitmap);
    surface.drawnFor = 0;
    surface.origin = POINT{0, 0};
    surface.stride = width;
}

// The part of `sheet` of width x height whose top-left corner is at `at`.
Surface PartOf(const Surface& sheet, POINT at, int width, int height)
{
    Surface part;
    std::memset(&part, 0, sizeof part);
    part.dc = sheet.dc;
    part.bitmap = sheet.bitmap;
    part.width = width;
    part.height = height;
    part.origin = at;
    part.stride = sheet.stride;
    part.pixels = sheet.pixels != nullptr ? &PixelAt(sheet, at.x, at.y) : nullptr;
    return part;
}

// The window's surfaces laid out on one sheet as small as a simple layout
// gets it (its release at close costs in proportion to its size): in rows,
// the tallest parts first, each row filled left to right up to the sheet's
// width; of the widths that differ in where a row ends, the one of least area.
constexpr size_t kParts = 7;
SIZE LayOutParts(const SIZE (&sizes)[kParts], POINT (&at)[kParts])
{
    size_t order[kParts];
    for (size_t i = 0; i < kParts; ++i)
        order[i] = i;
    std::stable_sort(order, order + kParts, [&sizes](size_t a, size_t b) { return sizes[a].cy > sizes[b].cy; });
    const auto shelve = [&](LONG width, POINT(&places)[kParts]) {
        LONG x = 0, y = 0, rowHeight = 0;
        for (size_t i : order) {
            if (x > 0 && x + sizes[i].cx > width) {
                y += rowHeight;
                x = 0;
                rowHeight = 0;
            }
            places[i] = POINT{x, y};
            x += sizes[i].cx;
            rowHeight = std::max(rowHeight, sizes[i].cy);
        }
        return SIZE{width, y + rowHeight};
    };
    LONG widest = 0;
    for (const SIZE& size : sizes)
        widest = std::max(widest, size.cx);
    SIZE best = shelve(widest, at);
    LONG rowEnd = 0;
    for (size_t i : order) {
        rowEnd += sizes[i].cx;
        POINT places[kParts];
        const SIZE sheet = shelve(std::max(widest, rowEnd), places);
        if (static_cast<long long>(sheet.cx) * sheet.cy < static_cast<long long>(best.cx) * best.cy) {
            best = sheet;
            std::copy(places, places + kParts, at);
        }
    }
    return best;
}

void ReleaseSurfaceDc(Surface& surface)
{
    if (surface.dc == nullptr)
        return;
    if (surface.previous != nullptr)
        SelectObject(surface.dc, surface.previous);
    DeleteDC(surface.dc);
    surface.dc = nullptr;
    surface.previous = nullptr;
}

// A bitmap still selected into a DC cannot be deleted: the DC goes first.
void ReleaseSurface(Surface& surface)
{
    ReleaseSurfaceDc(surface);
    if (surface.bitmap != nullptr)
        DeleteObject(surface.bitmap);
    std::memset(&surface, 0, sizeof surface);
}

// The surface kept where it has width × height, else released (first, so that
// two screen-sized bitmaps are never held at once) and made at that size.
// False when it cannot be made.
bool KeepOrMake(Surface& surface, HDC screenDc, int width, int height)
{
    if (SurfaceHasSize(surface, width, height))
        return true;
    ReleaseSurface(surface);
    CreateSurface(surface, screenDc, width, height);
    return surface.bitmap != nullptr;
}

// The main window's own surfaces, in the order they lie in their bitmap.
Surface Surfaces::*const kWindowSurfaces[] = {
    &Surfaces::swatch, &Surfaces::redBar, &Surfaces::greenBar, &Surfaces::blueBar,
    &Surfaces::hueSat, &Surfaces::valueBar, &Surfaces::palette,
};

}  // namespace

HBITMAP CreateSurfaceBitmap(HDC dc, int width, int height, uint32_t** pixels)
{
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    *pixels = static_cast<uint32_t*>(bits);
    if (bitmap == nullptr) {
        bitmap = CreateCompatibleBitmap(dc, width, height);
        *pixels = nullptr;
    }
    return bitmap;
}

void MessageFontFace(char (&face)[LF_FACESIZE])
{
    std::memset(face, 0, sizeof face);
    NONCLIENTMETRICSA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        lstrcpynA(face, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
}

void WantedUiFontFace(char (&face)[LF_FACESIZE])
{
    std::memset(face, 0, sizeof face);
    lstrcpynA(face, Ansi(kUiFontFace).c_str(), LF_FACESIZE);
}

void ChooseUiFontFace(char (&face)[LF_FACESIZE])
{
    std::memset(face, 0, sizeof face);
    if (PRIMARYLANGID(g_uiLanguage) != LANG_JAPANESE) {
        MessageFontFace(face);
        return;
    }
    WantedUiFontFace(face);

    WindowDcGuard screen(nullptr);
    MemoryDcGuard dc(screen.get());
    if (FaceDrawsJapanese(dc.get(), face))
        return;
    for (const wchar_t* nearFace : kNearFaces) {
        const std::string name = Ansi(nearFace);
        if (FaceDrawsJapanese(dc.get(), name.c_str())) {
            lstrcpynA(face, name.c_str(), LF_FACESIZE);
            return;
        }
    }
    // Any other Japanese face, the nearest first; ties keep the system's order.
    const std::vector<FaceInfo> faces = EnumerateFaces(dc.get(), SHIFTJIS_CHARSET, "");
    std::vector<const FaceInfo*> ranked;
    for (const FaceInfo& candidate : faces)
        if (Nearness(candidate) >= 0)
            ranked.push_back(&candidate);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const FaceInfo* a, const FaceInfo* b) { return Nearness(*a) > Nearness(*b); });
    for (const FaceInfo* candidate : ranked) {
        if (FaceDrawsJapanese(dc.get(), candidate->name.c_str())) {
            lstrcpynA(face, candidate->name.c_str(), LF_FACESIZE);
            return;
        }
    }
}

HFONT CreateUiFont(LONG height)
{
    char face[LF_FACESIZE];
    ChooseUiFontFace(face);
    const LOGFONTA font = UiLogFont(face, height);
    return CreateFontIndirectA(&font);
}

void CreateSurfaces(HDC windowDc)
{
    const Geometry& g = Geo();
    const RECT* const places[kParts] = {&g.swatch, &g.redBar, &g.greenBar, &g.blueBar, &g.hueSat, &g.valueBar, &g.palette};
    SIZE sizes[kParts];
    for (size_t i = 0; i < kParts; ++i)
        sizes[i] = SIZE{Width(*places[i]), Height(*places[i])};
    POINT at[kParts];
    const SIZE sheet = LayOutParts(sizes, at);
    Surfaces& s = g_window.surfaces;
    CreateSurface(s.sheet, windowDc, sheet.cx, sheet.cy);
    SetBkMode(s.sheet.dc, TRANSPARENT);  // the channel bars' percentages over their gradients
    for (size_t i = 0; i < kParts; ++i)
        s.*kWindowSurfaces[i] = PartOf(s.sheet, at[i], sizes[i].cx, sizes[i].cy);
    DrawChannelBars();
    DrawHueSatSurface();
    DrawValueBarSurface();
    DrawPaletteSurface();
}

bool SurfaceHasSize(const Surface& surface, int width, int height)
{
    return surface.bitmap != nullptr && surface.width == width && surface.height == height;
}

bool PrepareCaptureSurfaces(int screenWidth, int screenHeight, SIZE panel)
{
    Surfaces& s = g_window.surfaces;
    WindowDcGuard screen(nullptr);
    if (KeepOrMake(s.screen, screen.get(), screenWidth, screenHeight) &&
        KeepOrMake(s.magnifier, screen.get(), panel.cx, panel.cy)) {
        SetBkMode(s.magnifier.dc, TRANSPARENT);
        SetTextColor(s.magnifier.dc, 0x00000000);
        return true;
    }
    DestroyCaptureSurfaces();
    return false;
}

void DestroyCaptureSurfaces()
{
    ReleaseSurface(g_window.surfaces.screen);
    ReleaseSurface(g_window.surfaces.magnifier);
}

void DestroyWindowSurfaces()
{
    ReleaseSurface(g_window.surfaces.sheet);
    for (Surface Surfaces::*member : kWindowSurfaces)
        std::memset(&(g_window.surfaces.*member), 0, sizeof(Surface));
}

void RecreateSurfaces(HDC windowDc)
{
    DestroyWindowSurfaces();
    CreateSurfaces(windowDc);
}

void DestroySurfaces()
{
    DestroyWindowSurfaces();
    DestroyCaptureSurfaces();
}

bool ResizeSurface(Surface& surface, int width, int height)
{
    if (surface.dc == nullptr || width <= 0 || height <= 0)
        return false;

    // Made as CreateSurface makes it, compatible with the screen.
    WindowDcGuard screen(nullptr);
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateSurfaceBitmap(screen.get(), width, height, &bits);
    if (bitmap == nullptr || SelectObject(surface.dc, bitmap) == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return false;
    }
    // The DC's own first bitmap (surface.previous) is what ReleaseSurface puts back.
    if (surface.bitmap != nullptr)
        DeleteObject(surface.bitmap);
    surface.bitmap = bitmap;
    surface.pixels = bits;
    surface.width = width;
    surface.height = height;
    surface.stride = width;
    return true;
}

bool ResizeScreenSurface(int width, int height)
{
    return ResizeSurface(g_window.surfaces.screen, width, height);
}
