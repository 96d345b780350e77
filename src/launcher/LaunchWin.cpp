#include "launcher/LaunchWin.h"

#include <shellapi.h>

#include "frame/MessageBox.h"
#include "system/Association.h"
#include "system/PathsWin.h"
#include "system/SysInfoWin.h"

namespace {
// ShellExecuteA answers with a small code and may leave no error behind; the code then says why.
DWORD ShellFailureError(INT_PTR code) {
    if (const DWORD error = GetLastError(); error != ERROR_SUCCESS) return error;
    switch (code) {
    case 0:
    case SE_ERR_OOM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ERROR_FILE_NOT_FOUND:
        return ERROR_FILE_NOT_FOUND;
    case ERROR_PATH_NOT_FOUND:
        return ERROR_PATH_NOT_FOUND;
    case ERROR_BAD_FORMAT:
        return ERROR_BAD_FORMAT;
    case SE_ERR_ACCESSDENIED:
        return ERROR_ACCESS_DENIED;
    case SE_ERR_SHARE:
        return ERROR_SHARING_VIOLATION;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
        return ERROR_NO_ASSOCIATION;
    case SE_ERR_DLLNOTFOUND:
        return ERROR_DLL_NOT_FOUND;
    default:
        return ERROR_INVALID_FUNCTION;
    }
}

bool RunShell(const char* verb, const TLaunchPlan& plan) {
    const char* parameters = plan.Parameters.empty() ? nullptr : plan.Parameters.c_str();
    const char* directory = plan.Directory.empty() ? nullptr : plan.Directory.c_str();
    const INT_PTR code = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, verb, plan.File.c_str(), parameters, directory, plan.Show));
    if (code > 32) return true;
    SetLastError(ShellFailureError(code));
    return false;
}

bool RunProcess(const TLaunchPlan& plan) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(plan.Show);
    PROCESS_INFORMATION process{};
    std::string commandLine = plan.CommandLine;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE, nullptr, plan.Directory.c_str(), &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
} // namespace

std::string CompanionProgramPath() {
    return ProgramFolder() + "Support.exe";
}

bool LaunchItem(const TLaunchItemTable& table, int index) {
    return LaunchItem(table, index, CompanionProgramPath());
}

TLaunchEnvironment Win32LaunchEnvironment(const std::string& companion) {
    TLaunchEnvironment env;
    env.FolderExists = FolderExists;
    env.ShortFullPath = GetShortFullPath;
    env.DocumentCommand = FindDocumentCommand;
    env.NearestExistingFolder = [](const std::string& path) { return NearestExistingFolder(path); };
    env.Companion = companion;
    return env;
}

bool RunLaunchPlan(const TLaunchPlan& plan) {
    switch (plan.Action) {
    case TLaunchAction::Nothing:
        return true;
    case TLaunchAction::ShellDefault:
        return RunShell(nullptr, plan);
    case TLaunchAction::ShellOpen:
        return RunShell("open", plan);
    case TLaunchAction::CreateProcess:
        return RunProcess(plan);
    case TLaunchAction::Fail:
        break;
    }
    SetLastError(plan.Error);
    return false;
}

bool LaunchItem(const TLaunchItemTable& table, int index, const std::string& companion) {
    SetLastError(ERROR_SUCCESS);
    return RunLaunchPlan(PlanLaunch(table, index, Win32LaunchEnvironment(companion)));
}

void ShowLaunchFailure(HWND owner, const std::string& path, DWORD error) {
    for (const std::string& message : LaunchFailureMessages(error, GetSystemErrorText(error), path))
        ShowMessageBox(owner, message, MB_OK | MB_ICONSTOP);
}
