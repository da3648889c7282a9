// The resources of the built tintbox.exe, read from the file as data: the menu
// bar and the ID-names menu with every text in code page 932, the accelerator
// table entry by entry, the version dialog's template, the icon's two images,
// the two cursors with their hot spots and pictures, and the language of every
// resource. Expected texts are spelled here as wide strings and turned into
// code page 932 by the platform, so this file does not share the build's
// conversion of the resource script.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/test_folder.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// The identifiers the code and the resource script share.
static_assert(IDI_TINTBOX == 101 && IDM_MAINMENU == 102 && IDA_ACCELERATORS == 103 && IDM_IDNAMES == 105 &&
                  IDD_ABOUT == 106 && IDC_PICK == 107 && IDC_STORE == 108 && IDD_HOTKEY == 109,
              "resource IDs");
static_assert(ID_HSVMODE == 40012 && ID_RGBMODE == 40013 && ID_HTMLFORMAT == 40018 && ID_RGBFORMAT == 40020 &&
                  ID_DWORDFORMAT == 40021 && ID_WEBSITE == 40027 && ID_ABOUT == 40028 && ID_UPPERCASE == 40033 &&
                  ID_LOWERCASE == 40034 && ID_SHARP == 40048 && IDC_VERSIONTEXT == 1000 && ID_CSSRGBFORMAT == 40060 &&
                  ID_CSSHSLFORMAT == 40061 && ID_HOTKEYDIALOG == 40062,
              "menu command and dialog control IDs");

