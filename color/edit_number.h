// The number typed into a decimal color edit (red, green, blue, hue,
// saturation, value), read the way the platform's GetDlgItemInt reads an
// edit's text when asked for an unsigned number without a success flag.
// Plain C++: no platform headers.
#pragma once

#include <cstdint>

// Leading spaces are skipped and the decimal digits that follow are read up to
// the first character that is not a digit: "12a" reads 12, " 7" reads 7. A text
// without such digits reads 0: empty, or a letter, a sign ('+', '-') or any
// other character (a tab included) where the digits would start. A number above
// 4294967295 reads 0; one from 2147483648 up comes back negative, as the
// platform's unsigned result does when taken as a signed 32-bit integer. Leading
// zeros count for nothing, whatever their number. Any length is read safely; a
// null pointer reads as the empty text.
int32_t ReadEditNumber(const char* text);
