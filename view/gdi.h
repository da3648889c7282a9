// Scope guards for GDI handles, so that no pen, brush or font outlives the
// drawing that made it or stays selected in a DC once that drawing returns.
//
// Declare the owner before the selection that uses it:
//
//     ScopedPen pen(CreatePen(PS_SOLID, 1, color));
//     SelectGuard selected(dc, pen.get());
//
// Guards are destroyed in reverse order, so the previous object is selected
// again before the pen is deleted.
#pragma once

#include <windows.h>

// Owns one GDI object (pen, brush, font, bitmap) and deletes it on scope exit.
template <typename T>
class GdiObject {
public:
    explicit GdiObject(T handle) : handle_(handle) {}
    ~GdiObject()
    {
        if (handle_ != nullptr)
            DeleteObject(handle_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T get() const { return handle_; }

private:
    T handle_;
};

using ScopedPen = GdiObject<HPEN>;
using ScopedBrush = GdiObject<HBRUSH>;
using ScopedFont = GdiObject<HFONT>;
using ScopedBitmap = GdiObject<HBITMAP>;

// Selects an object into a DC and selects the one it replaced again on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard()
    {
        if (previous_ != nullptr)
            SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's DC from GetDC (or the screen's, for a null window), released on scope exit.
class WindowDcGuard {
public:
    explicit WindowDcGuard(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDcGuard()
    {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }
    WindowDcGuard(const WindowDcGuard&) = delete;
    WindowDcGuard& operator=(const WindowDcGuard&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A DC from CreateCompatibleDC, deleted on scope exit.
class MemoryDcGuard {
public:
    explicit MemoryDcGuard(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDcGuard()
    {
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }
    MemoryDcGuard(const MemoryDcGuard&) = delete;
    MemoryDcGuard& operator=(const MemoryDcGuard&) = delete;

    HDC get() const { return dc_; }

private:
    HDC dc_;
};

