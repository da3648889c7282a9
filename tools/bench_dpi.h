// Times the main window's pickers drawn for a DPI above 96 in the two ways
// that give the same picture: at the physical size with one color per 96-DPI
// pixel, and at the 96-DPI size stretched nearest-neighbour to the physical one.
#pragma once

// Prints the median and the 99th percentile of each way at 144 and 192 DPI.
void BenchDpiDrawing();
