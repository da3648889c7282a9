#include "view/strings.h"

#include <string>
#include <unordered_map>

LANGID g_uiLanguage = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

namespace {

HMODULE g_resources;
std::unordered_map<UINT, std::string> g_texts;  // each text as first loaded

HMODULE Resources()
{
    return g_resources != nullptr ? g_resources : GetModuleHandleA(nullptr);
}

// String `id` as stored: its block holds 16 counted UTF-16 strings.
std::wstring StoredText(UINT id)
{
    const auto* text = static_cast<const WCHAR*>(UiResourceData(RT_STRING, id / 16 + 1));
    if (text == nullptr)
        return std::wstring();
    for (UINT skip = id % 16; skip > 0; --skip)
        text += 1 + *text;
    return std::wstring(text + 1, *text);
}

// The ANSI form, as LoadStringA gives it.
std::string ToAnsi(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &text[0], size, nullptr, nullptr);
    return text;
}

}  // namespace

LANGID LanguageForCodePage(UINT codePage)
{
    return codePage == 932 ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT) : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

void ChooseUiLanguage(HMODULE module)
{
    g_resources = module;
    g_uiLanguage = LanguageForCodePage(GetACP());
    g_texts.clear();
}

HRSRC FindUiResource(LPCSTR type, LPCSTR name)
{
    HRSRC found = FindResourceExA(Resources(), type, name, g_uiLanguage);
    return found != nullptr ? found : FindResourceA(Resources(), name, type);
}

const void* UiResourceData(LPCSTR type, UINT id)
{
    HRSRC found = FindUiResource(type, MAKEINTRESOURCEA(id));
    return found != nullptr ? LockResource(LoadResource(Resources(), found)) : nullptr;
}

const char* UiText(UINT id)
{
    auto known = g_texts.find(id);
    if (known != g_texts.end())
        return known->second.c_str();
    std::wstring wide = StoredText(id);
    // "|" becomes NUL before the conversion: in code page 932 its byte can be
    // the second byte of a double-byte character.
    for (wchar_t& c : wide)
        if (c == L'|')
            c = L'\0';
    return g_texts.emplace(id, ToAnsi(wide)).first->second.c_str();
}

std::string UiTextWith(UINT id, const std::string& first, const std::string& second)
{
    // One pass, so that a "%2" inside the first insert stays as it is. A "%"
    // is never the second byte of a double-byte character.
    const std::string text = UiText(id);
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && (next == '1' || next == '2')) {
            result += next == '1' ? first : second;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string SystemErrorText(DWORD error)
{
    if (error == ERROR_SUCCESS)
        return std::string();
    char* words = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<LPSTR>(&words), 0, nullptr);
    std::string text = length > 0 ? std::string(words, length) : "(" + std::to_string(error) + ")";
    LocalFree(words);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}
