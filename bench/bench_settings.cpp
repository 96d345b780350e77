// The settings dialog of the real Mirto.exe, driven from outside as the tray and the user drive
// it. Medians of N runs; every figure against a floor measured in the same run.
//
// With 78 registered entries and the plain look of an empty skin:
// - from the tray's command until the dialog is shown and answers input (a round trip to it),
//   against opening a bare dialog with the same tab control and eight tabs in this program;
// - from the tray's "フォント" command until the dialog shows that page with its font list
//   holding every installed family and answers input, against listing the same families in this
//   program (EnumFontFamiliesA on the screen, "@" names left out, each name once, into a sorted
//   list box of a bare window that is then shown and answers input);
// - a confirmed dialog from "&Ok" until "Mirto.ini" has been written (hot keys, hook and skin
//   taken down and set up again, the file replaced).
// With the sample skins beside the program and the skin library: a confirmed skin change (Kiri
// and Maru in turn, so that every run changes the skin) from "&Ok" until the menu window has the
// new skin's size and shape (a window region for Maru, none for Kiri), against the same skin's
// set-up alone in this program (the definition read, TListImage::LoadSkinData with the region,
// a bare window given the size and the region), and until "Mirto.ini" has been written.
//
// Usage: bench_settings [runs]   (default 10)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Clock.h"
#include "DialogPages.h"
#include "Harness.h"
#include "dialogs/AppearanceRules.h"
#include "dialogs/TabAppearanceIds.h"
#include "dialogs/SettingsDialogIds.h"
#include "menu/SkinDefinition.h"
#include "menu/ListImage.h"
#include "settings/IniStr.h"

namespace {
using bench::NowMicroseconds;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int Fail(const char* what) {
    std::fprintf(stderr, "bench_settings: %s\n", what);
    return 1;
}

std::string Settings() {
    std::string text = "[Window]\r\nPosition=0\r\n";
    for (int page = 1; page <= 3; ++page)
        for (int key = 0; key < 26; ++key) {
            text +=
                "[Page." + std::to_string(page) + "-" + std::string(1, char('A' + key)) + "]\r\n";
            text += "Name=entry " + std::to_string(page) + std::string(1, char('A' + key)) + "\r\n";
            text += "Path=C:\\windows\\notepad.exe\r\n";
        }
    return text;
}

HWND FindSettings(DWORD process) {
    HWND found = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        char caption[32] = {};
        GetWindowTextA(w, caption, sizeof caption);
        if (owner == process && IsWindowVisible(w) && std::string(caption) == "詳細設定") found = w;
    }
    return found;
}

