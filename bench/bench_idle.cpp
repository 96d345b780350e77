// What the resident program costs while nobody uses it: Mirto.exe started with a settings file
// in a folder of its own (the clipboard menu's capture on, as by default, and the history saved),
// measured for 10 s once resident with its menu hidden (and again for 10 s after the menu has been
// called once and hidden again), beside two bare Win32 programs measured over the same 10 s: this
// program started again as a child that makes one hidden window and waits in GetMessage, once with
// no timer and once with a 1 s window timer (what a menu poll left running while hidden would cost;
// it shows that the measure sees it). Then, for another 10 s, the program again in a folder of its
// own with the largest sample skin (Kiri) after one call, beside the bare program once more.
//
// Windows gives no count of another process's messages or timers without injecting a library,
// and Wine does not keep CPU times or private memory for other processes (GetProcessTimes and
// PrivateUsage answer 0). Under Wine each Windows process is a Linux process, so the figures come
// from the kernel, read through drive Z:, summed over all the process's threads:
// - CPU ms: /proc/<pid>/task/*/schedstat, time on the CPU;
// - wake-ups: /proc/<pid>/task/*/status, voluntary + nonvoluntary context switches: every
//   message that wakes an idle loop is at least one;
// - private KiB: /proc/<pid>/smaps_rollup, Private_Clean + Private_Dirty, after start-up (this
//   includes Wine's own per-process memory, hence the bare program beside it).
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
    long long Private = -1;
};

void PrintRow(const TMeasured& m) {
    char cpu[32] = "n/a", wakeUps[32] = "n/a", memory[32] = "n/a";
    if (m.Before.Known && m.After.Known) {
        std::snprintf(cpu, sizeof cpu, "%.1f", m.After.CpuMs - m.Before.CpuMs);
        std::snprintf(wakeUps, sizeof wakeUps, "%lld", m.After.WakeUps - m.Before.WakeUps);
    }
    if (m.Private >= 0) std::snprintf(memory, sizeof memory, "%lld", m.Private);
    std::printf("  %-34s %10s %10s %12s\n", m.Name, cpu, wakeUps, memory);
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
        {"Mirto.exe, resident, never shown", programPid, {}, {}},
        {"Hook32.exe beside it", companionPid, {}, {}},
        {"bare Win32 program", LinuxProcessWith(bare.Tag), {}, {}},
        {"bare program with a 1 s timer", LinuxProcessWith(ticking.Tag), {}, {}},
        {"Mirto.exe, after one call", programPid, {}, {}},
        {"Hook32.exe, after one call", companionPid, {}, {}},
    };
    auto measure = [&](TMeasured* first, TMeasured* last) {
        for (TMeasured* row = first; row != last; ++row)
            row->Before = Sample(row->Pid);
        WaitFor([] { return false; }, static_cast<DWORD>(seconds) * 1000);
        for (TMeasured* row = first; row != last; ++row) {
            row->After = Sample(row->Pid);
            row->Private = PrivateKiB(row->Pid);
        }
        return mirto.Running() && !IsWindowVisible(mirto.Form());
    };
    bool valid = measure(rows, rows + 4);

    // The program's usual state: the menu was called once and is hidden again.
    const POINT spot = ParkPointer();
    TTestWindow keys("keys", WS_POPUP | WS_VISIBLE, spot.x - 12, spot.y - 12, 24, 24);
    if (!CallOnce(mirto.Form(), keys)) return Fail("the menu did not come and go");
    WaitFor([] { return false; }, 2000);
    valid = measure(rows + 4, rows + 6) && valid;

    // The same program with the largest sample skin (Kiri, 560 x 380: its composed picture, marks
    // and palette stay in memory), in a folder of its own once the first has ended, after one
    // call; the bare programs run on beside it.
    mirto.Stop();
    TProgramFolder skinned("Mirto.dll", "Skin.dll");
    if (!skinned.Ready() || !skinned.CopySkins(MIRTO_SAMPLE_SKINS))
        return Fail("cannot lay out the skinned program's folder");
    skinned.Write("Mirto.ini", "[Setting]\r\nSkin=Skin\\Kiri.ini\r\n[Window]\r\nPosition=0\r\n"
                               "[Clipboard]\r\nSaveHistory=1\r\n");
    TMirto kiri(skinned);
    if (!kiri.WaitResident()) return Fail("the skinned program did not become resident");
    if (!CallOnce(kiri.Form(), keys)) return Fail("the skinned program's menu did not come and go");
    WaitFor([] { return false; }, 2000);
    TMeasured skinRows[] = {
        {"Mirto.exe with Kiri, after a call", LinuxProcessOf(skinned.Path(), "Mirto.exe"), {}, {}},
        {"bare Win32 program", rows[2].Pid, {}, {}},
    };
    for (TMeasured& row : skinRows)
        row.Before = Sample(row.Pid);
    WaitFor([] { return false; }, static_cast<DWORD>(seconds) * 1000);
    for (TMeasured& row : skinRows) {
        row.After = Sample(row.Pid);
        row.Private = PrivateKiB(row.Pid);
    }

    std::printf("idle for %d s with the menu hidden%s\n", seconds,
                valid ? "" : " (the menu showed or the program ended: not valid)");
    std::printf("  %-34s %10s %10s %12s\n", "", "CPU ms", "wake-ups", "private KiB");
    for (const TMeasured& row : rows)
        PrintRow(row);
    std::printf("\nthe largest sample skin, another %d s\n", seconds);
    for (const TMeasured& row : skinRows)
        PrintRow(row);
    return 0;
}