// The platform's code page 932 form of a text.
std::string Cp932(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(932, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char byte : bytes) {
        const unsigned c = static_cast<unsigned char>(byte);
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

// Bounds-checked little-endian reader over a resource's bytes.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }
    uint8_t U8() { return Has(1) ? data_[pos_++] : 0; }
    uint16_t U16()
    {
        const uint16_t lo = U8();
        return static_cast<uint16_t>(lo | (U8() << 8));
    }
    uint32_t U32()
    {
        const uint32_t lo = U16();
        return lo | (static_cast<uint32_t>(U16()) << 16);
    }
    int16_t S16() { return static_cast<int16_t>(U16()); }
    std::wstring Sz()
    {
        std::wstring text;
        for (uint16_t c; ok_ && (c = U16()) != 0;)
            text += static_cast<wchar_t>(c);
        return text;
    }
    // A name or an ordinal: 0xFFFF then the ordinal, or a string (empty for none).
    std::wstring SzOrOrdinal(uint16_t& ordinal)
    {
        ordinal = 0;
        if (Has(2) && data_[pos_] == 0xFF && data_[pos_ + 1] == 0xFF) {
            U16();
            ordinal = U16();
            return std::wstring();
        }
        return Sz();
    }
    void AlignTo4()
    {
        while (pos_ % 4 != 0 && pos_ < size_)
            ++pos_;
    }

private:
    bool Has(size_t n)
    {
        if (pos_ + n > size_)
            ok_ = false;
        return ok_;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Every pixel of a bitmap as 0x00RRGGBB, top row first.
std::vector<uint32_t> Pixels(HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(rows, height);
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

BITMAP BitmapOf(HBITMAP bitmap)
{
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    return bm;
}

class ResourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string path = HostPathToWindows(TINTBOX_EXE);
        module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (!module_)
            module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (module_)
            FreeLibrary(module_);
        module_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " << TINTBOX_EXE; }

    // The bytes of a resource in Japanese; empty when there is none.
    static std::vector<uint8_t> Raw(LPCSTR type, int id)
    {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kJapanese);
        if (!found)
            return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
        const DWORD size = SizeofResource(module_, found);
        if (!data)
            return {};
        return std::vector<uint8_t>(data, data + size);
    }

    static HMODULE module_;
};

HMODULE ResourceTest::module_ = nullptr;

// ---------------------------------------------------------------------------
// Menus

struct Item {
    UINT id;  // 0 for a separator
    const wchar_t* text;
};

struct Popup {
    const wchar_t* title;
    std::vector<Item> items;
};

const Item kSeparator = {0, nullptr};

const std::vector<Popup> kMainMenu = {
    {L"ファイル(&F)",
     {
         {40030, L"パレットを開く(&O)...\tCtrl+O"},
         {40031, L"パレットを保存(&S)...\tCtrl+S"},
         kSeparator,
         {40022, L"パレット初期化(&I)...\tCtrl+I"},
         kSeparator,
         {40001, L"終了(&X)\tCtrl+Q"},
     }},
    {L"設定(&C)",
     {
         {40012, L"HSV形式(&H)"},
         {40013, L"RGB形式(&R)"},
         kSeparator,
         {40018, L"HTML(&T)\tex: #ffffff"},
         {40020, L"RGBマクロ(&G)\tex: RGB( 255, 255, 255 )"},
         {40021, L"DWORD(&D)\tex: 16777215"},
         {40060, L"CSS RGB(&C)\tex: rgb(255 255 255)"},
         {40061, L"CSS HSL(&L)\tex: hsl(0 0% 100%)"},
         kSeparator,
         {40034, L"小文字(&S)"},
         {40033, L"大文字(&B)"},
         kSeparator,
         {40048, L"「#」を追加する(&A)"},
         kSeparator,
         {40062, L"ホットキー(&K)..."},
     }},
    {L"イメージ(&I)",
     {
         {40035, L"画面上の色を取得(&S)\tF5"},
         kSeparator,
         {40017, L"クリップボードにコピー(&C)\tCtrl+C"},
         kSeparator,
         {40044, L"Webセーフカラー\tCtrl+B"},
         {40026, L"グレースケール(&G)\tCtrl+G"},
         {40032, L"階調の反転(&R)\tCtrl+R"},
         {40023, L"少し明るく(&L)\tCtrl++"},
         {40024, L"少し暗く(&D)\tCtrl+-"},
         kSeparator,
         {40036, L"Windows標準ダイアログ(&W)\tCtrl+W"},
     }},
    {L"その他(&O)",
     {
         {40029, L"ヘルプ(&H)...\tF1"},
         kSeparator,
         {40027, L"Quillmark Webサイト(&W)..."},
         {40028, L"バージョン情報(&A)..."},
     }},
};

const std::vector<Popup> kIdNamesMenu = {
    {L"DUMMY",
     {
         {40003, L"R10"},
         {40004, L"G10"},
         {40005, L"B10"},
         {40006, L"R16"},
         {40007, L"G16"},
         {40008, L"B16"},
         {40009, L"H"},
         {40010, L"S"},
         {40011, L"V"},
         {40016, L"EDITCOPY"},
         {40017, L"BUTTONCOPY"},
         {40014, L"ﾌｫｰｶｽを次へ\tTab"},
         {40015, L"ﾌｫｰｶｽを前へ\tShift+Tab"},
         {40040, L"キャプチャー中止\tESC"},
     }},
};

// The text of a menu item as the program's ANSI calls see it, and as stored.
std::string MenuTextA(HMENU menu, int position)
{
    char buffer[256] = {};
    const int length = GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring MenuTextW(HMENU menu, int position)
{
    wchar_t buffer[256] = {};
    const int length = GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
    return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

void ExpectMenu(HMENU bar, const std::vector<Popup>& popups)
{
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(popups.size()));
    for (size_t p = 0; p < popups.size(); ++p) {
        const Popup& popup = popups[p];
        const int position = static_cast<int>(p);
        SCOPED_TRACE(testing::Message() << "pop-up " << p);
        EXPECT_EQ(MenuTextW(bar, position), popup.title);
        EXPECT_EQ(Hex(MenuTextA(bar, position)), Hex(Cp932(popup.title)));
        HMENU sub = GetSubMenu(bar, position);
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(popup.items.size()));
        for (size_t i = 0; i < popup.items.size(); ++i) {
            const Item& item = popup.items[i];
            const int at = static_cast<int>(i);
            SCOPED_TRACE(testing::Message() << "item " << i);
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
            ASSERT_TRUE(GetMenuItemInfoW(sub, static_cast<UINT>(i), TRUE, &info));
            EXPECT_EQ(info.hSubMenu, nullptr);
            if (!item.text) {
                EXPECT_NE(info.fType & MFT_SEPARATOR, 0u) << "a separator";
                continue;
            }
            EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING));
            EXPECT_EQ(info.fState, 0u) << "enabled and unchecked";
            EXPECT_EQ(info.wID, item.id);
            EXPECT_EQ(MenuTextW(sub, at), item.text);
            EXPECT_EQ(Hex(MenuTextA(sub, at)), Hex(Cp932(item.text)));
        }
    }
}

TEST_F(ResourceTest, TheTestsRunInCodePage932)
{
    EXPECT_EQ(GetACP(), 932u);
    // Spot checks of the conversion the expected texts rely on.
    EXPECT_EQ(Hex(Cp932(L"設定(&C)")), "90 DD 92 E8 28 26 43 29 ");
    EXPECT_EQ(Hex(Cp932(L"ﾌｫｰｶｽ")), "CC AB B0 B6 BD ");
}

TEST_F(ResourceTest, MainMenuHasEveryItemAndText)
{
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(102));
    ASSERT_NE(menu, nullptr);
    ExpectMenu(menu, kMainMenu);
    DestroyMenu(menu);
}

TEST_F(ResourceTest, IdNamesMenuListsControlsAndKeyOnlyCommands)
{
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(105));
    ASSERT_NE(menu, nullptr);
    ExpectMenu(menu, kIdNamesMenu);
    DestroyMenu(menu);
}

