#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    FindProgramDirectory();
    if (!StartUp(instance))
        return 0;
    return RunMessageLoop();
}
