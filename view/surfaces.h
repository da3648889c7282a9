// The UI font and the nine off-screen surfaces of the main window: each a
// memory DC with one bitmap selected into it from creation to close.
#pragma once

#include <windows.h>

#include <cstdint>

struct Surface {
    HDC dc;            // memory DC, compatible with the window DC
    HBITMAP bitmap;    // selected into dc for its whole life
    HGDIOBJ previous;  // what dc held before, put back before deletion
    int width;
    int height;
    uint32_t* pixels;  // top-down 32-bit pixels (0x00RRGGBB) when the bitmap is a DIB section, else null
    uint32_t drawnFor; // what its picture shows, as its drawer keys it; 0 until drawn
};

// The nine surfaces of the main window, in creation order.
struct Surfaces {
    Surface swatch, redBar, greenBar, blueBar, hueSat, valueBar, palette, screen, magnifier;
};

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

// The 12-pixel UI font; the caller owns it (DeleteObject at close).
HFONT CreateUiFont();

// Creates the nine surfaces in their order (swatch, red, green, blue bars,
// hue-saturation, value bar, palette, screen copy, magnifier), sets the bars'
// and the magnifier's text modes, and draws the channel bars, the
// hue-saturation field, the value bar and the palette. Needs g_window.uiFont.
void CreateSurfaces(HDC windowDc);

// Deletes the surfaces' DCs in creation order, then their bitmaps, and clears them.
void DestroySurfaces();
// Its two steps for one surface: the DC deleted (its first bitmap put back),
// then the bitmap deleted and the surface cleared. A bitmap still selected
// into a DC cannot be deleted.
void ReleaseSurfaceDc(Surface& surface);
void ReleaseSurfaceBitmap(Surface& surface);

// Gives the screen copy surface a new bitmap of width × height (its DC stays,
// its picture is lost), so that it can hold a screen whose size has changed
// since it was created. False, and the surface as it was, when no bitmap of
// that size can be made or the surface does not exist.
bool ResizeScreenSurface(int width, int height);
