// The texts the program shows, from the string table of the resource script,
// and the language its menus, dialog and texts are taken in.
#pragma once

#include <windows.h>

#include <string>

// ---- Globals owned by the interface language ----
extern LANGID g_uiLanguage;  // the language every menu, dialog and text is loaded in

// The language of the interface: Japanese where the ANSI code page is 932,
// English everywhere else (plain ASCII texts show on every code page).
LANGID LanguageForCodePage(UINT codePage);

// Chooses the interface language for this system's ANSI code page, once at
// start, and takes the resources from `module` from then on.
void ChooseUiLanguage(HMODULE module);

// A resource in the interface language; where that language has none, the
// resource in any language.
HRSRC FindUiResource(LPCSTR type, LPCSTR name);

// The data of resource `id` of `type` in the interface language (as
// FindUiResource finds it): a menu or dialog template; null when there is none.
const void* UiResourceData(LPCSTR type, UINT id);

// The text of string `id` in the interface language and the ANSI code page,
// NUL-terminated; a "|" in the text stands for a NUL (the filters of the file
// dialogs). The empty text for an unknown id. The pointer stays valid until the
// language is chosen again.
const char* UiText(UINT id);

// The text of string `id` with "%1" replaced by `first` and "%2" by `second`.
std::string UiTextWith(UINT id, const std::string& first, const std::string& second = std::string());

// The system's own words for an error code (FormatMessageA), without the line
// break at their end; the code in digits where the system has none; empty for 0.
std::string SystemErrorText(DWORD error);
