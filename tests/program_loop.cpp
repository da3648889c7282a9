#include "tests/program_loop.h"

#include "app/app.h"
#include "view/paint.h"

void PumpLikeTheProgram(HACCEL accelerators, int quietRounds, DWORD pauseMs)
{
    for (int quiet = 0; quiet < quietRounds;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            quiet = 0;
            ProcessMessage(msg, accelerators);
        } else {
            if (g_textsBehind)
                OnIdle();
            ++quiet;
            Sleep(pauseMs);
        }
    }
}
