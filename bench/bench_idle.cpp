// What the resident program costs while nobody uses it: Mirto.exe started with a settings file
// in a folder of its own (the clipboard menu's capture on, as by default, and the history saved),
// measured for 10 s once resident with its menu hidden (and again for 10 s after the menu has been
// called once and hidden again), beside two bare Win32 programs measured over the same 10 s: this
// program started again as a child that makes one hidden window and waits in GetMessage, once with
// no timer and once with a 1 s window timer (what a menu poll left running while hidden would cost;
// it shows that the measure sees it). Then, for another 10 s, the program again in a folder of its
// own with the largest sample skin (Kiri) after one call, beside the bare program once more.
// The first program is measured once more when its menu has been hidden for half a minute (the
// program then gives up the menu's composed surface, kept until then for the next call), and
// half a minute after its settings dialog was opened and closed (the menu shows behind the
// dialog); the skinned programs half a minute after their call.
//
// Windows gives no count of another process's messages or timers without injecting a library,
// and Wine does not keep CPU times or private memory for other processes (GetProcessTimes and
// PrivateUsage answer 0). Under Wine each Windows process is a Linux process, so the figures come
// from the kernel, read through drive Z:, summed over all the process's threads:
// - CPU ms: /proc/<pid>/task/*/schedstat, time on the CPU;
// - wake-ups: /proc/<pid>/task/*/status, voluntary + nonvoluntary context switches: every
//   message that wakes an idle loop is at least one;
// - private KiB: /proc/<pid>/smaps_rollup, Private_Clean + Private_Dirty, after start-up (this
//   includes Wine's own per-process memory, hence the bare program beside it);
// - dirty KiB: Private_Dirty alone, what the process holds that the system cannot drop (clean
//   pages are file pages, read again when needed), and its ratio to the bare program's;
// - where the dirty memory lies, from /proc/<pid>/smaps by address: each Windows module's image,
//   Wine's Unix libraries, the Unix heap, the anonymous rest (Windows heaps, bitmaps, stacks).
// Where there is no /proc the columns say n/a.
//
// Usage: bench_idle [seconds]   (default 10)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Harness.h"
#include "ProcStats.h"

namespace {
using namespace bench;

const char IdleSwitch[] = "--idle-child";
// Past the half minute after which the hidden menu gives up its composed surface.
constexpr DWORD HiddenLongEnough = 32000;

// The child: a bare hidden window and a message loop, with an optional window timer.
int RunIdleChild(int timerMs) {
    HWND window = CreateWindowExA(0, "STATIC", "idle", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (timerMs > 0) SetTimer(window, 1, static_cast<UINT>(timerMs), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(window);
    return 0;
}

struct TMeasured {
    const char* Name;
    std::string Pid;
    TSample Before, After;
    TPrivate Memory;
};

void PrintHeading() {
    std::printf("  %-36s %8s %9s %12s %10s %8s\n", "", "CPU ms", "wake-ups", "private KiB",
                "dirty KiB", "x bare");
}

void PrintRow(const TMeasured& m, long long bareDirty) {
    char cpu[32] = "n/a", wakeUps[32] = "n/a", memory[32] = "n/a", dirty[32] = "n/a",
         ratio[32] = "n/a";
    if (m.Before.Known && m.After.Known) {
        std::snprintf(cpu, sizeof cpu, "%.1f", m.After.CpuMs - m.Before.CpuMs);
        std::snprintf(wakeUps, sizeof wakeUps, "%lld", m.After.WakeUps - m.Before.WakeUps);
    }
    if (m.Memory.TotalKiB() >= 0) {
        std::snprintf(memory, sizeof memory, "%lld", m.Memory.TotalKiB());
        std::snprintf(dirty, sizeof dirty, "%lld", m.Memory.DirtyKiB);
        if (bareDirty > 0)
            std::snprintf(ratio, sizeof ratio, "%.2f",
                          static_cast<double>(m.Memory.DirtyKiB) / static_cast<double>(bareDirty));
    }
    std::printf("  %-36s %8s %9s %12s %10s %8s\n", m.Name, cpu, wakeUps, memory, dirty, ratio);
}

// The dirty memory of each state by where it lies, one column a state.
struct TPlaces {
    const char* Name;
    std::map<std::string, long long> KiB;
};

void PrintPlaces(const std::vector<TPlaces>& columns) {
    std::vector<std::string> places;
    for (const TPlaces& column : columns)
        for (const auto& [place, kib] : column.KiB)
            if (std::find(places.begin(), places.end(), place) == places.end())
                places.push_back(place);
    std::printf("  %-36s", "private dirty KiB by place");
    for (const TPlaces& column : columns)
        std::printf(" %12s", column.Name);
    std::printf("\n");
    std::vector<long long> totals(columns.size(), 0);
    for (const std::string& place : places) {
        std::printf("  %-36s", place.c_str());
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto found = columns[c].KiB.find(place);
            const long long kib = found == columns[c].KiB.end() ? 0 : found->second;
            totals[c] += kib;
            std::printf(" %12lld", kib);
        }
        std::printf("\n");
    }
    std::printf("  %-36s", "sum");
    for (long long total : totals)
        std::printf(" %12lld", total);
    std::printf("\n");
}

class TChild {
public:
    TChild(int timerMs) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        Tag = "idle-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(timerMs);
        std::string commandLine(1, '"');
        commandLine.append(self).append("\" ").append(IdleSwitch).append(" ").append(Tag);
        commandLine.append(" ").append(std::to_string(timerMs));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            Process = info.hProcess;
            WaitForInputIdle(Process, 10000);
        }
    }
    ~TChild() {
        if (Process == nullptr) return;
        TerminateProcess(Process, 0);
        WaitForSingleObject(Process, 10000);
        CloseHandle(Process);
    }
    bool Started() const { return Process != nullptr; }
    HANDLE Handle() const { return Process; }
    std::string Tag;

private:
    HANDLE Process = nullptr;
};

