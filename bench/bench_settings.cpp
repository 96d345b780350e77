// The settings dialog of the real Mirto.exe (78 registered entries): how long from the tray's
// command until the dialog is shown and answers input (a round trip to it), against opening a
// bare dialog with the same tab control and eight tabs in this program in the same run; and how
// long a confirmed dialog takes from "&Ok" until "Mirto.ini" has been written (hot keys, hook
// and skin taken down and set up again, the file replaced). Medians of N runs.
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
#include "Harness.h"

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

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    InitCommonControls();
    TProgramFolder folder;
    if (!folder.Ready()) return Fail("cannot lay out the program folder (is MIRTO_BIN set?)");
    folder.Write("Mirto.ini", Settings());
    TMirto mirto(folder);
    if (!mirto.WaitResident()) return Fail("the program did not become resident");
    const HWND form = mirto.Form();
    const std::string file = folder.FilePath("Mirto.ini");
    auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
        return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
    };

    std::vector<double> open, floor, apply;
    for (int run = 0; run < runs; ++run) {
        floor.push_back(OpenFloor());
        double start = NowMicroseconds();
        PostMessageA(form, WM_COMMAND, 101, 0);
        HWND dialog = nullptr;
        if (!WaitFor([&] { return (dialog = FindSettings(mirto.ProcessId())) != nullptr; }) ||
            !RoundTrip(dialog))
            return Fail("the dialog did not open");
        open.push_back(NowMicroseconds() - start);
        // "&Ok" until the settings file is replaced (the dialog's size follows it).
        const ULONGLONG before = written();
        start = NowMicroseconds();
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (!WaitFor([&] { return written() != before; }, 20000))
            return Fail("nothing was written");
        apply.push_back(NowMicroseconds() - start);
        if (!WaitFor([&] { return FindSettings(mirto.ProcessId()) == nullptr; }))
            return Fail("the dialog stayed");
        WaitFor([&] { return IsWindowVisible(form) == FALSE; });
        Sleep(300);
    }
    mirto.Stop();
    std::printf("settings dialog, 78 entries: medians of %d runs\n", runs);
    std::printf("  %-44s %9.1f ms\n", "tray command to dialog ready (Mirto.exe)",
                Median(open) / 1000);
    std::printf("  %-44s %9.1f ms\n", "floor: bare dialog with the tab control",
                Median(floor) / 1000);
    std::printf("  %-44s %9.1f x\n", "ratio", Median(open) / Median(floor));
    std::printf("  %-44s %9.1f ms\n", "Ok to Mirto.ini written (apply and save)",
                Median(apply) / 1000);
    return 0;
}