// ---------------------------------------------------------------------------
// Accelerators

struct Accel {
    uint16_t flags;
    uint16_t key;
    uint16_t command;
};

// FVIRTKEY 0x01 | FNOINVERT 0x02, with FCONTROL 0x08 or FSHIFT 0x04; the end
// mark 0x80 on the last.
const Accel kAccelerators[] = {
    {0x0B, 'C', 40017},         {0x03, VK_ESCAPE, 40040}, {0x0B, VK_SUBTRACT, 40024}, {0x0B, 'Q', 40001},
    {0x07, VK_TAB, 40015},      {0x03, VK_TAB, 40014},    {0x03, VK_F5, 40035},       {0x0B, 'G', 40026},
    {0x03, VK_F1, 40029},       {0x0B, 'I', 40022},       {0x0B, VK_ADD, 40023},      {0x0B, 'O', 40030},
    {0x0B, 'R', 40032},         {0x0B, 'S', 40031},       {0x0B, 'W', 40036},         {0x8B, 'B', 40044},
};
constexpr size_t kAcceleratorCount = sizeof kAccelerators / sizeof kAccelerators[0];

TEST_F(ResourceTest, AcceleratorTableIsStoredEntryByEntry)
{
    const std::vector<uint8_t> raw = Raw(MAKEINTRESOURCEA(9) /* RT_ACCELERATOR */, 103);
    ASSERT_EQ(raw.size(), kAcceleratorCount * 8);
    Reader r(raw.data(), raw.size());
    for (size_t i = 0; i < kAcceleratorCount; ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        EXPECT_EQ(r.U16(), kAccelerators[i].flags);
        EXPECT_EQ(r.U16(), kAccelerators[i].key);
        EXPECT_EQ(r.U16(), kAccelerators[i].command);
        EXPECT_EQ(r.U16(), 0u) << "padding";
    }
    EXPECT_TRUE(r.ok());
}

TEST_F(ResourceTest, AcceleratorTableLoadsWithSixteenKeys)
{
    HACCEL table = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(103));
    ASSERT_NE(table, nullptr);
    ACCEL entries[32] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 32), static_cast<int>(kAcceleratorCount));
    for (size_t i = 0; i < kAcceleratorCount; ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        EXPECT_EQ(entries[i].fVirt, kAccelerators[i].flags & 0x7F);
        EXPECT_EQ(entries[i].key, kAccelerators[i].key);
        EXPECT_EQ(entries[i].cmd, kAccelerators[i].command);
    }
    DestroyAcceleratorTable(table);
}

// ---------------------------------------------------------------------------
// The version dialog

struct DialogItem {
    uint32_t id;
    uint16_t classOrdinal;     // 0x0080 button, 0x0082 static
    const wchar_t* text;       // nullptr when the text is a resource ordinal
    uint16_t textOrdinal;
    uint32_t style;
    int16_t x, y, cx, cy;
};

const DialogItem kDialogItems[] = {
    {1, 0x0080, L"閉じる", 0, 0x50010001, 130, 74, 50, 14},
    {0xFFFFFFFF, 0x0082, nullptr, 101, 0x50000003, 7, 7, 20, 20},
    {1000, 0x0082, L"Tintbox", 0, 0x50020000, 33, 14, 130, 8},
    {0xFFFFFFFF, 0x0082, L"", 0, 0x50000010, 7, 66, 173, 1},
    {0xFFFFFFFF, 0x0082, L"Copyright (C) 2024", 0, 0x50020000, 77, 40, 103, 8},
    {0xFFFFFFFF, 0x0082, L"禁無断転載", 0, 0x50020000, 124, 50, 56, 8},
    {0xFFFFFFFF, 0x0082, L"Quillmark", 0, 0x58020000, 7, 57, 28, 8},
};
constexpr size_t kDialogItemCount = sizeof kDialogItems / sizeof kDialogItems[0];

const wchar_t kDialogCaption[] = L"ﾊﾞｰｼﾞｮﾝ情報";
const wchar_t kDialogFace[] = L"ＭＳ Ｐゴシック";

