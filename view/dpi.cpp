#include "view/dpi.h"

#include "view/gdi.h"

namespace {

template <typename Function>
Function Lookup(const char* module, const char* name)
{
    HMODULE loaded = GetModuleHandleA(module);
    if (loaded == nullptr)
        loaded = LoadLibraryA(module);
    return loaded != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
                             : nullptr;
}

using DpiForSystem = UINT(WINAPI*)();
using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

UINT ScreenDpi()
{
    WindowDcGuard screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

UINT SystemDpi()
{
    static const auto forSystem = Lookup<DpiForSystem>("user32.dll", "GetDpiForSystem");
    const UINT dpi = forSystem != nullptr ? forSystem() : 0;
    return dpi != 0 ? dpi : ScreenDpi();
}

UINT WindowDpi(HWND window)
{
    static const auto forWindow = Lookup<DpiForWindow>("user32.dll", "GetDpiForWindow");
    const UINT dpi = forWindow != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

UINT MonitorDpi(HMONITOR monitor)
{
    static const auto forMonitor = Lookup<DpiForMonitor>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor != nullptr && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && x != 0)
        return x;
    return SystemDpi();
}
