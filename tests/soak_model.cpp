#include "tests/soak_model.h"

#include <cstring>

#include "color/color_text.h"
#include "color/edit_number.h"
#include "color/palette.h"
#include "view/geometry.h"
#include "view/paint.h"

namespace {

// Where the mouse acts on the palette: its cells, the surface less its first column and row.
RECT PaletteArea() { return LessFirstColumnAndRow(Geo().palette); }
bool InPalette(int x, int y) { return Contains(PaletteArea(), x, y); }
int CellAt(int x, int y)
{
    const RECT area = PaletteArea();
    const int pitch = Geo().paletteCellPitch;
    return ((y - area.top) / pitch) * kPaletteColumns + (x - area.left) / pitch;
}

constexpr unsigned kLeftButton = 0x0001;   // MK_LBUTTON
constexpr unsigned kRightButton = 0x0002;  // MK_RBUTTON

enum class Kind { Decimal, Hex, Hsv };

// What each color edit shows and what typing into it sets, in focus order.
struct EditRule {
    Kind kind;
    int32_t ColorState::*number;
    char (ColorState::*hex)[3];
    int32_t highest;
    int partner;  // the channel's other edit; -1 for H, S, V
};

const EditRule kRules[kModelEditCount] = {
    {Kind::Decimal, &ColorState::red, &ColorState::redHex, 255, 3},
    {Kind::Decimal, &ColorState::green, &ColorState::greenHex, 255, 4},
    {Kind::Decimal, &ColorState::blue, &ColorState::blueHex, 255, 5},
    {Kind::Hex, &ColorState::red, &ColorState::redHex, 255, 0},
    {Kind::Hex, &ColorState::green, &ColorState::greenHex, 255, 1},
    {Kind::Hex, &ColorState::blue, &ColorState::blueHex, 255, 2},
    {Kind::Hsv, &ColorState::hue, nullptr, 359, -1},
    {Kind::Hsv, &ColorState::saturation, nullptr, 100, -1},
    {Kind::Hsv, &ColorState::value, nullptr, 100, -1},
};

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : (v > high ? high : v); }

// A typed number as the program reads it: the leading digits, limited to 0..highest.
int32_t ReadLimited(const std::string& text, int32_t highest)
{
    const int32_t typed = ReadEditNumber(text.c_str());
    return typed < 0 ? 0 : (typed > highest ? highest : typed);
}

}  // namespace

// ---- One edit control ----

void EditModel::WrittenByProgram(const std::string& newText)
{
    text = newText;
    anchor = caret = 0;
    selectionKnown = true;
}

void EditModel::SelectAll()
{
    anchor = 0;
    caret = Length();
    selectionKnown = true;
}

void EditModel::PutCaret(int position)
{
    anchor = caret = position;
    selectionKnown = true;
}

void EditModel::RemoveSelection()
{
    const int low = Low();
    text.erase(static_cast<size_t>(low), static_cast<size_t>(High() - low));
    anchor = caret = low;
}

void EditModel::TypeCharacter(char c)
{
    RemoveSelection();
    if (Length() < limit) {
        text.insert(static_cast<size_t>(caret), 1, c);
        ++caret;
        anchor = caret;
    }
}

bool EditModel::Backspace()
{
    if (anchor == caret) {
        if (caret == 0)
            return false;
        anchor = caret - 1;
    }
    RemoveSelection();
    return true;
}

bool EditModel::DeleteForward()
{
    if (anchor == caret) {
        if (caret == Length())
            return false;
        anchor = caret + 1;
    }
    RemoveSelection();
    return true;
}

// ---- The program ----

const ColorState& ProgramModel::Current() const { return g_current; }
const ColorState& ProgramModel::Reference() const { return g_reference; }

ModelSettings ProgramModel::Settings() const
{
    return {g_displayMode, g_textForm.CopyFormat, g_textForm.HexCase, g_textForm.SharpPrefix};
}

bool ProgramModel::HexAsTyped(int channel) const
{
    const EditRule& rule = kRules[3 + channel];
    char canonical[3];
    FormatHex(g_current.*rule.number, canonical, sizeof canonical);
    return std::strcmp(canonical, g_current.*rule.hex) != 0;
}

