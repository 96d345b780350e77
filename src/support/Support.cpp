// Support.exe: opens the shortcut file named on its command line. The launcher starts it for
// shortcut entries and relies only on its process being created, so every failure is told here,
// in a message box captioned like the program's own.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "frame/LibrarySearch.h"
#include "frame/MessageBox.h"
#include "launcher/Launch.h"
#include "system/ShellLink.h"
#include "system/SysInfoWin.h"

namespace {
// The shortcut's target as the shell link gives it.
struct TTarget {
    std::string Path;
    std::string Arguments;
    std::string WorkDir;
    int ShowCmd = SW_SHOWNORMAL;
};

class TComScope {
public:
    TComScope() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComScope() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    HRESULT FResult;
};

int Fail(const std::string& text) {
    ShowMessageBox(nullptr, text, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    return 1;
}

std::string ErrorText(DWORD error) {
    return GetSystemErrorText(error);
}

// Reads the link; false when the file is no shell link the shell can load.
bool ReadTarget(const std::string& fileName, TTarget& target) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    bool loaded = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = {};
        loaded = MultiByteToWideChar(CP_ACP, 0, fileName.c_str(), -1, wide, MAX_PATH) != 0 &&
                 SUCCEEDED(file->Load(wide, STGM_READ));
        file->Release();
    }
    if (loaded) {
        // Let the shell find a target that moved, without asking anything.
        link->Resolve(nullptr, SLR_NO_UI | SLR_NOUPDATE);
        char buffer[MAX_PATH * 4] = {};
        if (link->GetPath(buffer, MAX_PATH, nullptr, 0) == S_OK) target.Path = buffer;
        buffer[0] = '\0';
        if (SUCCEEDED(link->GetArguments(buffer, sizeof buffer))) target.Arguments = buffer;
        buffer[0] = '\0';
        if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) target.WorkDir = buffer;
        int show = 0;
        if (SUCCEEDED(link->GetShowCmd(&show))) ReadLinkFileShowCmd(fileName, show);
        if (show != 0) target.ShowCmd = show;
    }
    link->Release();
    return loaded;
}

bool Open(const char* file, const char* parameters, const char* directory, int show) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = show;
    return ShellExecuteExA(&info) != FALSE;
}

int OpenShortcut(const std::string& fileName) {
    if (fileName.empty()) return Fail("開くショートカットが指定されていません。");
    const DWORD attributes = GetFileAttributesA(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(fileName + "\n\nショートカットが見つかりません。");

    TComScope com;
    TTarget target;
    if (!ReadTarget(fileName, target))
        return Fail(fileName + "\n\nショートカットを読み込めませんでした。");

    if (target.Path.empty()) {
        // A target without a file-system path (a shell folder, a control-panel item): the shell
        // opens the shortcut itself.
        if (Open(fileName.c_str(), nullptr, nullptr, target.ShowCmd)) return 0;
        const DWORD error = GetLastError();
        return Fail(ErrorText(error) + "\n\n" + fileName +
                    "\n\nショートカットを開けませんでした。");
    }
    if (GetFileAttributesA(target.Path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Fail(target.Path + "\n\nリンク先が見つかりません。\n(" + fileName + ")");

    const char* parameters = target.Arguments.empty() ? nullptr : target.Arguments.c_str();
    const char* directory = target.WorkDir.empty() ? nullptr : target.WorkDir.c_str();
    if (Open(target.Path.c_str(), parameters, directory, target.ShowCmd)) return 0;
    const DWORD error = GetLastError();
    return Fail(ErrorText(error) + "\n\n" + target.Path + "\n\nリンク先を開けませんでした。\n(" +
                fileName + ")");
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();
    return OpenShortcut(CompanionArgument(GetCommandLineA()));
}
