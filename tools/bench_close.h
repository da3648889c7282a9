// Times the release of the real main window's surfaces at close, which must exist.
#pragma once

void BenchSurfaceRelease();
