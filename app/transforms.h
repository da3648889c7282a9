// The image menu's transforms of the current color, each complete: the color
// is changed, committed to the reference color, written to the nine edits and
// shown. They act on the main window.
#pragma once

void SnapToWebSafe();
void ConvertToGrayscale();
void InvertColor();
void MakeLighter();
void MakeDarker();
// The platform's color dialog on the current color and the custom colors;
// nothing changes when the user cancels.
void ChooseWithColorDialog();