TEST_F(ResourceTest, VersionDialogTemplate)
{
    const std::vector<uint8_t> raw = Raw(MAKEINTRESOURCEA(5) /* RT_DIALOG */, 106);
    ASSERT_FALSE(raw.empty());
    Reader r(raw.data(), raw.size());
    EXPECT_EQ(r.U16(), 1u) << "dlgVer: an extended template";
    EXPECT_EQ(r.U16(), 0xFFFFu) << "signature";
    EXPECT_EQ(r.U32(), 0u) << "help ID";
    EXPECT_EQ(r.U32(), 0u) << "extended style";
    EXPECT_EQ(r.U32(), 0x90C80AC0u) << "style";
    ASSERT_EQ(r.U16(), kDialogItemCount);
    EXPECT_EQ(r.S16(), 0);
    EXPECT_EQ(r.S16(), 0);
    EXPECT_EQ(r.S16(), 187);
    EXPECT_EQ(r.S16(), 95);
    uint16_t ordinal;
    EXPECT_EQ(r.SzOrOrdinal(ordinal), L"") << "no menu";
    EXPECT_EQ(ordinal, 0u);
    EXPECT_EQ(r.SzOrOrdinal(ordinal), L"") << "the standard dialog class";
    EXPECT_EQ(ordinal, 0u);
    EXPECT_EQ(r.Sz(), kDialogCaption);
    EXPECT_EQ(r.U16(), 9u) << "point size";
    EXPECT_EQ(r.U16(), 400u) << "weight";
    EXPECT_EQ(r.U8(), 0u) << "italic";
    EXPECT_EQ(r.U8(), 0x80u) << "character set";
    EXPECT_EQ(r.Sz(), kDialogFace);

    for (size_t i = 0; i < kDialogItemCount; ++i) {
        const DialogItem& item = kDialogItems[i];
        SCOPED_TRACE(testing::Message() << "control " << i);
        r.AlignTo4();
        EXPECT_EQ(r.U32(), 0u) << "help ID";
        EXPECT_EQ(r.U32(), 0u) << "extended style";
        EXPECT_EQ(r.U32(), item.style);
        EXPECT_EQ(r.S16(), item.x);
        EXPECT_EQ(r.S16(), item.y);
        EXPECT_EQ(r.S16(), item.cx);
        EXPECT_EQ(r.S16(), item.cy);
        EXPECT_EQ(r.U32(), item.id);
        // The class by its ordinal, or by its name as some resource compilers write it.
        std::wstring name = r.SzOrOrdinal(ordinal);
        for (wchar_t& ch : name)
            ch = static_cast<wchar_t>(towupper(ch));
        if (!name.empty())
            ordinal = name == L"BUTTON" ? 0x0080 : name == L"STATIC" ? 0x0082 : 0xFFFF;
        EXPECT_EQ(ordinal, item.classOrdinal) << "class " << (name.empty() ? "ordinal" : "name");
        const std::wstring text = r.SzOrOrdinal(ordinal);
        if (item.text) {
            EXPECT_EQ(ordinal, 0u);
            EXPECT_EQ(text, item.text);
        } else {
            EXPECT_EQ(ordinal, item.textOrdinal);
        }
        EXPECT_EQ(r.U16(), 0u) << "no creation data";
        ASSERT_TRUE(r.ok()) << "the template ends early";
    }
    r.AlignTo4();
    EXPECT_EQ(r.pos(), raw.size()) << "nothing after the last control";
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string WindowTextA(HWND window)
{
    char buffer[256] = {};
    const int length = GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

TEST_F(ResourceTest, VersionDialogOpensWithItsTexts)
{
    HWND dialog = CreateDialogParamA(module_, MAKEINTRESOURCEA(106), nullptr, QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Hex(WindowTextA(dialog)), Hex(Cp932(kDialogCaption)));
    EXPECT_EQ(Hex(WindowTextA(GetDlgItem(dialog, IDOK))), Hex(Cp932(L"閉じる")));
    EXPECT_EQ(WindowTextA(GetDlgItem(dialog, 1000)), "Tintbox");

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(Hex(font.lfFaceName), Hex(Cp932(kDialogFace)));

    // The second control shows icon 101.
    HWND first = GetWindow(dialog, GW_CHILD);
    ASSERT_NE(first, nullptr);
    HWND icon = GetWindow(first, GW_HWNDNEXT);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "the icon static found icon 101";
    DestroyWindow(dialog);
}

// ---------------------------------------------------------------------------
// The string table: every text the program shows beside the menus and the dialog

struct StringText {
    UINT id;
    const wchar_t* text;
};

const StringText kJapaneseStrings[] = {
    {IDS_APP_TITLE, L"Tintbox"},
    {IDS_VERSION, L"Tintbox Ver.1.12"},
    {IDS_HELP_FILE, L"help.html"},
    {IDS_COPY_BUTTON, L"コピー"},
    {IDS_CAPTURE_BUTTON, L"画面の色"},
    {IDS_COLOR_LABEL, L"Color："},
    {IDS_RED_LABEL, L"Red："},
    {IDS_GREEN_LABEL, L"Green："},
    {IDS_BLUE_LABEL, L"Blue："},
    {IDS_SCALE_0, L"(0)"},
    {IDS_SCALE_359, L"(359)"},
    {IDS_SCALE_100, L"(100)"},
    {IDS_HUESAT_LABEL, L"Hue/Sat"},
    {IDS_VALUE_LABEL, L"Val"},
    {IDS_PALETTE_LABEL, L"Palette："},
    {IDS_R_LABEL, L"R："},
    {IDS_G_LABEL, L"G："},
    {IDS_B_LABEL, L"B："},
    {IDS_H_LABEL, L"H："},
    {IDS_S_LABEL, L"S："},
    {IDS_V_LABEL, L"V："},
    {IDS_CAPTURE_HINT, L"※ESC・右クリックで中止"},
    {IDS_KEYS_HINT, L"※矢印キーで移動・Enterで取得"},
    {IDS_PALETTE_FILTER, L"ﾊﾟﾚｯﾄﾌｧｲﾙ(*.tbp)|*.tbp|"},
    {IDS_OPEN_PALETTE, L"ﾊﾟﾚｯﾄを開く"},
    {IDS_SAVE_PALETTE, L"ﾊﾟﾚｯﾄを保存"},
    {IDS_RESET_PALETTE, L"ﾊﾟﾚｯﾄ初期化"},
    {IDS_REPLACE_PALETTE, L"現在のﾊﾟﾚｯﾄは削除されます。続行してもよろしいですか？"},
    {IDS_CANNOT_READ, L"「%1」を読み込めませんでした。\n\n%2"},
    {IDS_CANNOT_WRITE, L"「%1」に書き込めませんでした。\n\n%2"},
    {IDS_CONFIRM_REPLACE, L"「%1」は既に存在します。\n上書きしてもよろしいですか？"},
    {IDS_CANNOT_START, L"Tintboxを起動できませんでした。\n\n%1"},
    {IDS_FORMAT_FILTERS, L"GIMP ﾊﾟﾚｯﾄ(*.gpl)|*.gpl|Adobe Swatch Exchange(*.ase)|*.ase|Adobe ｶﾗｰｽｳｫｯﾁ(*.aco)|*.aco|"
                         L"JASC ﾊﾟﾚｯﾄ(*.pal)|*.pal|Paint.NET ﾊﾟﾚｯﾄ(*.txt)|*.txt|16進数ﾘｽﾄ(*.hex)|*.hex|"},
    {IDS_ALL_PALETTES_FILTER,
     L"すべてのﾊﾟﾚｯﾄﾌｧｲﾙ(*.tbp;*.gpl;*.ase;*.aco;*.pal;*.txt;*.hex)|*.tbp;*.gpl;*.ase;*.aco;*.pal;*.txt;*.hex|"},
    {IDS_CONTRAST_REFERENCE, L"参照色とのコントラスト比  %s"},
    {IDS_CONTRAST_NORMAL, L"通常の文字  AA %s  AAA %s"},
    {IDS_CONTRAST_LARGE, L"大きな文字  AA %s  AAA %s"},
    {IDS_CONTRAST_WHITE_BLACK, L"白に対して %s  黒に対して %s"},
    {IDS_CONTRAST_PASS, L"合格"},
    {IDS_CONTRAST_FAIL, L"不合格"},
    {IDS_SWATCH_TIP, L"%s  %s番"},
    {IDS_HOTKEY_NONE, L"画面の色を取得するホットキーは他のプログラムが使っているため、登録できませんでした。\n"
                      L"設定メニューの「ホットキー」で別のキーを選べます。"},
    {IDS_HOTKEY_TAKEN, L"このキーは他のプログラムが使っています。別のキーを選んでください。"},
    {IDS_HOTKEY_BARE, L"Ctrl、Alt、Shift、Win のどれかと組み合わせてください。"},
};

// As the platform's own loader gives them on code page 932: the bytes shown.
TEST_F(ResourceTest, StringTableHoldsEveryTextInCodePage932)
{
    for (const StringText& s : kJapaneseStrings) {
        SCOPED_TRACE(testing::Message() << "string " << s.id);
        char buffer[256] = {};
        const int length = LoadStringA(module_, s.id, buffer, sizeof buffer);
        EXPECT_EQ(Hex(std::string(buffer, static_cast<size_t>(length > 0 ? length : 0))), Hex(Cp932(s.text)));
    }
    EXPECT_EQ(Hex(Cp932(L"※ESC・右クリックで中止")).size(), 3u * 23) << "23 bytes";
}

// ---------------------------------------------------------------------------
// Icon

TEST_F(ResourceTest, IconGroupHoldsTwoEightBitImages)
{
    const std::vector<uint8_t> group = Raw(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, 101);
    ASSERT_FALSE(group.empty());
    Reader r(group.data(), group.size());
    EXPECT_EQ(r.U16(), 0u);
    EXPECT_EQ(r.U16(), 1u) << "icons";
    ASSERT_EQ(r.U16(), 2u) << "images";
    std::set<int> sizes;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "image " << i);
        const int width = r.U8();
        const int height = r.U8();
        EXPECT_EQ(width, height);
        sizes.insert(width);
        EXPECT_EQ(r.U8(), 0u) << "256 colors";
        r.U8();
        EXPECT_EQ(r.U16(), 1u) << "planes";
        EXPECT_EQ(r.U16(), 8u) << "bits per pixel";
        const uint32_t bytes = r.U32();
        const uint16_t id = r.U16();
        ASSERT_TRUE(r.ok());

        const std::vector<uint8_t> image = Raw(MAKEINTRESOURCEA(3) /* RT_ICON */, id);
        ASSERT_EQ(image.size(), bytes);
        Reader h(image.data(), image.size());
        EXPECT_EQ(h.U32(), 40u) << "a BITMAPINFOHEADER";
        EXPECT_EQ(h.U32(), static_cast<uint32_t>(width));
        EXPECT_EQ(h.U32(), static_cast<uint32_t>(2 * height)) << "color and mask";
        EXPECT_EQ(h.U16(), 1u);
        EXPECT_EQ(h.U16(), 8u);
        // header, 256 palette entries, 8-bit rows, 1-bit mask rows (rows padded to 4 bytes)
        const size_t maskRow = static_cast<size_t>((width + 31) / 32 * 4);
        EXPECT_EQ(image.size(), 40 + 1024 + static_cast<size_t>(width * height) + maskRow * static_cast<size_t>(height));
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST_F(ResourceTest, IconImagesAreRoundColorfulPictures)
{
    for (int size : {16, 32}) {
        SCOPED_TRACE(testing::Message() << size << "x" << size);
        HICON icon = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(101), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        ASSERT_NE(info.hbmColor, nullptr) << "a color image";
        const BITMAP bm = BitmapOf(info.hbmColor);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);

        const std::vector<uint32_t> color = Pixels(info.hbmColor, size, size);
        const std::vector<uint32_t> mask = Pixels(info.hbmMask, size, size);
        auto at = [size](int x, int y) { return static_cast<size_t>(y * size + x); };
        // A wheel: the corners are transparent, the middle is not.
        EXPECT_NE(mask[at(0, 0)], 0u);
        EXPECT_NE(mask[at(0, size - 1)], 0u);
        EXPECT_EQ(mask[at(size / 2, size / 2)], 0u);
        std::set<uint32_t> colors;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (mask[at(x, y)] == 0)
                    colors.insert(color[at(x, y)]);
        EXPECT_GE(colors.size(), 12u) << "twelve hues at least";
        EXPECT_EQ(colors.count(0xFF0000u), 1u) << "pure red";
        EXPECT_EQ(colors.count(0x0000FFu), 1u) << "pure blue";
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// ---------------------------------------------------------------------------
// Cursors

struct CursorCase {
    int id;
    const char* name;
    int hotX, hotY;
    bool tipIsLeftmost;  // the eyedropper points down to the left
};

const CursorCase kCursors[] = {
    {107, "pick", 9, 21, true},
    {108, "store", 20, 20, false},
};

TEST_F(ResourceTest, CursorResourcesCarryTheirHotSpots)
{
    for (const CursorCase& c : kCursors) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> group = Raw(MAKEINTRESOURCEA(12) /* RT_GROUP_CURSOR */, c.id);
        ASSERT_FALSE(group.empty());
        Reader r(group.data(), group.size());
        EXPECT_EQ(r.U16(), 0u);
        EXPECT_EQ(r.U16(), 2u) << "cursors";
        ASSERT_EQ(r.U16(), 1u) << "one image";
        EXPECT_EQ(r.U16(), 32u) << "width";
        EXPECT_EQ(r.U16(), 64u) << "height of image and mask";
        EXPECT_EQ(r.U16(), 1u) << "planes";
        EXPECT_EQ(r.U16(), 1u) << "bits per pixel";
        const uint32_t bytes = r.U32();
        const uint16_t id = r.U16();
        ASSERT_TRUE(r.ok());

        const std::vector<uint8_t> image = Raw(MAKEINTRESOURCEA(1) /* RT_CURSOR */, id);
        ASSERT_EQ(image.size(), bytes);
        Reader h(image.data(), image.size());
        EXPECT_EQ(h.U16(), c.hotX);
        EXPECT_EQ(h.U16(), c.hotY);
        EXPECT_EQ(h.U32(), 40u);
        EXPECT_EQ(h.U32(), 32u);
        EXPECT_EQ(h.U32(), 64u);
        EXPECT_EQ(h.U16(), 1u);
        EXPECT_EQ(h.U16(), 1u) << "monochrome";
    }
}

TEST_F(ResourceTest, CursorsAreOutlinedMonochromePicturesPointingWithTheirHotSpots)
{
    enum Kind { kTransparent, kBlack, kWhite, kInverted };
    for (const CursorCase& c : kCursors) {
        SCOPED_TRACE(c.name);
        HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(module_, MAKEINTRESOURCEA(c.id), IMAGE_CURSOR, 32, 32, 0));
        ASSERT_NE(cursor, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, static_cast<DWORD>(c.hotX));
        EXPECT_EQ(info.yHotspot, static_cast<DWORD>(c.hotY));
        EXPECT_EQ(info.hbmColor, nullptr) << "monochrome: mask and image in one bitmap";
        ASSERT_NE(info.hbmMask, nullptr);
        const BITMAP bm = BitmapOf(info.hbmMask);
        ASSERT_EQ(bm.bmWidth, 32);
        ASSERT_EQ(bm.bmHeight, 64);
        EXPECT_EQ(bm.bmBitsPixel, 1);

        // Top half AND mask, bottom half XOR image.
        const std::vector<uint32_t> bits = Pixels(info.hbmMask, 32, 64);
        Kind kind[32][32];
        int black = 0, white = 0, inverted = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const bool andBit = bits[static_cast<size_t>(y * 32 + x)] != 0;
                const bool xorBit = bits[static_cast<size_t>((y + 32) * 32 + x)] != 0;
                kind[y][x] = andBit ? (xorBit ? kInverted : kTransparent) : (xorBit ? kWhite : kBlack);
                black += kind[y][x] == kBlack;
                white += kind[y][x] == kWhite;
                inverted += kind[y][x] == kInverted;
            }
        }
        EXPECT_EQ(inverted, 0);
        EXPECT_GT(white, 20) << "white inside";
        EXPECT_GT(black, 20) << "black outline";
        EXPECT_EQ(kind[c.hotY][c.hotX], kBlack) << "the hot spot is on the outline";

        // Every white pixel is enclosed: no transparent pixel or edge beside it.
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (kind[y][x] != kWhite)
                    continue;
                const int nx[] = {x - 1, x + 1, x, x};
                const int ny[] = {y, y, y - 1, y + 1};
                for (int k = 0; k < 4; ++k) {
                    const bool inside = nx[k] >= 0 && nx[k] < 32 && ny[k] >= 0 && ny[k] < 32;
                    EXPECT_TRUE(inside && kind[ny[k]][nx[k]] != kTransparent)
                        << "white at (" << x << ", " << y << ") is not outlined";
                }
            }
        }
        // The hot spot is the lowest point of the picture (the tip, the drip),
        // and for the eyedropper also the leftmost.
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (kind[y][x] == kTransparent)
                    continue;
                EXPECT_LE(y, c.hotY) << "opaque pixel at (" << x << ", " << y << ") below the hot spot";
                if (c.tipIsLeftmost) {
                    EXPECT_GE(x, c.hotX) << "opaque pixel at (" << x << ", " << y << ") left of the hot spot";
                }
            }
        }
        DeleteObject(info.hbmMask);
        DestroyCursor(cursor);
    }
}

