// Every size and position of the main window and of the capture panel: one
// table of pixels at 96 DPI. Layout and painting read it scaled to the main
// window's DPI through Geo(); hit testing reads it as it stands (Logical()),
// on points turned back into 96-DPI points; the capture panel reads it scaled
// to its monitor's DPI (GeometryAt). Every number scales as MulDiv(v, dpi, 96).
//
// Every member is a LONG or made of LONGs (RECT, POINT, SIZE), so the whole
// table can be scaled number by number. Rectangles exclude their right and
// bottom edges, as the platform's do; counts (cells of a grid) are not pixels
// and live beside the table.
#pragma once

#include <windows.h>

// The magnifier's zooms: its grid of n × n cells fills the same square at
// each, the pixel under the pointer in the middle cell; a cell is the
// square's side / n pixels (30, 10 and 6 at 96 DPI). The wheel steps through
// them; every capture starts at 15 × 15.
constexpr int kMagnifierZooms[] = {5, 15, 25};
constexpr int kZoomCount = static_cast<int>(sizeof kMagnifierZooms / sizeof kMagnifierZooms[0]);
constexpr int kDefaultZoom = 1;
constexpr int kMagnifierCells = kMagnifierZooms[kDefaultZoom];

struct Geometry {
    SIZE client;  // the main window's client area

    // ---- Child controls, in creation order: the nine color edits R10, G10, B10,
    // R16, G16, B16, H, S, V, then EDITCOPY, BUTTONCOPY and the capture button ----
    RECT controls[12];

    // ---- Where each surface is shown; its size is the rectangle's ----
    RECT swatch;
    RECT redBar, greenBar, blueBar;  // RGB mode
    RECT hueSat, valueBar;           // HSV mode
    RECT palette;

    // ---- The palette grid inside its surface ----
    POINT paletteFirstCell;  // top-left of cell 0
    LONG paletteCellPitch;   // a cell and the one-pixel gap after it
    LONG paletteCellSize;    // a cell with its black ring

    // ---- Markers: a MarkerUp spans x - half .. x + half and y .. y + length ----
    LONG markerLength;
    LONG markerHalfBase;
    // The strip each marker can cover over its whole range (what is repainted when it moves).
    RECT redStrip, greenStrip, blueStrip, hueStrip, saturationStrip, valueStrip;

    // ---- Where clicks and drags act: over the pickers, their marker strips and a margin ----
    RECT redDrag, greenDrag, blueDrag;
    RECT valueDrag, saturationDrag, hueDrag;

    // ---- Labels ----
    LONG scaleLabelGap;  // between the field's left edge and "(100)", "(0)" left of it
    POINT paletteLabel;  // top-left of the palette's label
    LONG rgbEditLabelX;  // the labels of the R, G, B rows, centered on their edits
    LONG hsvEditLabelX;  // and of the H, S, V edits
    POINT percentText;   // on a channel bar: x, and the drop below centering

    LONG uiFontHeight;  // the cell height of the UI font
    SIZE smallIcon;     // the windows' small icon, taken from icon 101

    // ---- The capture's magnifier panel, in its own coordinates ----
    SIZE panel;
    RECT magnifierGrid;   // the square the cells fill
    RECT sampleSquare;    // the color under the pointer
    LONG channelRowY[3];  // red, green, blue rows
    LONG channelLabelX, channelDecimalX, channelHexX;
    POINT hint;      // the cancel hint
    POINT keysHint;  // and below it the keys' hint

    LONG tipWidth;  // the widest a tip grows; its lines break where its text says
};

static_assert(sizeof(Geometry) % sizeof(LONG) == 0, "the table is made of LONGs only");

constexpr Geometry kGeometryAt96Dpi = {
    {406, 276},

    {{28, 140, 58, 158}, {28, 163, 58, 181}, {28, 186, 58, 204},
     {62, 140, 92, 158}, {62, 163, 92, 181}, {62, 186, 92, 204},
     {125, 140, 155, 158}, {125, 163, 155, 181}, {125, 186, 155, 204},
     {10, 222, 155, 240}, {10, 245, 80, 266}, {85, 245, 155, 266}},

    {10, 17, 120, 127},
    {135, 17, 391, 32}, {135, 58, 391, 73}, {135, 99, 391, 114},
    {160, 17, 340, 117}, {360, 17, 380, 117},
    {171, 153, 396, 266},

    {1, 1},
    14,
    13,

    10,
    5,
    {130, 32, 396, 43}, {130, 73, 396, 84}, {130, 114, 396, 125},
    {155, 117, 345, 128}, {340, 12, 351, 123}, {380, 12, 391, 123},

    {131, 18, 396, 42}, {131, 59, 396, 83}, {131, 100, 396, 124},
    {361, 13, 390, 122}, {161, 16, 350, 119}, {159, 18, 342, 127},

    1,
    {171, 140},
    10,
    107,
    {3, 1},

    12,
    {16, 16},

    {170, 240},
    {10, 10, 160, 160},
    {115, 166, 160, 207},
    {166, 180, 194},
    10, 50, 80,
    {10, 210},
    {10, 224},

    400,
};

// ---- Globals owned by the geometry ----
// The DPI the main window is laid out for (96 until it says otherwise).
extern UINT g_dpi;

// The table as it stands, in 96-DPI (logical) pixels.
inline const Geometry& Logical() { return kGeometryAt96Dpi; }
// The table scaled to `dpi`, every number MulDiv(v, dpi, 96).
Geometry GeometryAt(UINT dpi);
// The geometry in use: the table scaled to g_dpi.
const Geometry& Geo();
// Lays the main window out for `dpi` from now on.
void UseDpi(UINT dpi);

// A 96-DPI length or coordinate at g_dpi (at `dpi`).
LONG Scale(LONG v);
LONG ScaleTo(LONG v, UINT dpi);
// The 96-DPI coordinate a physical one at g_dpi lies in: logical v covers the
// physical pixels Scale(v) .. Scale(v + 1) - 1.
LONG ToLogical(LONG physical);
// Within a surface shown at the 96-DPI coordinate `origin`: the physical offset
// of the logical offset v, and the logical offset a physical one lies in.
LONG ScaleFrom(LONG origin, LONG v);
LONG LogicalFrom(LONG origin, LONG physical);

inline LONG Width(const RECT& r) { return r.right - r.left; }
inline LONG Height(const RECT& r) { return r.bottom - r.top; }
inline POINT TopLeft(const RECT& r) { return POINT{r.left, r.top}; }
inline bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
// A picker less its first column and row: where the eyedropper shows over it.
inline RECT LessFirstColumnAndRow(const RECT& r) { return RECT{r.left + 1, r.top + 1, r.right, r.bottom}; }
