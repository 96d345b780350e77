// The menu's drawing on the real platform: what a full repaint of a page of 26 Japanese lines
// costs (background, every line glyph by glyph, the marks, one copy to the screen), against a
// new choice (two lines redrawn on the kept surface and copied to the screen) and against a
// repaint from the kept surface alone (the menu shown again). Median of many runs each, in
// microseconds, with the ratios between them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "Clock.h"
#include "menu/ListImage.h"

namespace {

const char HostClassName[] = "BenchPaintHost";

double Now() {
    return bench::NowMicroseconds();
}

// Microseconds per run, the median of the given number of runs after a few to warm up.
double Median(int runs, const std::function<void()>& run) {
    for (int i = 0; i < 5; ++i)
        run();
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        run();
        GdiFlush();
        times.push_back(Now() - start);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

TStringList JapaneseLines() {
    const char* const names[] = {"メモ帳",       "電卓",
                                 "ペイント",     "コマンド プロンプト",
                                 "Mirto 設定",   "エクスプローラー",
                                 "ワードパッド", "タスク マネージャー",
                                 "二行の\n名前", "Excel 2003",
                                 "ｶﾀｶﾅ ﾃｷｽﾄ",    "フォルダー\t(タブ)",
                                 "ペイント 3D",  "メール",
                                 "カレンダー",   "地図",
                                 "写真",         "音楽",
                                 "動画",         "天気",
                                 "ニュース",     "辞書 ABC",
                                 "時計",         "カメラ",
                                 "設定",         "ヘルプ"};
    TStringList lines;
    for (const char* name : names)
        lines.Add(name);
    return lines;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

int main() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = HostClassName;
    RegisterClassExA(&wc);
    HWND host = CreateWindowExA(0, HostClassName, "bench_paint", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                720, 480, nullptr, nullptr, wc.hInstance, nullptr);
    TListImage list;
    if (!host || !list.Create(host, 720, 480)) {
        std::fprintf(stderr, "bench_paint: no window (is there a display?)\n");
        return 1;
    }
    TMenuImage& menu = list.Menu();
    menu.SetLeft(64);
    menu.SetTop(32);
    menu.SetWidth(400);
    menu.SetHeight(220);
    menu.UpdateColumnWidth();
    menu.SetSelectColor(0xFF0000);
    menu.SetNormalColor(0xFFFF00);
    menu.SetItems(JapaneseLines());
    ShowWindow(host, SW_SHOW);
    SetForegroundWindow(host);
    SetFocus(list);
    UpdateWindow(host);
    Pump();

    // A full repaint: the whole control invalidated, then painted through WM_PAINT.
    const double full = Median(300, [&] {
        list.Invalidate();
        UpdateWindow(list);
    });
    // A new choice: the old and the new line, alternating between two lines of both columns.
    int step = 0;
    const double choice = Median(3000, [&] { menu.SetItemIndex(step++ % 2 == 0 ? 2 : 18); });
    // The menu shown again: the window asks for a paint, the kept surface is copied.
    const double expose = Median(1000, [&] {
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
    });

    std::printf("%-52s %12s\n", "operation (page of 26 Japanese lines, 720 x 480)", "us median");
    std::printf("%-52s %12.1f\n", "full repaint (compose + copy)", full);
    std::printf("%-52s %12.1f\n", "choice change (two lines + two copies)", choice);
    std::printf("%-52s %12.1f\n", "repaint from the kept surface (copy only)", expose);
    std::printf("\nfull repaint / choice change: %.1f\n", full / choice);
    std::printf("full repaint / repaint from the kept surface: %.1f\n", full / expose);
    list.Destroy();
    DestroyWindow(host);
    return 0;
}