// ---------------------------------------------------------------------------
// Languages and the version information

using ResourceList = std::vector<std::pair<std::pair<ULONG_PTR, ULONG_PTR>, WORD>>;  // (type, id), language

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    reinterpret_cast<ResourceList*>(param)->push_back(
        {{reinterpret_cast<ULONG_PTR>(type), reinterpret_cast<ULONG_PTR>(name)}, language});
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EXPECT_TRUE(IS_INTRESOURCE(name)) << "resources have numeric IDs";
    EnumResourceLanguagesA(module, type, name, CollectLanguage, param);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param)
{
    EXPECT_TRUE(IS_INTRESOURCE(type)) << "standard resource types only";
    EnumResourceNamesA(module, type, CollectName, param);
    return TRUE;
}

// Every resource in Japanese; the menus, the dialog and the string table also
// in English, each English one beside a Japanese one of the same id.
TEST_F(ResourceTest, EveryResourceIsJapaneseTheTextsAlsoEnglish)
{
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    ResourceList all;
    EnumResourceTypesA(module_, CollectType, reinterpret_cast<LONG_PTR>(&all));
    std::map<ULONG_PTR, int> perType;
    std::set<std::pair<ULONG_PTR, ULONG_PTR>> named;
    std::set<std::pair<ULONG_PTR, ULONG_PTR>> inEnglish;
    for (const auto& entry : all) {
        const ULONG_PTR type = entry.first.first;
        if (entry.second == english && (type == 4 || type == 5 || type == 6)) {
            inEnglish.insert(entry.first);
            continue;
        }
        EXPECT_EQ(entry.second, kJapanese) << "type " << type << " id " << entry.first.second;
        ++perType[type];
        named.insert(entry.first);
    }
    for (const auto& e : inEnglish)
        EXPECT_EQ(named.count(e), 1u) << "English type " << e.first << " id " << e.second << " has a Japanese one";
    EXPECT_EQ(inEnglish.size(), 4u + static_cast<size_t>(perType[6]))
        << "menus 102 and 105, dialogs 106 and 109, every string block";
    const std::pair<ULONG_PTR, ULONG_PTR> expected[] = {
        {14, 101},  // icon group
        {4, 102},   // menu bar
        {9, 103},   // accelerators
        {4, 105},   // ID names menu
        {5, 106},   // version dialog
        {5, 109},   // hotkey dialog
        {12, 107},  // pick cursor
        {12, 108},  // store cursor
        {16, 1},    // version information
        {24, 1},    // the application manifest
    };
    for (const auto& e : expected)
        EXPECT_EQ(named.count(e), 1u) << "type " << e.first << " id " << e.second;
    EXPECT_EQ(perType[3], 2) << "two icon images";
    EXPECT_EQ(perType[1], 2) << "two cursor images";
    EXPECT_EQ(perType[4], 2) << "two menus";
}