// The floor: a dialog of this program with the same kind of tab control and eight tabs.
INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | TCS_MULTILINE, 8, 8,
                                436, 380, dialog, nullptr, nullptr, nullptr);
    const char* const captions[] = {"ランチャ", "クリップボード", "メニュー", "ウィンドウ操作",
                                    "フォント", "背景",           "表示位置", "バージョン情報"};
    for (int i = 0; i < 8; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(captions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    SetWindowPos(dialog, nullptr, 0, 0, 460, 452, SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

double OpenFloor() {
    struct {
        DLGTEMPLATE Template;
        WORD Menu = 0, Class = 0, Title = 0;
    } blank{{WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME, 0, 0, 0, 0, 300, 280}};
    const double start = NowMicroseconds();
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &blank.Template, nullptr,
                                             FloorProc, 0);
    UpdateWindow(dialog);
    RoundTrip(dialog);
    const double took = NowMicroseconds() - start;
    DestroyWindow(dialog);
    return took;
}

// Polls about every millisecond while this thread's messages are pumped (WaitFor's 20 ms steps
// would blur the shorter figures).
template <class Condition> bool WaitFine(Condition condition, double timeoutMs = 20000) {
    const double start = NowMicroseconds();
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (NowMicroseconds() - start > timeoutMs * 1000) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

// A control of the dialog's pages by its identifier.
HWND Control(HWND dialog, int id) {
    return FindControl(dialog, id);
}

LRESULT Lines(HWND list) {
    return list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : -1;
}

// The floor of the font page: the installed families listed as the page lists them, in a sorted
// list box of a bare window of this program, shown and answering. Gives the number of lines.
double ListFontsFloor(LRESULT& lines) {
    const double start = NowMicroseconds();
    HWND window = CreateWindowExA(0, "STATIC", "fonts", WS_POPUP | WS_CAPTION, 40, 40, 460, 452,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_SORT | LBS_NOTIFY, 8, 8,
                                240, 160, window, nullptr, nullptr, nullptr);
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesA(
        screen, nullptr,
        [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM target) -> int {
            const HWND to = reinterpret_cast<HWND>(target);
            const std::string name = FontListName(font->lfFaceName);
            if (!name.empty() && SendMessageA(to, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(name.c_str())) == LB_ERR)
                SendMessageA(to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            return 1;
        },
        reinterpret_cast<LPARAM>(list));
    ReleaseDC(nullptr, screen);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    RoundTrip(window);
    const double took = NowMicroseconds() - start;
    lines = Lines(list);
    DestroyWindow(window);
    return took;
}

// The floor of a skin change: what the program does to set up a skin file (read, load with the
// region, the window's size and shape), on a bare window of this program.
class TSkinFloor {
public:
    explicit TSkinFloor(int dpi) {
        Host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 720, 480, nullptr, nullptr, nullptr,
                               nullptr);
        Ready = Host && List.Create(Host, 720, 480);
        TSkinInfo ignored;
        List.SetDpi(dpi, ignored);
    }
    ~TSkinFloor() {
        if (Host) DestroyWindow(Host);
    }
    // The set-up's time in microseconds, negative when the skin does not load.
    double SetUp(const std::string& path) {
        const double start = NowMicroseconds();
        TIniStringList file;
        file.LoadFromFile(path);
        TSkinInfo info;
        info.Path = path;
        std::string error;
        HRGN region = nullptr;
        if (!Ready || !List.LoadSkinData(info, file.Items(), error, &region)) return -1;
        SetWindowPos(Host, nullptr, 0, 0, info.Width, info.Height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!SetWindowRgn(Host, region, TRUE) && region) DeleteObject(region);
        return NowMicroseconds() - start;
    }

private:
    HWND Host = nullptr;
    TListImage List;
    bool Ready = false;
};

// Hiding a shown top-level window of this program, as the closing dialog is hidden. Under Wine
// on a display without a window manager the hide waits for the display to confirm it, which does
// not come (about 2 s); the program pays the same between "&Ok" and the applying.
double HideShownWindow() {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 300,
                                  200, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(window);
    WaitFor([] { return false; }, 100);
    const double start = NowMicroseconds();
    ShowWindow(window, SW_HIDE);
    const double took = NowMicroseconds() - start;
    DestroyWindow(window);
    return took;
}

ULONGLONG WriteTime(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// Waits until the dialog has gone and the menu is hidden again, and lets the program settle.
void Settle(const TMirto& mirto) {
    WaitFor([&] { return FindSettings(mirto.ProcessId()) == nullptr; });
    WaitFor([&] { return IsWindowVisible(mirto.Form()) == FALSE; });
    Sleep(300);
}

void Print(const char* what, double value, const char* unit) {
    std::printf("  %-44s %9.1f %s\n", what, value, unit);
}

// The dialog with 78 entries: opening it, opening it on the font page, confirming it.
int DialogRuns(int runs) {
    TProgramFolder folder;
    if (!folder.Ready()) return Fail("cannot lay out the program folder (is MIRTO_BIN set?)");
    folder.Write("Mirto.ini", Settings());
    TMirto mirto(folder);
    if (!mirto.WaitResident()) return Fail("the program did not become resident");
    const HWND form = mirto.Form();
    const std::string file = folder.FilePath("Mirto.ini");

    std::vector<double> open, floor, apply, fontPage, fontFloor;
    LRESULT fonts = 0, listed = 0;
    for (int run = 0; run < runs; ++run) {
        floor.push_back(OpenFloor());
        double start = NowMicroseconds();
        PostMessageA(form, WM_COMMAND, 101, 0);
        HWND dialog = nullptr;
        if (!WaitFor([&] { return (dialog = FindSettings(mirto.ProcessId())) != nullptr; }) ||
            !RoundTrip(dialog))
            return Fail("the dialog did not open");
        open.push_back(NowMicroseconds() - start);
        // "&Ok" until the settings file is replaced (the dialog's size follows it), once the
        // dialog has made its other pages, as it has by the time a user has looked at it.
        if (!WaitFor([&] { return DialogPagesMade(dialog); }))
            return Fail("the dialog did not make its pages");
        const ULONGLONG before = WriteTime(file);
        start = NowMicroseconds();
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (!WaitFor([&] { return WriteTime(file) != before; }, 20000))
            return Fail("nothing was written");
        apply.push_back(NowMicroseconds() - start);
        Settle(mirto);

        // The font page: shown with its list filled (the other pages are made after it).
        fontFloor.push_back(ListFontsFloor(fonts));
        start = NowMicroseconds();
        PostMessageA(form, WM_COMMAND, 105, 0);
        if (!WaitFine([&] {
                dialog = FindSettings(mirto.ProcessId());
                return dialog &&
                       SendDlgItemMessageA(dialog, IDC_PAGECONTROL1, TCM_GETCURSEL, 0, 0) == 4 &&
                       Lines(Control(dialog, IDC_LISTBOX1)) > 0;
            }) ||
            !RoundTrip(dialog))
            return Fail("the dialog did not open on the font page");
        fontPage.push_back(NowMicroseconds() - start);
        listed = Lines(Control(dialog, IDC_LISTBOX1));
        if (listed != fonts) {
            std::fprintf(stderr,
                         "bench_settings: the font page lists %ld families, this program %ld\n",
                         static_cast<long>(listed), static_cast<long>(fonts));
            return 1;
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        Settle(mirto);
    }
    mirto.Stop();
    std::printf("settings dialog, 78 entries: medians of %d runs\n", runs);
    Print("tray command to dialog ready (Mirto.exe)", Median(open) / 1000, "ms");
    Print("floor: bare dialog with the tab control", Median(floor) / 1000, "ms");
    Print("ratio", Median(open) / Median(floor), "x");
    Print("Ok to Mirto.ini written (apply and save)", Median(apply) / 1000, "ms");
    std::printf("font page, %ld font families listed\n", static_cast<long>(fonts));
    Print("tray command to font page ready (Mirto.exe)", Median(fontPage) / 1000, "ms");
    Print("floor: the families into a bare list box", Median(fontFloor) / 1000, "ms");
    Print("ratio", Median(fontPage) / Median(fontFloor), "x   (goal: within 5 x)");
    return 0;
}

// Confirmed skin changes, Kiri to Maru and back.
int SkinRuns(int runs, int dpi) {
    TProgramFolder folder("Mirto.dll", "Skin.dll");
    if (!folder.Ready() || !folder.CopySkins(MIRTO_SAMPLE_SKINS))
        return Fail("cannot lay out the program folder with the sample skins");
    folder.Write("Mirto.ini", "[Setting]\r\nSkin=Skin\\Kiri.ini\r\n[Window]\r\nPosition=0\r\n");
    struct TSkin {
        const char* Name;
        std::string Path;
        int Width, Height;
        bool Shaped;
    } const skins[] = {
        {"Kiri", folder.FilePath("Skin\\Kiri.ini"), 560 * dpi / 96, 380 * dpi / 96, false},
        {"Maru", folder.FilePath("Skin\\Maru.ini"), 520 * dpi / 96, 340 * dpi / 96, true}};
    TSkinFloor floor(dpi);
    for (const TSkin& skin : skins)
        if (floor.SetUp(skin.Path) < 0) return Fail("a sample skin does not load here");

    TMirto mirto(folder);
    if (!mirto.WaitResident()) return Fail("the program did not become resident");
    const HWND form = mirto.Form();
    const std::string file = folder.FilePath("Mirto.ini");
    // The menu window as the skin makes it: its size, and a region exactly when the skin is
    // shaped.
    auto shows = [&](const TSkin& skin) {
        const RECT r = WindowRect(form);
        if (r.right - r.left != skin.Width || r.bottom - r.top != skin.Height) return false;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(form, region);
        DeleteObject(region);
        return skin.Shaped ? kind == COMPLEXREGION : kind == ERROR;
    };
    if (!WaitFor([&] { return shows(skins[0]); })) return Fail("Kiri is not the menu's skin");

    std::vector<double> sized[2], floors[2], saved[2], hides;
    for (int run = 0; run < runs; ++run) {
        const int to = (run + 1) % 2;
        floors[to].push_back(floor.SetUp(skins[to].Path));
        hides.push_back(HideShownWindow());
        PostMessageA(form, WM_COMMAND, 106, 0);
        HWND dialog = nullptr, list = nullptr;
        if (!WaitFor([&] {
                dialog = FindSettings(mirto.ProcessId());
                return dialog && (list = Control(dialog, IDC_LISTBOX2)) != nullptr;
            }) ||
            !RoundTrip(dialog))
            return Fail("the dialog did not open on the skin page");
        // The standard background, then the two skins: the one not in use is chosen.
        const LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (Lines(list) != 3 || (current != 1 && current != 2))
            return Fail("the skin list is not the standard background and the two skins");
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(3 - current), 0);
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_LISTBOX2, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        RoundTrip(dialog);
        if (!WaitFor([&] { return DialogPagesMade(dialog); }))
            return Fail("the dialog did not make its pages");

        const ULONGLONG before = WriteTime(file);
        const double start = NowMicroseconds();
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (!WaitFine([&] { return shows(skins[to]); }))
            return Fail("the menu window did not take the new skin");
        sized[to].push_back(NowMicroseconds() - start);
        if (!WaitFine([&] { return WriteTime(file) != before; }))
            return Fail("nothing was written");
        saved[to].push_back(NowMicroseconds() - start);
        Settle(mirto);
    }
    mirto.Stop();
    std::printf("confirmed skin change, medians of %d runs each way (display at %d dpi)\n",
                (runs + 1) / 2, dpi);
    for (int to : {1, 0}) {
        const TSkin& skin = skins[to];
        std::printf(" to %s (%d x %d%s)\n", skin.Name, skin.Width, skin.Height,
                    skin.Shaped ? ", shaped" : "");
        Print("Ok to the menu window's size and shape", Median(sized[to]) / 1000, "ms");
        Print("floor: the skin's set-up alone", Median(floors[to]) / 1000, "ms");
        Print("ratio", Median(sized[to]) / Median(floors[to]), "x");
        Print("Ok to Mirto.ini written", Median(saved[to]) / 1000, "ms");
    }
    Print("a shown window's hiding in this program", Median(hides) / 1000, "ms");
    std::printf(
        "  Ok to the size is, besides the set-up: the dialog's checks, its hiding (the figure\n"
        "  above) and closing, the menu hidden, the hot keys and the hook taken down, the\n"
        "  other settings applied and the hot keys registered again. The hook set up again,\n"
        "  the tray pictures and the file written follow the size, up to Mirto.ini written.\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    InitCommonControls();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const int failed = DialogRuns(runs)) return failed;
    return SkinRuns(std::max(runs, 2), dpi);
}
