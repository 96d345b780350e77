// The channel to the hook library: loading it, installing and removing its hook, the pause.
#include "core/Mapping.h"
#include "core/MainForm.h"
#include "frame/MessageBox.h"
#include "frame/Platform.h"
#include "frame/StringList.h"
#include "system/PathsWin.h"
#include "system/SysText.h"

#include <string>
#include <utility>

namespace {
using TGetId = UINT(WINAPI*)();

// How long the companion may take to install its hook (a first start under Wine is slow), and to
// end when asked.
constexpr DWORD Hook32StartTimeout = 10000;
constexpr DWORD Hook32StopTimeout = 2000;
} // namespace

bool TMainForm::LoadHookLibrary() {
    // Always by full path: a bare name could be resolved by the system's search to another file.
    std::string name = ProgramFolder() + "Mirto.dll";
    const auto& arguments = CommandLineArguments();
    if (!arguments.empty() && SameText(arguments[0], "-test")) {
        const std::string test = ProgramFolder() + "DLL\\Project1.dll";
        if (Platform().FileExists(test)) name = test;
    }
    if (HookLibrary) return false;
    HookLibrary = LoadLibraryA(name.c_str());
    if (!HookLibrary) return false;
    auto getId =
        reinterpret_cast<TGetId>(reinterpret_cast<void*>(GetProcAddress(HookLibrary, "_GetID")));
    if (!getId) return false;
    MessageId = getId();
    return true;
}

void TMainForm::InstallHook() {
    if (HookInstalled) return;
    bool installed = false;
    TShareData data{};
    if (MappingArea.GetMappingData(data)) {
        data.HostWindow = HandleToULong(Handle);
        DWORD processId = 0;
        data.ThreadId = GetWindowThreadProcessId(Handle, &processId);
        data.ProcessId = processId;
        data.MessageId = MessageId;
        data.CallLauncherMenu = Settings.CallLauncherMenu;
        data.CallClipboardMenu = Settings.CallClipboardMenu;
        data.ImeOpen = Settings.ImeOpen ? 1 : 0;
        data.ImeClose = Settings.ImeClose ? 1 : 0;
        auto proc = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(HookLibrary, "_HookProc")));
        if (proc) {
            HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, proc, HookLibrary, 0);
            if (hook) {
                HookHandle = hook;
                data.HookHandle = HandleToULong(hook);
                installed = true;
            }
        }
        MappingArea.SetMappingData(data);
    }
    HookInstalled = installed;
    if (installed) StartHook32();
    if (!installed) {
        StopMenuTimers();
        ShowMessageBox(Application().Handle(), "DLLが不正です。確認してくださいね。", MB_ICONSTOP);
        Application().Terminate();
    }
}

void TMainForm::RemoveHook() {
    if (!HookInstalled) return;
    UnhookWindowsHookEx(HookHandle);
    StopHook32();
    HookInstalled = false;
}

// Windows loads Mirto.dll only into 64-bit applications; for a 32-bit one it would call the hook
// in this thread, which sees neither that application's keys nor its focus. Hook32.exe installs
// the library's 32-bit build (Mirto32.dll), which reads the same shared area. Its hook is in
// place when this returns, or the companion is not running. Without it the 64-bit applications
// are still served, so a missing or failing companion stops nothing.
void TMainForm::StartHook32() {
    if (Hook32Process) return;
    const std::string folder = ProgramFolder();
    const std::string companion = folder + "Hook32.exe";
    if (!Platform().FileExists(companion) || !Platform().FileExists(folder + "Mirto32.dll")) return;
    // The companion inherits this process (it ends with it, also after a crash), the event that
    // asks it to end and the event it sets when its hook is in place.
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                    SYNCHRONIZE, TRUE, 0);
    HANDLE stop = CreateEventA(&inherited, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventA(&inherited, TRUE, FALSE, nullptr);
    if (self && stop && ready) {
        std::string command = "\"";
        command.append(companion).append("\"");
        for (HANDLE h : {self, stop, ready})
            command.append(" ").append(std::to_string(HandleToULong(h)));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(companion.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                           folder.c_str(), &startup, &process)) {
            CloseHandle(process.hThread);
            const HANDLE waits[] = {ready, process.hProcess};
            if (WaitForMultipleObjects(2, waits, FALSE, Hook32StartTimeout) == WAIT_OBJECT_0) {
                Hook32Process = process.hProcess;
                Hook32Stop = std::exchange(stop, nullptr);
            } else {
                TerminateProcess(process.hProcess, 1);
                CloseHandle(process.hProcess);
            }
        }
    }
    for (HANDLE h : {self, stop, ready})
        if (h) CloseHandle(h);
}

void TMainForm::StopHook32() {
    if (!Hook32Process) return;
    SetEvent(Hook32Stop);
    if (WaitForSingleObject(Hook32Process, Hook32StopTimeout) != WAIT_OBJECT_0)
        TerminateProcess(Hook32Process, 1);
    CloseHandle(Hook32Process);
    CloseHandle(Hook32Stop);
    Hook32Process = Hook32Stop = nullptr;
}

void TMainForm::TogglePause() {
    if (HookInstalled)
        RemoveHook();
    else
        InstallHook();
    const bool paused = !HookInstalled;
    NotifyIcon(paused ? 1 : 0, NIM_MODIFY);
    CheckMenuItem(PopupMenu1, cmPause, MF_BYCOMMAND | (paused ? MF_CHECKED : MF_UNCHECKED));
}
