// The UI font and the off-screen surfaces of the main window. The window's
// seven are parts of one bitmap, stacked one under the other and drawn through
// one memory DC (one bitmap is released at close much faster than seven); the
// capture's screen copy and magnifier each have a bitmap and a DC of their own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "view/geometry.h"

struct Surface {
    HDC dc;            // memory DC, compatible with the window DC
    HBITMAP bitmap;    // selected into dc for its whole life
    HGDIOBJ previous;  // what dc held before, put back before deletion; null for a part of another's bitmap
    int width;
    int height;
    uint32_t* pixels;  // its top-left pixel, rows top-down, 32 bits (0x00RRGGBB), when the bitmap is a DIB section; else null
    uint32_t drawnFor; // what its picture shows, as its drawer keys it; 0 until drawn
    POINT origin;      // its top-left corner in the bitmap
    int stride;        // pixels from one row of `pixels` to the next
};

// The surfaces of the main window and of the capture. `sheet` is the bitmap
// and DC the seven window surfaces are parts of; only it owns them.
struct Surfaces {
    Surface swatch, redBar, greenBar, blueBar, hueSat, valueBar, palette, screen, magnifier;
    Surface sheet;
};

// Pixel (x, y) of a surface with pixels.
inline uint32_t& PixelAt(const Surface& surface, int x, int y)
{
    return surface.pixels[static_cast<ptrdiff_t>(y) * surface.stride + x];
}

// The face the UI font asks for, "ＭＳ Ｐゴシック", in the ANSI code page
// (code page 932, where the interface is Japanese).
void WantedUiFontFace(char (&face)[LF_FACESIZE]);

// The face of the system's message boxes (SPI_GETNONCLIENTMETRICS); empty when
// the system does not say.
void MessageFontFace(char (&face)[LF_FACESIZE]);

// The face CreateUiFont uses. In English, the message boxes' face. In Japanese,
// the wanted face where the system has it, else the nearest proportional
// Japanese sans-serif face it has (the wanted face again when it has no
// Japanese face at all). Written into `face` (LF_FACESIZE bytes).
void ChooseUiFontFace(char (&face)[LF_FACESIZE]);

// The UI font, 12 pixels at 96 DPI, `height` pixels high; the caller owns it
// (DeleteObject at close).
HFONT CreateUiFont(LONG height = Geo().uiFontHeight);

// A top-down 32-bit DIB section of the given size, its pixels in `pixels`; where
// one cannot be made, a bitmap compatible with `dc` and null pixels.
HBITMAP CreateSurfaceBitmap(HDC dc, int width, int height, uint32_t** pixels);

// Creates the main window's seven surfaces at the sizes Geo() gives them
// (swatch, red, green, blue bars, hue-saturation, value bar, palette) as parts
// of one bitmap, and draws the channel bars, the hue-saturation field, the
// value bar and the palette. Needs g_window.uiFont.
void CreateSurfaces(HDC windowDc);

// The main window's seven surfaces released and created again (at a new DPI).
void RecreateSurfaces(HDC windowDc);

// The capture's two surfaces, ready when a capture starts and kept after its
// overlay closes (making a screen-sized one afresh costs far more than
// writing a kept one again): the screen copy at screenWidth × screenHeight and
// the magnifier at the panel's size, with a transparent text background. Each
// is kept where it already has that size and made again where not. False,
// and neither left, when one cannot be made.
bool PrepareCaptureSurfaces(int screenWidth, int screenHeight, SIZE panel);
void DestroyCaptureSurfaces();
// True when the surface exists at width × height, as PrepareCaptureSurfaces keeps it.
bool SurfaceHasSize(const Surface& surface, int width, int height);

// Releases every surface there is (the capture's too) and clears them.
void DestroySurfaces();
// The main window's seven: their bitmap and DC released once, the seven cleared.
void DestroyWindowSurfaces();

// Gives a surface a new bitmap of width × height (its DC and text mode stay,
// its picture is lost). False, and the surface as it was, when no bitmap of
// that size can be made or the surface does not exist.
bool ResizeSurface(Surface& surface, int width, int height);

// ResizeSurface of the screen copy surface.
bool ResizeScreenSurface(int width, int height);
