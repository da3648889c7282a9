// What the running program must show and hold after each input message it is
// sent: the current and reference colors, the display settings, the palette,
// which color edit has the focus, the text and selection of each of the nine
// color edits and the text of EDITCOPY. The model follows the program's rules
// for the mouse, the edits and the commands, in the order the program handles
// its messages, and keeps the color in the color library's own globals
// (g_current, g_reference, g_textForm, g_displayMode) so that the library's conversions and
// text forms apply to it exactly as in the program.
#pragma once

#include <cstdint>
#include <string>

#include "color/color.h"

constexpr int kModelEditCount = 9;  // R10, G10, B10, R16, G16, B16, H, S, V: the focus order
constexpr int kModelPaletteCells = 128;

// One single-line edit control as the platform's edit keeps it: its text, the
// selection (anchor and caret) and its character limit.
struct EditModel {
    std::string text;
    int anchor = 0;
    int caret = 0;
    int limit = 3;
    // False once the selection may have been reset by a write the model cannot
    // place in time (the texts written when the program's queue runs empty mid-drag).
    bool selectionKnown = true;

    int Low() const { return anchor < caret ? anchor : caret; }
    int High() const { return anchor < caret ? caret : anchor; }
    int Length() const { return static_cast<int>(text.size()); }

    // The program writes the text (WM_SETTEXT): the caret goes to the start.
    void WrittenByProgram(const std::string& newText);
    void SelectAll();
    void PutCaret(int position);
    // A printable character: the selection is replaced by it, as far as the
    // limit leaves room. A change notification follows. (Whether one follows a
    // character refused for want of room differs between platforms; the soak
    // never types into a full edit with nothing selected.)
    void TypeCharacter(char c);
    // Backspace and Delete: the selection, else the character before or after
    // the caret, is removed. True when a change notification follows (something
    // was selected or there was a character to remove).
    bool Backspace();
    bool DeleteForward();

private:
    void RemoveSelection();
};

struct ModelSettings {
    int32_t mode;        // 0 HSV pickers, 1 RGB pickers
    int32_t copyFormat;  // 0 HTML, 1 RGB macro, 2 DWORD
    int32_t hexCase;     // 0 lower, 1 upper
    int32_t sharp;       // 1: '#' before the HTML form
};

class ProgramModel {
public:
    // The state once the program has started with these settings, color and palette.
    void Start(const ModelSettings& settings, int red, int green, int blue,
               const uint32_t (&palette)[kModelPaletteCells]);

    // ---- The messages, each as the program's loop handles it ----
    // Points are the 16-bit client coordinates of the message, read unsigned.
    void LeftButtonDown(int x, int y);
    void MouseMove(int x, int y, unsigned keyFlags);
    void LeftButtonUp();
    void RightButtonDown(int x, int y);
    // Any message with no effect of its own (key up, right button up, WM_NULL
    // posted, an edit property set): the texts are brought up to date first.
    void OtherMessage();
    void Command(int id);
    // Keys reaching the focused edit.
    void Character(char c);
    void Backspace();
    void Delete();
    void Home();
    void End();
    // A left click into color edit `index`, at its left end or right of its text.
    void ClickIntoEdit(int index, bool rightOfText);

    // ---- What the program shows and holds ----
    const EditModel& Edit(int index) const { return edits_[index]; }
    const std::string& CopyText() const { return copyText_; }
    int FocusedEdit() const { return focused_; }
    int FocusIndex() const { return focusIndex_; }
    const ColorState& Current() const;
    const ColorState& Reference() const;
    ModelSettings Settings() const;
    uint32_t PaletteCell(int cell) const { return palette_[cell]; }
    // True when hue, saturation and value were last set for themselves (HSV
    // drag or typing), false when they were derived from red, green and blue.
    bool HsvSetDirectly() const { return hsvDirect_; }
    // A hex text differs from the two digits of its channel in the current case
    // (typed by hand and kept as typed).
    bool HexAsTyped(int channel) const;
    // Counts of what the messages did, for the report.
    long palettePicks = 0, paletteStores = 0, pickerSteps = 0, editChanges = 0;

private:
    std::string Shown(int index) const;  // the text the program writes into edit `index`
    void WriteEdit(int index);           // written whatever it shows
    void WriteColorEdits();              // each written where it shows something else
    void UpdateCopyText();
    void CatchUp();
    void TypedInto(int index);
    void PickCell(int cell);
    void StoreCell(int cell);
    void DragPickers(int x, int y);
    void PickThenDrag(int x, int y);
    void SetHexCase(int32_t hexCase);
    void FocusEdit(int index);

    EditModel edits_[kModelEditCount];
    std::string copyText_;
    uint32_t palette_[kModelPaletteCells] = {};
    int focused_ = 0;
    int focusIndex_ = 0;
    bool textsBehind_ = false;
    bool hsvDirect_ = false;
};
