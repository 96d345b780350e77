#pragma once
// The settings dialog's startup button (Button3): registers the program in the user's Startup
// folder as a shortcut, or removes that shortcut. Its caption says which of the two a click does.
#include <windows.h>

#include <string>

class TStartupLink {
public:
    // The link is the Startup folder's "Mirto.lnk".
    TStartupLink();
    // The link at the given path.
    explicit TStartupLink(std::string linkPath);

    const std::string& LinkPath() const { return FLinkPath; }
    // "スタートアップから削除(&R)" when the link existed at the last refresh, otherwise
    // "スタートアップに登録(&R)".
    const std::string& Caption() const { return FCaption; }
    void Refresh();

    // Removes or writes the link, as the caption says, and tells the user in a message box owned
    // by the window; the caption is refreshed afterwards.
    void Click(HWND owner);

private:
    void Remove(HWND owner);
    void Register(HWND owner);

    std::string FLinkPath;
    std::string FCaption;
};