TEST_F(ResourceTest, VersionInformationSaysOnePointTwelve)
{
    const std::vector<uint8_t> raw = Raw(MAKEINTRESOURCEA(16) /* RT_VERSION */, 1);
    ASSERT_GT(raw.size(), 40u + sizeof(VS_FIXEDFILEINFO));
    // VS_VERSIONINFO: three WORDs, the key L"VS_VERSION_INFO", padding, then the fixed part.
    Reader r(raw.data(), raw.size());
    r.U16();
    EXPECT_EQ(r.U16(), sizeof(VS_FIXEDFILEINFO));
    r.U16();
    EXPECT_EQ(r.Sz(), L"VS_VERSION_INFO");
    r.AlignTo4();
    VS_FIXEDFILEINFO fixed{};
    ASSERT_LE(r.pos() + sizeof fixed, raw.size());
    std::memcpy(&fixed, raw.data() + r.pos(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x0001000Cu);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x0001000Cu);
}

// The manifest's settings, one line each, as the platform's reader matches
// them: the element with its namespace and its text.
TEST_F(ResourceTest, ManifestAsksForPerMonitorDpiAndNoNewerControls)
{
    const std::vector<uint8_t> raw = Raw(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, 1);
    const std::string manifest(raw.begin(), raw.end());
    const char* const wanted[] = {
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
        "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, "
        "PerMonitor</dpiAwareness>",
    };
    for (const char* line : wanted)
        EXPECT_NE(manifest.find(line), std::string::npos) << line;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << "no dependency on the newer controls";
    EXPECT_EQ(manifest.find("<dependency"), std::string::npos);
}

