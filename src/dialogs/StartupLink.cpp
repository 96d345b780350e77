#include "dialogs/StartupLink.h"

#include <utility>

#include "frame/MessageBox.h"
#include "frame/StringList.h"
#include "system/PathsWin.h"
#include "system/ShellLink.h"

namespace {

const char* const RemoveCaption = "スタートアップから削除(&R)";
const char* const RegisterCaption = "スタートアップに登録(&R)";

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ProgramPath() {
    char buffer[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length);
}

const std::string& StartupFolder() {
    static const std::string folder = GetStartupFolderPath();
    return folder;
}

} // namespace

// Without a Startup folder the path is "\Mirto.lnk" on the current drive, and the button works
// against that. The folder is looked up once per run: the shell's lookup (with its COM set-up)
// was a noticeable part of every opening of the dialog.
TStartupLink::TStartupLink() : TStartupLink(StartupFolder() + "\\Mirto.lnk") {}

TStartupLink::TStartupLink(std::string linkPath) : FLinkPath(std::move(linkPath)) {
    Refresh();
}

void TStartupLink::Refresh() {
    FCaption = FileExists(FLinkPath) ? RemoveCaption : RegisterCaption;
}

void TStartupLink::Click(HWND owner) {
    if (SameText(FCaption, RemoveCaption))
        Remove(owner);
    else
        Register(owner);
    Refresh();
}

void TStartupLink::Remove(HWND owner) {
    if (DeleteFileA(FLinkPath.c_str()))
        ShowMessageBox(owner, "ショートカットを削除しました。", MB_OK | MB_ICONINFORMATION);
    else if (FileExists(FLinkPath))
        ShowMessageBox(owner, "削除に失敗しました。", MB_OK | MB_ICONERROR);
}

void TStartupLink::Register(HWND owner) {
    const std::string program = ProgramPath();
    TLinkData link;
    link.Path = program;
    link.WorkDir = ProgramFolder();
    link.HotKey = 0;
    link.ShowCmd = 0;
    link.IconPath = program;
    link.IconIndex = 0;
    if (WriteShellLink(FLinkPath, link))
        ShowMessageBox(owner, "スタートアップに登録しました。", MB_OK | MB_ICONINFORMATION);
    else
        ShowMessageBox(owner, "ショートカットの作成に失敗しました。", MB_OK | MB_ICONERROR);
}
