// Functions of the platform's dialog and shell libraries, which the program
// needs only when the user opens a dialog or the help: loading them with the
// program would cost as much as putting its window on the screen.
#pragma once

#include <windows.h>

#include <string>

// `name` in the system library `library` ("comdlg32.dll"), loaded from the
// system folder the first time it is asked for and kept until exit; null
// where the library or the function cannot be had.
template <typename Function>
Function SystemLibraryFunction(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr) {
        char folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return nullptr;
        module = LoadLibraryA((std::string(folder) + "\\" + library).c_str());
    }
    if (module == nullptr)
        return nullptr;
    // Through void (*)(), the one function type every function pointer converts to cleanly.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