int Fail(const char* what) {
    std::printf("bench_idle: %s\n", what);
    return 1;
}

// Calls the menu from the key window and lets it hide again.
bool CallOnce(HWND form, TTestWindow& keys) {
    if (!keys.Focus()) return false;
    KeyDown(VK_CONTROL);
    KeyDown(VK_MENU);
    const bool shown = WaitFor([&] { return IsWindowVisible(form) != FALSE; });
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    return shown && WaitFor([&] { return !IsWindowVisible(form); }) && RoundTrip(form);
}

// The program's visible dialog window, or none.
HWND VisibleDialogOf(DWORD process) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Opens the settings dialog from the tray's command, lets it answer, and cancels it.
bool OpenAndCloseSettings(const TMirto& mirto) {
    PostMessageA(mirto.Form(), WM_COMMAND, 101, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = VisibleDialogOf(mirto.ProcessId())) != nullptr; }) ||
        !RoundTrip(dialog))
        return false;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitFor([&] { return VisibleDialogOf(mirto.ProcessId()) == nullptr; }) &&
           WaitFor([&] { return !IsWindowVisible(mirto.Form()); }) && RoundTrip(mirto.Form());
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::string(argv[1]) == IdleSwitch) return RunIdleChild(std::atoi(argv[3]));
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    TProgramFolder folder;
    if (!folder.Ready()) return Fail("cannot lay out the program folder (is MIRTO_BIN set?)");
    folder.Write("Mirto.ini", "[Window]\r\nPosition=0\r\n[Clipboard]\r\nSaveHistory=1\r\n");
    TMirto mirto(folder);
    if (!mirto.WaitResident()) return Fail("the program did not become resident");
    if (IsWindowVisible(mirto.Form())) return Fail("the menu is shown");
    TChild bare(0), ticking(1000);
    if (!bare.Started() || !ticking.Started()) return Fail("cannot start the bare programs");

    // Let every process finish its start-up work before the measured span.
    WaitFor([] { return false; }, 2000);
    const std::string programPid = LinuxProcessOf(folder.Path(), "Mirto.exe");
    // The 32-bit hook's companion runs as long as the hook is installed.
    const std::string companionPid = LinuxProcessOf(folder.Path(), "Hook32.exe");
    TMeasured rows[] = {
        {"Mirto.exe, resident, never shown", programPid, {}, {}, {}},
        {"Hook32.exe beside it", companionPid, {}, {}, {}},
        {"bare Win32 program", LinuxProcessWith(bare.Tag), {}, {}, {}},
        {"bare program with a 1 s timer", LinuxProcessWith(ticking.Tag), {}, {}, {}},
        {"Mirto.exe, after one call", programPid, {}, {}, {}},
        {"Hook32.exe, after one call", companionPid, {}, {}, {}},
        {"Mirto.exe, the menu hidden 30 s", programPid, {}, {}, {}},
        {"Mirto.exe, after the settings dialog", programPid, {}, {}, {}},
    };
    auto measure = [&](TMeasured* first, TMeasured* last) {
        for (TMeasured* row = first; row != last; ++row)
            row->Before = Sample(row->Pid);
        WaitFor([] { return false; }, static_cast<DWORD>(seconds) * 1000);
        for (TMeasured* row = first; row != last; ++row) {
            row->After = Sample(row->Pid);
            row->Memory = PrivateMemory(row->Pid);
        }
        return mirto.Running() && !IsWindowVisible(mirto.Form());
    };
    bool valid = measure(rows, rows + 4);

    // The program's usual state: the menu was called once and is hidden again.
    const POINT spot = ParkPointer();
    // An application's window to the window manager, which then gives it the X focus (and so the
    // keys) each time it is brought to the foreground, after the other programs' windows too.
    TTestWindow keys("keys", WS_POPUP | WS_VISIBLE, spot.x - 12, spot.y - 12, 24, 24,
                     RGB(255, 255, 255), WS_EX_APPWINDOW);
    if (!CallOnce(mirto.Form(), keys)) return Fail("the menu did not come and go");
    WaitFor([] { return false; }, 2000);
    valid = measure(rows + 4, rows + 6) && valid;
    std::vector<TPlaces> places = {{"bare", DirtyByPlace(rows[2].Pid, bare.Handle())},
                                   {"plain, call", DirtyByPlace(programPid, mirto.ProcessHandle())}};
    // The program gives up the menu's composed surface once the menu has been hidden for 30 s.
    WaitFor([] { return false; }, HiddenLongEnough);
    valid = measure(rows + 6, rows + 7) && valid;
    places.push_back({"plain, 30 s", DirtyByPlace(programPid, mirto.ProcessHandle())});

    // The settings dialog opened (every page made and filled) and cancelled.
    if (!OpenAndCloseSettings(mirto)) return Fail("the settings dialog did not come and go");
    WaitFor([] { return false; }, HiddenLongEnough);
    valid = measure(rows + 7, rows + 8) && valid;
    places.push_back({"dialog", DirtyByPlace(programPid, mirto.ProcessHandle())});

    // The same program with the largest sample skin (Kiri, 560 x 380: its composed picture, marks
    // and palette stay in memory), and then with the standard background of the shipped skin
    // library, each in a folder of its own once the one before has ended, after one call; the
    // bare programs run on beside them.
    mirto.Stop();
    RECT kiriRect{};
    auto skinned = [&](const char* name, const char* column, const char* skin,
                       RECT* size) -> TMeasured {
        TMeasured row{name, {}, {}, {}, {}};
        TProgramFolder folder("Mirto.dll", "Skin.dll");
        if (!folder.Ready() || !folder.CopySkins(MIRTO_SAMPLE_SKINS)) return row;
        folder.Write("Mirto.ini", std::string("[Setting]\r\nSkin=") + skin +
                                      "\r\n[Window]\r\nPosition=0\r\n[Clipboard]\r\nSaveHistory=1\r\n");
        TMirto program(folder);
        if (!program.WaitResident() || !CallOnce(program.Form(), keys)) return row;
        WaitFor([] { return false; }, HiddenLongEnough);
        row.Pid = LinuxProcessOf(folder.Path(), "Mirto.exe");
        row.Before = Sample(row.Pid);
        WaitFor([] { return false; }, static_cast<DWORD>(seconds) * 1000);
        row.After = Sample(row.Pid);
        row.Memory = PrivateMemory(row.Pid);
        places.push_back({column, DirtyByPlace(row.Pid, program.ProcessHandle())});
        if (size) GetWindowRect(program.Form(), size);
        return row;
    };
    TMeasured skinRows[] = {
        skinned("Mirto.exe with Kiri, after a call", "Kiri, call", "Skin\\Kiri.ini", &kiriRect),
        skinned("Mirto.exe, standard, after a call", "standard", "", nullptr),
        {"bare Win32 program", rows[2].Pid, {}, {}, PrivateMemory(rows[2].Pid)},
    };
    if (skinRows[0].Pid.empty() || skinRows[1].Pid.empty())
        return Fail("a skinned program's menu did not come and go");
    // The skin's pixels: its picture at 24 bits per pixel, the size the menu window took.
    const long long skinKiB =
        3LL * (kiriRect.right - kiriRect.left) * (kiriRect.bottom - kiriRect.top) / 1024;

    const long long bareDirty = rows[2].Memory.DirtyKiB;
    std::printf("idle for %d s with the menu hidden%s\n", seconds,
                valid ? "" : " (the menu showed or the program ended: not valid)");
    PrintHeading();
    for (const TMeasured& row : rows)
        PrintRow(row, bareDirty);
    std::printf("  (goal: dirty KiB within 1.5 x the bare program with the plain look)\n");
    std::printf("\nMirto.exe with the largest sample skin, and with the standard background, "
                "another %d s each\n", seconds);
    for (const TMeasured& row : skinRows)
        PrintRow(row, skinRows[2].Memory.DirtyKiB);
    std::printf("  Kiri's picture: %ld x %ld, %lld KiB at 24 bits per pixel\n"
                "  (goal: dirty KiB within bare + 2 x the skin's pixel bytes: %lld KiB)\n\n",
                kiriRect.right - kiriRect.left, kiriRect.bottom - kiriRect.top, skinKiB,
                skinRows[2].Memory.DirtyKiB + 2 * skinKiB);
    PrintPlaces(places);
    return 0;
}
