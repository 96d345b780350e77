// Skin.dll: the standard background. It builds a skin definition from the settings file and
// draws the pictures that definition names. Its exports are plain C: texts are zero-terminated
// code page 932 strings, and a picture is handed over as a bitmap handle that the caller then
// owns (and deletes).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "settings/IniStr.h"
#include "skinlib/SkinSettings.h"
#include "skinlib/StandardSkin.h"
#include "system/HighContrast.h"

namespace {

HWND ApplicationWindow = nullptr;
HINSTANCE Instance = nullptr;
constexpr std::size_t DefinitionBufferSize = 262144;
constexpr COLORREF Cut = RGB(255, 0, 255); // the pictures' transparent colour

// A 24-bit picture of the size, filled with the transparent colour, drawn on by draw.
template <class Draw> HBITMAP Picture(int width, int height, Draw draw) {
    BITMAPINFO bitmapInfo{};
    bitmapInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH background = CreateSolidBrush(Cut);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, background);
    DeleteObject(background);
    draw(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// An ellipse in one colour, with a pen of another.
void Disc(HDC dc, const RECT& r, COLORREF fill, COLORREF line) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, line);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Digit(HDC dc, const RECT& r, char digit, COLORREF color) {
    HFONT font = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                             NONANTIALIASED_QUALITY, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT box = r;
    DrawTextA(dc, &digit, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
}

// The padlock of the protect mark at the vertical offset, closed or open.
void Padlock(HDC dc, int top, bool closed) {
    const int shift = closed ? 0 : 4;
    Disc(dc, {3, top + shift, 13, top + shift + 12}, Cut, RGB(230, 230, 230));
    const RECT body{1, top + 8, 15, top + 20};
    HBRUSH brush = CreateSolidBrush(closed ? RGB(230, 190, 60) : RGB(170, 170, 170));
    FillRect(dc, &body, brush);
    DeleteObject(brush);
}

// The pictures, the marks as two frames one above the other: the upper one for the current page
// (or a protected history), the lower one for a page that exists (or an open history).
HBITMAP DrawImage(const std::string& name) {
    if (name == "Emblem")
        return Picture(24, 24, [](HDC dc) {
            Disc(dc, {0, 0, 24, 24}, RGB(240, 200, 90), RGB(120, 80, 20));
            Disc(dc, {7, 7, 17, 17}, RGB(255, 245, 210), RGB(120, 80, 20));
        });
    const bool page =
        name.size() == 5 && name.compare(0, 4, "Page") == 0 && name[4] >= '1' && name[4] <= '3';
    if (page && HighContrastOn())
        // The current page in the highlight's colours, the others in the window's.
        return Picture(20, 40, [&](HDC dc) {
            const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
            Disc(dc, {0, 0, 20, 20}, GetSysColor(COLOR_HIGHLIGHT), text);
            Digit(dc, {0, 0, 20, 20}, name[4], GetSysColor(COLOR_HIGHLIGHTTEXT));
            Disc(dc, {0, 20, 20, 40}, GetSysColor(COLOR_WINDOW), text);
            Digit(dc, {0, 20, 20, 40}, name[4], text);
        });
    if (page)
        return Picture(20, 40, [&](HDC dc) {
            Disc(dc, {0, 0, 20, 20}, RGB(250, 220, 120), RGB(120, 80, 20));
            Digit(dc, {0, 0, 20, 20}, name[4], RGB(60, 30, 0));
            Disc(dc, {0, 20, 20, 40}, RGB(200, 210, 225), RGB(40, 60, 100));
            Digit(dc, {0, 20, 20, 40}, name[4], RGB(20, 30, 60));
        });
    if (name == "Protect")
        return Picture(16, 40, [](HDC dc) {
            Padlock(dc, 0, true);
            Padlock(dc, 20, false);
        });
    return nullptr;
}

// The settings window: the [Window] keys of the standard background, read from the settings file
// when it opens and written back with OK (the file replaced whole, every other line kept).
struct TSettingsWindow {
    std::string Path;
    TIniStringList Settings;
};

const struct {
    int Id;
    const char* Key;
    bool Default;
} Switches[] = {{IDC_TOP_PANEL, "TopPanel", true},
                {IDC_BOTTOM_PANEL, "BottomPanel", true},
                {IDC_HIDE_EMBLEM, "HideGirl", false},
                {IDC_CHANGE_ICON, "ChangeIcon", false}};

const struct {
    int Id;
    const char* Key;
    int Default, Low, High;
    const char* Message;
} Numbers[] = {{IDC_WIDTH, "Width", 560, 320, 1600, "幅は 320 から 1600 の間で入れてください。"},
               {IDC_LINE_SPACE, "LineSpace", 4, 0, 32, "行間は 0 から 32 の間で入れてください。"}};

const struct {
    int Id;
    const char* Key;
} Texts[] = {{IDC_ENABLE_ICON, "EnableIcon"}, {IDC_DISABLE_ICON, "DisableIcon"}};

void ShowSettings(HWND dialog, const TIniStringList& settings) {
    for (const auto& s : Switches)
        CheckDlgButton(dialog, s.Id, settings.GetBool("Window", s.Key, s.Default));
    for (const auto& n : Numbers)
        SetDlgItemInt(dialog, n.Id,
                      static_cast<UINT>(std::clamp(settings.GetInteger("Window", n.Key, n.Default),
                                                   n.Low, n.High)),
                      FALSE);
    for (const auto& t : Texts)
        SetDlgItemTextA(dialog, t.Id, settings.GetString("Window", t.Key, "").c_str());
}

// Takes the window's values into the settings; false (after saying why) when a number is out of
// its range.
bool TakeSettings(HWND dialog, TIniStringList& settings) {
    for (const auto& n : Numbers) {
        BOOL ok = FALSE;
        const UINT value = GetDlgItemInt(dialog, n.Id, &ok, FALSE);
        if (!ok || value < static_cast<UINT>(n.Low) || value > static_cast<UINT>(n.High)) {
            MessageBoxA(dialog, n.Message, "てんみ", MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(dialog, n.Id));
            return false;
        }
    }
    for (const auto& n : Numbers)
        settings.SetInteger("Window", n.Key,
                            static_cast<int>(GetDlgItemInt(dialog, n.Id, nullptr, FALSE)));
    for (const auto& s : Switches)
        settings.SetBool("Window", s.Key, IsDlgButtonChecked(dialog, s.Id) == BST_CHECKED);
    for (const auto& t : Texts) {
        char text[MAX_PATH] = {};
        GetDlgItemTextA(dialog, t.Id, text, sizeof text);
        settings.SetString("Window", t.Key, text);
    }
    return true;
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<TSettingsWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        ShowSettings(dialog, reinterpret_cast<TSettingsWindow*>(lParam)->Settings);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (!TakeSettings(dialog, window->Settings)) return TRUE;
            try {
                window->Settings.SaveToFile(window->Path);
            } catch (const std::exception& e) {
                MessageBoxA(dialog, e.what(), "てんみ", MB_ICONSTOP);
                return TRUE;
            }
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

extern "C" {

void WINAPI SkinSetApplicationHandle(HWND window) {
    ApplicationWindow = window;
}

// Fills the buffer (262144 bytes) with the definition text; false when the settings file exists
// but cannot be read, or the text would not fit. A settings file that does not exist yet (the
// program's first start) gives the look of the default settings.
BOOL WINAPI SkinReadIniFile(char* buffer, const char* settingsPath) {
    if (buffer == nullptr || settingsPath == nullptr) return FALSE;
    try {
        TIniStringList settings;
        if (GetFileAttributesA(settingsPath) != INVALID_FILE_ATTRIBUTES ||
            GetLastError() != ERROR_FILE_NOT_FOUND)
            settings.LoadFromFile(settingsPath);
        const std::string text = BuildStandardSkin(settings, HighContrastOn());
        if (text.size() + 1 > DefinitionBufferSize) return FALSE;
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// Draws the named picture into a new bitmap that the caller owns; false for a name the library
// does not have.
BOOL WINAPI SkinGetSkinBitmap(const char* name, HBITMAP* bitmap) {
    if (name == nullptr || bitmap == nullptr) return FALSE;
    *bitmap = DrawImage(name);
    return *bitmap != nullptr;
}

// The names of the pictures the library has, each followed by CR LF, into the buffer of the size
// given; false when they do not fit.
BOOL WINAPI SkinGetSkinString(char* buffer, int size) {
    std::string names;
    for (const char* name : StandardSkinImageNames)
        names.append(name).append("\r\n");
    if (buffer == nullptr || size < 0 || names.size() + 1 > static_cast<std::size_t>(size))
        return FALSE;
    std::memcpy(buffer, names.c_str(), names.size() + 1);
    return TRUE;
}

// Shows the settings window for the settings file and returns once it is closed. A file that
// cannot be read is said so and never written.
void WINAPI SkinOpenSettingWindow(const char* settingsPath) {
    if (settingsPath == nullptr) return;
    TSettingsWindow window;
    window.Path = settingsPath;
    try {
        window.Settings.LoadFromFile(window.Path);
    } catch (const std::exception& e) {
        MessageBoxA(ApplicationWindow, e.what(), "てんみ", MB_ICONSTOP);
        return;
    }
    DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_SKIN_SETTINGS), ApplicationWindow, SettingsProc,
                    reinterpret_cast<LPARAM>(&window));
}

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
