// The color being edited: the current and reference colors, their hexadecimal
// texts and hue/saturation/value, and the integer conversions between them.
// Plain C++: no platform headers, so every test and tool can use it.
#pragma once

#include <cstddef>
#include <cstdint>

struct ColorState {
    int32_t red;
    int32_t green;
    int32_t blue;
    char redHex[3];    // up to two characters and a NUL
    char greenHex[3];
    char blueHex[3];
    int32_t hue;         // 0..359
    int32_t saturation;  // 0..100
    int32_t value;       // 0..100
};

// ---- Globals owned by the color model ----
extern ColorState g_current;     // the color being edited
extern ColorState g_reference;   // the color as last committed; only ever a copy of g_current

// Reads red, green, blue of g_current; writes its value, saturation and hue.
void RgbToHsv();
// Reads hue, saturation, value of g_current; writes its red, green and blue.
void HsvToRgb();
// Clears `size` bytes of `text`, then writes the two-digit hexadecimal text of
// `value` in the letter case of g_textForm.HexCase (nothing for another case).
void FormatHex(int32_t value, char* text, size_t size);
// The hex texts of red, green and blue of g_current, in that order.
void FormatHexTexts();
// The channel value 0..255 of a NUL-terminated text typed into a hexadecimal edit.
int32_t ParseHex(const char* text);
// Hex texts from red, green, blue, then hue/saturation/value from them.
void CompleteFromRgb();
// Red, green, blue from hue/saturation/value, then their hex texts.
void CompleteFromHsv();
// Red, green, blue from a COLORREF 0x00BBGGRR, then their hex texts and hue/saturation/value.
void SetFromColorRef(uint32_t color);

// The conversion on plain numbers, for drawing gradients without touching g_current.
struct Rgb {
    int32_t red;
    int32_t green;
    int32_t blue;
};
Rgb HsvToRgbValues(int32_t hue, int32_t saturation, int32_t value);
// The same conversion before its last step: red, green and blue as percentages
// 0..100, each channel then being (percentage * 255) / 100.
Rgb HsvToPercents(int32_t hue, int32_t saturation, int32_t value);

// Limits a number to 0..255, the range of one channel.
inline int32_t ClampChannel(int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// The COLORREF 0x00BBGGRR of a color, from the low 8 bits of each channel.
inline uint32_t ColorRefOf(const ColorState& c)
{
    return (static_cast<uint32_t>(c.red) & 0xFFu) | ((static_cast<uint32_t>(c.green) & 0xFFu) << 8) |
           ((static_cast<uint32_t>(c.blue) & 0xFFu) << 16);
}
