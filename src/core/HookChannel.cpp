// The channel to the hook library: loading it, installing and removing its hook, the pause.
#include "core/Mapping.h"
#include "core/Unit1.h"
#include "frame/MessageBox.h"
#include "frame/Platform.h"
#include "frame/StringList.h"
#include "system/PathsWin.h"
#include "system/SysText.h"

namespace {
using TGetId = UINT(WINAPI*)();
} // namespace

bool TForm1::LoadHookLibrary() {
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

void TForm1::InstallHook() {
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
    if (!installed) {
        StopMenuTimers();
        ShowMessageBox(Application().Handle(), "DLLが不正です。確認してくださいね。", MB_ICONSTOP);
        Application().Terminate();
    }
}

void TForm1::RemoveHook() {
    if (!HookInstalled) return;
    UnhookWindowsHookEx(HookHandle);
    HookInstalled = false;
}

void TForm1::TogglePause() {
    if (HookInstalled)
        RemoveHook();
    else
        InstallHook();
    const bool paused = !HookInstalled;
    NotifyIcon(paused ? 1 : 0, NIM_MODIFY);
    CheckMenuItem(PopupMenu1, cmPause, MF_BYCOMMAND | (paused ? MF_CHECKED : MF_UNCHECKED));
}