void ProgramModel::Start(const ModelSettings& settings, int red, int green, int blue,
                         const uint32_t (&palette)[kModelPaletteCells])
{
    g_displayMode = settings.mode;
    g_textForm.CopyFormat = settings.copyFormat;
    g_textForm.HexCase = settings.hexCase;
    g_textForm.SharpPrefix = settings.sharp;
    std::memcpy(palette_, palette, sizeof palette_);
    std::memset(&g_current, 0, sizeof g_current);
    g_current.red = red;
    g_current.green = green;
    g_current.blue = blue;
    CompleteFromRgb();
    g_reference = g_current;
    hsvDirect_ = false;
    textsBehind_ = false;
    for (int i = 0; i < kModelEditCount; ++i) {
        edits_[i] = EditModel();
        edits_[i].limit = kRules[i].kind == Kind::Hex ? 2 : 3;
    }
    UpdateCopyText();
    WriteColorEdits();
    focusIndex_ = 0;
    focused_ = 0;
    edits_[0].SelectAll();
}

std::string ProgramModel::Shown(int index) const
{
    const EditRule& rule = kRules[index];
    if (rule.kind == Kind::Hex)
        return g_current.*rule.hex;
    return std::to_string(g_current.*rule.number);
}

void ProgramModel::WriteEdit(int index) { edits_[index].WrittenByProgram(Shown(index)); }

void ProgramModel::WriteColorEdits()
{
    for (int i = 0; i < kModelEditCount; ++i) {
        const std::string text = Shown(i);
        if (edits_[i].text != text)
            edits_[i].WrittenByProgram(text);
    }
}

void ProgramModel::UpdateCopyText()
{
    char text[kCopyTextSize];
    FormatCopyText(text, sizeof text);
    copyText_ = text;
}

void ProgramModel::CatchUp()
{
    if (!textsBehind_)
        return;
    textsBehind_ = false;
    UpdateCopyText();
    WriteColorEdits();
}

// A change notification of edit `index` while the program listens to them.
void ProgramModel::TypedInto(int index)
{
    ++editChanges;
    const EditRule& rule = kRules[index];
    focusIndex_ = index;
    switch (rule.kind) {
    case Kind::Decimal:
        g_current.*rule.number = ReadLimited(edits_[index].text, rule.highest);
        FormatHex(g_current.*rule.number, g_current.*rule.hex, sizeof(g_current.*rule.hex));
        RgbToHsv();
        WriteEdit(rule.partner);
        for (int i = 6; i < 9; ++i)
            WriteEdit(i);
        break;
    case Kind::Hex: {
        char* hex = g_current.*rule.hex;
        std::memset(hex, 0, sizeof(g_current.*rule.hex));
        // Read back through a three-byte buffer: at most two characters.
        std::strncpy(hex, edits_[index].text.c_str(), sizeof(g_current.*rule.hex) - 1);
        g_current.*rule.number = ParseHex(hex);
        RgbToHsv();
        WriteEdit(rule.partner);
        for (int i = 6; i < 9; ++i)
            WriteEdit(i);
        break;
    }
    case Kind::Hsv:
        g_current.*rule.number = ReadLimited(edits_[index].text, rule.highest);
        CompleteFromHsv();
        for (int i = 0; i < 6; ++i)
            WriteEdit(i);
        break;
    }
    hsvDirect_ = rule.kind == Kind::Hsv;
    g_reference = g_current;
    UpdateCopyText();
}

void ProgramModel::PickCell(int cell)
{
    ++palettePicks;
    const uint32_t entry = palette_[cell];
    g_current.red = static_cast<int32_t>(entry & 0xFF);
    g_current.green = static_cast<int32_t>((entry >> 8) & 0xFF);
    g_current.blue = static_cast<int32_t>((entry >> 16) & 0xFF);
    CompleteFromRgb();
    hsvDirect_ = false;
    g_reference = g_current;
    UpdateCopyText();
    WriteColorEdits();
}

void ProgramModel::StoreCell(int cell)
{
    ++paletteStores;
    palette_[cell] = ColorRefOf(g_current);
}

