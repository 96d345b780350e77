// The entry sequence of Mirto.exe: one copy per desktop, the shared area, the main form and the
// message loop.
#include <windows.h>

#include <objbase.h>

#include <exception>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/Mapping.h"
#include "core/MainForm.h"
#include "frame/LibrarySearch.h"
#include "frame/MessageBox.h"
#include "frame/Platform.h"
#include "frame/StringList.h"
#include "frame/Window.h"
#include "settings/Setting.h"
#include "system/PathsWin.h"
#include "system/SysInfoWin.h"
#include "system/SysText.h"
#include "system/Win32Platform.h"

namespace {
const char MutexName[] = "Temmi";
const char AppTitle[] = "ミルト";

int RunFirstCopy(HINSTANCE instance, TMappingArea& area) {
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (!Application().Initialize(instance, AppTitle, icon)) {
        ShowMessageBox(nullptr, GetSystemErrorText(GetLastError()), MB_ICONSTOP);
        return 0;
    }
    if (!area.CreateMappingArea(Application().Handle())) {
        ShowMessageBox(nullptr, GetSystemErrorText(GetLastError()), MB_ICONSTOP);
        return 0;
    }
    try {
        TSettingsFile settingsFile(ProgramFolder());
        settingsFile.ResolveSettingsPath(GetSwitchValue("-o;"));
        TMainForm form(area, settingsFile);
        if (!form.CreateForm()) throw std::runtime_error("");
        Application().Run();
    } catch (const std::exception& e) {
        const std::string message = TrimText(e.what());
        if (message.empty())
            ShowMessageBox(nullptr,
                           "正体不明のエラーです。\n\n" + GetSystemErrorText(GetLastError()),
                           MB_ICONSTOP);
        else
            Application().ShowException(message);
    }
    return 0;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();
    // The runtime has already split the command line in the ANSI code page; switches are read
    // from these arguments, never from the raw line.
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.emplace_back(__argv[i]);
    SetCommandLineArguments(std::move(arguments));
    static TWin32Platform platform;
    SetPlatform(&platform);

    HANDLE mutex = CreateMutexA(nullptr, FALSE, MutexName);
    if (!mutex) {
        ShowMessageBox(nullptr, "起動できませんでした。", MB_ICONSTOP);
        return -1;
    }
    const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
    // Holding the mutex only serialises two copies that start at the same moment; the open
    // handle itself marks the running copy.
    WaitForSingleObject(mutex, INFINITE);
    ReleaseMutex(mutex);

    int exitCode;
    {
        TMappingArea area;
        if (another) {
            TShareData data{};
            if (area.GetMappingData(data))
                PostMessageA(static_cast<HWND>(ULongToHandle(data.HostWindow)), data.MessageId,
                             static_cast<WPARAM>(-1), 0);
            else
                ShowMessageBox(nullptr, "もう起動されています。\n呼び出しキーで呼んでくださいね。",
                               MB_ICONSTOP);
            exitCode = -1;
        } else {
            // The user-interface thread is a single-threaded apartment for the whole run, so that
            // the shell handlers that ShellExecuteA starts find the component library ready.
            const bool com = SUCCEEDED(
                CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
            exitCode = RunFirstCopy(instance, area);
            if (com) CoUninitialize();
        }
    }
    CloseHandle(mutex);
    return exitCode;
}
