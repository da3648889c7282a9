#include "app/transforms.h"

#include <windows.h>
#include <commdlg.h>

#include "app/app.h"
#include "color/color.h"
#include "color/transforms.h"
#include "store/system_library.h"
#include "view/layout.h"
#include "view/paint.h"

static_assert(sizeof(COLORREF) == sizeof(uint32_t), "the custom colors are handed to the dialog as COLORREFs");

void SnapToWebSafe()
{
    ApplyWebSafe();
    CommitCurrentColor(g_mainWindow);
}

void ConvertToGrayscale()
{
    ApplyGrayscale();
    CommitCurrentColor(g_mainWindow);
}

void InvertColor()
{
    ApplyInversion();
    CommitCurrentColor(g_mainWindow);
}

void MakeLighter()
{
    ApplyLighter();
    CommitCurrentColor(g_mainWindow);
}

void MakeDarker()
{
    ApplyDarker();
    CommitCurrentColor(g_mainWindow);
}

void ChooseWithColorDialog()
{
    CHOOSECOLORA record;
    ZeroMemory(&record, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = g_mainWindow;
    record.rgbResult = ColorRefOf(g_current);
    // The dialog edits the custom colors in place; they are saved at close.
    record.lpCustColors = reinterpret_cast<COLORREF*>(g_customColors);
    record.Flags = CC_RGBINIT | CC_FULLOPEN;
    const auto chooseColor = SystemLibraryFunction<decltype(&ChooseColorA)>("comdlg32.dll", "ChooseColorA");
    if (chooseColor == nullptr || !chooseColor(&record))
        return;
    TakeColor(g_mainWindow, record.rgbResult);
}