// The names of the libraries an executable imports, read from its file.
std::vector<std::string> ImportedLibraries(const std::string& image)
{
    auto at = [&](size_t offset, size_t size) { return offset + size <= image.size() ? image.data() + offset : nullptr; };
    std::vector<std::string> names;
    LONG peOffset = 0;
    if (!at(0x3C, 4))
        return names;
    std::memcpy(&peOffset, at(0x3C, 4), 4);
    IMAGE_NT_HEADERS64 nt{};
    if (peOffset <= 0 || !at(static_cast<size_t>(peOffset), sizeof nt))
        return names;
    std::memcpy(&nt, at(static_cast<size_t>(peOffset), sizeof nt), sizeof nt);
    const size_t sections = static_cast<size_t>(peOffset) + 4 + sizeof nt.FileHeader + nt.FileHeader.SizeOfOptionalHeader;
    // A relative virtual address as an offset into the file, through the section holding it.
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER s{};
            const char* header = at(sections + i * sizeof s, sizeof s);
            if (!header)
                break;
            std::memcpy(&s, header, sizeof s);
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return image.size();
    };
    size_t entry = fileOffset(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    IMAGE_IMPORT_DESCRIPTOR d{};
    for (; at(entry, sizeof d); entry += sizeof d) {
        std::memcpy(&d, at(entry, sizeof d), sizeof d);
        const size_t name = fileOffset(d.Name);
        if (d.Name == 0 || !at(name, 1))
            break;
        names.emplace_back(image.c_str() + name);
    }
    return names;
}

// The libraries behind the file and shell dialogs cost about as much to load
// as showing the whole window; the program loads them when they are first used.
TEST(ImportTest, TheProgramStartsWithoutTheDialogAndShellLibraries)
{
    const std::vector<std::string> imported = ImportedLibraries(ReadWholeFile(HostPathToWindows(TINTBOX_EXE)));
    ASSERT_FALSE(imported.empty()) << "no import table read from " << TINTBOX_EXE;
    bool user32 = false;
    for (const std::string& name : imported) {
        user32 = user32 || lstrcmpiA(name.c_str(), "user32.dll") == 0;
        for (const char* heavy : {"comdlg32.dll", "shell32.dll", "comctl32.dll", "ole32.dll", "shlwapi.dll"})
            EXPECT_NE(lstrcmpiA(name.c_str(), heavy), 0) << TINTBOX_EXE << " imports " << name;
    }
    EXPECT_TRUE(user32) << "the reading found user32.dll among the imports";
}

}  // namespace
