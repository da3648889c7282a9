#include "app/transforms.h"

#include <windows.h>
#include <commdlg.h>

#include "app/app.h"
#include "color/color.h"
#include "color/transforms.h"
#include "view/layout.h"
#include "view/paint.h"

static_assert(sizeof(COLORREF) == sizeof(uint32_t), "the custom colors are handed to the dialog as COLORREFs");

namespace {

// The end of every transform: the color becomes the reference color, the
// edits show it and the display follows.
void Commit()
{
    g_reference = g_current;
    WriteColorEdits(g_mainWindow);
    RefreshColorDisplay(g_mainWindow);
}

}  // namespace

void SnapToWebSafe()
{
    ApplyWebSafe();
    // The edits first, then the reference color: neither reads what the other writes.
    WriteColorEdits(g_mainWindow);
    g_reference = g_current;
    RefreshColorDisplay(g_mainWindow);
}

void ConvertToGrayscale()
{
    ApplyGrayscale();
    Commit();
}

void InvertColor()
{
    ApplyInversion();
    Commit();
}

void MakeLighter()
{
    ApplyLighter();
    Commit();
}

void MakeDarker()
{
    ApplyDarker();
    Commit();
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
    if (!ChooseColorA(&record))
        return;
    SetFromColorRef(record.rgbResult);
    Commit();
}
