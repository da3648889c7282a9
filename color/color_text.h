// The text form of the current color shown in EDITCOPY and copied to the
// clipboard: HTML ('#rrggbb'), the RGB macro ('RGB( r, g, b )') or the
// decimal COLORREF, as the CopyFormat setting chooses. Plain C++.
#pragma once

#include <cstddef>

// The longest text any form produces is 'RGB( 255, 255, 255 )'.
constexpr size_t kCopyTextSize = 32;

// Writes the text of the current color into `text` (all `size` bytes cleared
// first). A CopyFormat outside 0..2 gives the empty text.
void FormatCopyText(char* text, size_t size);