void ProgramModel::DragPickers(int x, int y)
{
    bool acted = false;
    const Geometry& g = Geo();
    if (g_displayMode == 1) {
        const RECT* areas[3] = {&g.redDrag, &g.greenDrag, &g.blueDrag};
        const RECT* bars[3] = {&g.redBar, &g.greenBar, &g.blueBar};
        for (int channel = 0; channel < 3 && !acted; ++channel) {
            if (!Contains(*areas[channel], x, y))
                continue;
            const EditRule& rule = kRules[channel];
            g_current.*rule.number = Clamp(x - bars[channel]->left, 0, 255);
            FormatHex(g_current.*rule.number, g_current.*rule.hex, sizeof(g_current.*rule.hex));
            RgbToHsv();
            hsvDirect_ = false;
            acted = true;
        }
    } else if (g_displayMode == 0) {
        if (Contains(g.valueDrag, x, y)) {
            g_current.value = Clamp(g.valueBar.bottom - y, 0, 100);
            acted = true;
        }
        if (Contains(g.saturationDrag, x, y)) {
            g_current.saturation = Clamp(g.hueSat.bottom - y, 0, 100);
            acted = true;
        }
        if (Contains(g.hueDrag, x, y)) {
            g_current.hue = Clamp(2 * (x - g.hueSat.left), 0, 359);
            acted = true;
        }
        if (acted) {
            CompleteFromHsv();
            hsvDirect_ = true;
        }
    }
    if (!acted)
        return;
    ++pickerSteps;
    // The texts follow once the program's queue runs empty or another kind of
    // message comes; when exactly, the model cannot tell, so no selection is
    // certain until it is set again.
    textsBehind_ = true;
    for (EditModel& edit : edits_)
        edit.selectionKnown = false;
}

void ProgramModel::PickThenDrag(int x, int y)
{
    if (InPalette(x, y))
        PickCell(CellAt(x, y));
    DragPickers(x, y);
}

void ProgramModel::LeftButtonDown(int x, int y)
{
    CatchUp();
    PickThenDrag(x, y);
}

void ProgramModel::MouseMove(int x, int y, unsigned keyFlags)
{
    if (keyFlags & kRightButton) {
        if (InPalette(x, y))
            StoreCell(CellAt(x, y));
    } else if (keyFlags & kLeftButton) {
        PickThenDrag(x, y);
    }
}

void ProgramModel::LeftButtonUp()
{
    CatchUp();
    g_reference = g_current;
}

void ProgramModel::RightButtonDown(int x, int y)
{
    CatchUp();
    if (InPalette(x, y))
        StoreCell(CellAt(x, y));
}

void ProgramModel::OtherMessage() { CatchUp(); }

void ProgramModel::FocusEdit(int index)
{
    focusIndex_ = index;
    focused_ = index;
    edits_[index].SelectAll();
}

// The three hex edits rewritten in the new case while the program listens to
// them: each write is taken as typing into that edit.
void ProgramModel::SetHexCase(int32_t hexCase)
{
    g_textForm.HexCase = hexCase;
    FormatHex(g_current.red, g_current.redHex, sizeof g_current.redHex);
    FormatHex(g_current.green, g_current.greenHex, sizeof g_current.greenHex);
    FormatHex(g_current.blue, g_current.blueHex, sizeof g_current.blueHex);
    for (int i = 3; i < 6; ++i) {
        WriteEdit(i);
        TypedInto(i);
    }
    UpdateCopyText();
}

void ProgramModel::Command(int id)
{
    CatchUp();
    switch (id) {
    case 40012: g_displayMode = 0; break;
    case 40013: g_displayMode = 1; break;
    case 40014: FocusEdit(focusIndex_ + 1 > kModelEditCount - 1 ? 0 : focusIndex_ + 1); break;
    case 40015: FocusEdit(focusIndex_ - 1 < 0 ? kModelEditCount - 1 : focusIndex_ - 1); break;
    case 40018: g_textForm.CopyFormat = 0; UpdateCopyText(); break;
    case 40020: g_textForm.CopyFormat = 1; UpdateCopyText(); break;
    case 40021: g_textForm.CopyFormat = 2; UpdateCopyText(); break;
    case 40033: SetHexCase(1); break;
    case 40034: SetHexCase(0); break;
    case 40048: g_textForm.SharpPrefix = g_textForm.SharpPrefix == 0 ? 1 : 0; UpdateCopyText(); break;
    default: break;
    }
}

void ProgramModel::Character(char c)
{
    CatchUp();
    edits_[focused_].TypeCharacter(c);
    TypedInto(focused_);
}

void ProgramModel::Backspace()
{
    CatchUp();
    if (edits_[focused_].Backspace())
        TypedInto(focused_);
}

void ProgramModel::Delete()
{
    CatchUp();
    if (edits_[focused_].DeleteForward())
        TypedInto(focused_);
}

void ProgramModel::Home()
{
    CatchUp();
    edits_[focused_].PutCaret(0);
}

void ProgramModel::End()
{
    CatchUp();
    edits_[focused_].PutCaret(edits_[focused_].Length());
}

void ProgramModel::ClickIntoEdit(int index, bool rightOfText)
{
    CatchUp();
    focused_ = index;
    edits_[index].PutCaret(rightOfText ? edits_[index].Length() : 0);
}
