// What the clipboard menu costs, on the real Mirto.exe driven as a user would, medians of
// [count] (default 20):
// - capture: a text copied by another program (this one) until the program has taken the change,
//   with the menu hidden and 78 texts in the history (every copy pushes the oldest out), against
//   the bare cost of this program hearing of the same change and reading the text off the
//   clipboard (open, Unicode text, code page 932, close), also less the two round trips that
//   tell this program the capture is over; beside it the program's CPU and wake-ups per copied
//   text, from /proc, with the round trips' own wake-ups;
// - paste: from releasing the call keys with a history line chosen to its text arriving in the
//   edit window of another program, against the floor of typing Control + V into the same
//   window, typed through the X server from here (goal: within 1.5x); the part from the
//   program's clipboard write (heard by this program's listener) to the arrival is shown too:
//   the paste proper.
//
// Usage: bench_clipboard [count]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Clock.h"
#include "Harness.h"
#include "ProcStats.h"

namespace {
using namespace bench;

double NowMs() {
    return NowMicroseconds() / 1000.0;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The clipboard's text as the program keeps it: Unicode converted to code page 932.
std::string ReadClipboardAnsi() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto* wide = static_cast<const wchar_t*>(GlobalLock(data));
        const int size = WideCharToMultiByte(932, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        text.resize(size > 0 ? size - 1 : 0);
        WideCharToMultiByte(932, 0, wide, -1, text.data(), size, nullptr, nullptr);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::wstring Numbered(const wchar_t* stem, int i) {
    std::wstring text = stem;
    text.append(std::to_wstring(i));
    return text;
}

int Fail(const char* what) {
    std::printf("bench_clipboard: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;

    TProgramFolder folder;
    if (!folder.Ready()) return Fail("cannot lay out the program folder (is MIRTO_BIN set?)");
    folder.Write("Mirto.ini", "[Window]\r\nPosition=0\r\n");
    TMirto mirto(folder);
    if (!mirto.WaitResident()) return Fail("the program did not become resident");
    TClipboardListener listener;
    TTarget target("Target64.exe");
    if (target.Handle() == nullptr) return Fail("cannot start the edit window's program");
    const std::string pid = LinuxProcessOf(folder.Path(), "Mirto.exe");

    auto copy = [&](const std::wstring& text) {
        const LONG_PTR seen = listener.Updates();
        return PutClipboardText(text) && listener.WaitChangeTaken(seen, mirto.Form());
    };
    for (int i = 0; i < 78; ++i)
        if (!copy(Numbered(L"履歴の行 その", i))) return Fail("a copy was not taken");

    // Capture: a copy until the program has taken the change; and the bare cost: until this
    // program's own listener has been told of it, plus reading the text here once the program
    // is done with the clipboard (so that neither waits for the other).
    std::vector<double> capture, bare;
    const TSample before = Sample(pid);
    for (int i = 0; i < count; ++i) {
        const LONG_PTR seen = listener.Updates();
        const double start = NowMs();
        if (!PutClipboardText(Numbered(L"コピーした文 number ", i)) ||
            !WaitFor([&] { return listener.Updates() > seen; }))
            return Fail("a copy was not heard of");
        const double heard = NowMs();
        if (!RoundTrip(mirto.Form()) || !RoundTrip(mirto.Form()))
            return Fail("the program does not answer");
        capture.push_back(NowMs() - start);
        const double reading = NowMs();
        if (ReadClipboardAnsi().empty()) return Fail("cannot read the clipboard");
        bare.push_back(heard - start + NowMs() - reading);
    }
    const TSample after = Sample(pid);
    // What the two round trips that tell the capture's end cost on their own.
    std::vector<double> trips;
    for (int i = 0; i < count; ++i) {
        const double start = NowMs();
        RoundTrip(mirto.Form());
        RoundTrip(mirto.Form());
        trips.push_back(NowMs() - start);
    }
    const TSample afterTrips = Sample(pid);

    // Paste: the top history line chosen with A, then the keys released.
    std::vector<double> paste, afterWrite, floor;
    const std::wstring expected = Numbered(L"コピーした文 number ", count - 1);
    // Asked without pause (a wait's 20 ms turns would hide the figures). The moment the
    // program's own write to the clipboard is heard of is kept.
    double written = 0;
    auto arrived = [&] {
        const double start = NowMs();
        const LONG_PTR seen = listener.Updates();
        written = 0;
        while (target.Text() != expected) {
            if (NowMs() - start > 5000) return false;
            PumpMessages();
            if (written == 0 && listener.Updates() > seen) written = NowMs();
        }
        if (written == 0) written = NowMs();
        return true;
    };
    // A pass in which the menu hid before the keys were released is repeated and counted: with
    // the keys typed through the X server there should be none.
    int repeated = 0;
    while (static_cast<int>(paste.size()) < count) {
        if (repeated > 3 * count) return Fail("the menu kept hiding before the keys were released");
        target.SetText(L"");
        const bool shown = HoldUntilMenu(mirto.Form(), VK_SHIFT, VK_MENU, [&] { target.Focus(); });
        if (!shown) return Fail("the clipboard menu did not come");
        KeyDown('A');
        KeyUp('A');
        WaitFor([] { return false; }, 100);
        const bool early = !IsWindowVisible(mirto.Form()) || !target.Text().empty();
        // The release and the floor's keys each go to the X server in one run of xdotool, so
        // that both carry the same cost of starting it.
        const double start = NowMs();
        ReleaseKeys({VK_MENU, VK_SHIFT});
        if (!arrived()) return Fail("the chosen text did not arrive");
        if (early) {
            ++repeated;
            continue;
        }
        const double end = NowMs();
        paste.push_back(end - start);
        afterWrite.push_back(end - written);

        target.SetText(L"");
        const double typed = NowMs();
        PressKeys({VK_CONTROL, 'V'});
        if (!arrived()) return Fail("Control + V pasted nothing");
        floor.push_back(NowMs() - typed);
    }

    std::printf("clipboard menu, medians of %d\n", count);
    const double captured = Median(capture), read = Median(bare);
    std::printf("  capture, copy to taken (78 in the history) %8.2f ms\n", captured);
    std::printf("  bare, copy to heard and read here          %8.2f ms  (capture %.1fx)\n", read,
                read > 0 ? captured / read : 0.0);
    const double probe = Median(trips);
    std::printf("  of it, two round trips to the program      %8.2f ms\n", probe);
    // The round trips only tell this program when the capture is over: without them, what the
    // program's capture adds to hearing of the copy.
    std::printf("  capture less the round trips               %8.2f ms  (%.1fx the bare read, "
                "goal 3x)\n",
                captured - probe, read > 0 ? (captured - probe) / read : 0.0);
    if (before.Known && after.Known && afterTrips.Known) {
        const double trip = static_cast<double>(afterTrips.WakeUps - after.WakeUps) / count;
        std::printf("  program CPU per copied text               %8.2f ms, %.1f wake-ups (%.1f of "
                    "them the round trips')\n",
                    (after.CpuMs - before.CpuMs) / count,
                    static_cast<double>(after.WakeUps - before.WakeUps) / count, trip);
    }
    const double pasted = Median(paste), typed = Median(floor);
    std::printf("  paste, keys released to text arrived       %8.2f ms\n", pasted);
    const double proper = Median(afterWrite);
    std::printf("  of it, the program's clipboard write heard to text arrived %8.2f ms\n", proper);
    std::printf("  floor, Control + V typed to text arrived   %8.2f ms  (whole paste %.1fx, "
                "from the write %.1fx, goal 1.5x)\n",
                typed, typed > 0 ? pasted / typed : 0.0, typed > 0 ? proper / typed : 0.0);
    std::printf("  passes repeated (menu hid before the release) %d\n", repeated);
    return 0;
}
