// Times the screen capture on the real main window, which must exist: opening
// the overlay, and one magnifier update per mouse move.
#pragma once

// Prints the median and the 99th percentile of each step for the screen as it is now.
void BenchCapture();
