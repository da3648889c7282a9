// Times one edit write, taken apart, on an edit of a plain window and on the
// real main window's edits, which must exist.
#pragma once

void BenchTextWrite();
