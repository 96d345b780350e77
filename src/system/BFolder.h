#pragma once
// The folder chooser: the shell's folder browser with a title, a start folder and an OK button
// that is honest about folders without a file-system path. The settings dialog uses it to choose
// a launcher entry's working folder.
#include <windows.h>

#include <shlobj.h>

#include <string>

// A callback of the browse dialog as it reaches the chooser.
struct TBrowseMessage {
    UINT Msg;     // BFFM_INITIALIZED, BFFM_SELCHANGED, ...
    LPARAM Param; // the message's own value (the new selection for BFFM_SELCHANGED)
    LPARAM Data;  // the start folder's item list handed to the dialog
    int Result;
};

class TBrowseForFolder {
public:
    // Asks the shell library for its version: the resizable dialog with an edit box is offered
    // from version 5.0 on.
    TBrowseForFolder();
    // The same with the shell's version given, as GetDllVersion reports it.
    explicit TBrowseForFolder(DWORD shellVersion);
    virtual ~TBrowseForFolder();
    TBrowseForFolder(const TBrowseForFolder&) = delete;
    TBrowseForFolder& operator=(const TBrowseForFolder&) = delete;

    // Shown above the folder tree.
    std::string Title;
    // In: the folder to start at (empty for none). Out: the chosen folder.
    std::string Directory;

    bool NewStyle() const { return FNewStyle; }
    // The new style is taken only where the shell offers it; the old style always.
    void SetNewStyle(bool value);
    // The browse dialog being shown, as the last callback reported it.
    HWND DialogWindow() const { return FDialog; }

    // (major << 16) | minor of the library's DllGetVersion; 0 when the library does not load or
    // has no such export.
    static DWORD GetDllVersion(const std::string& fileName);

    // Shows the browse dialog owned by the active window. True exactly when a folder with a
    // file-system path was chosen; Directory then holds that path. One chooser at a time.
    bool Execute();

protected:
    // Callbacks of the dialog that Execute shows.
    virtual void WndProc(TBrowseMessage& message);
    // The item list of a folder, allocated by the shell; nullptr for an empty text or a text the
    // shell cannot parse.
    static PIDLIST_ABSOLUTE GetItemIDList(const std::string& folder);

private:
    static int CALLBACK ExplorerHook(HWND dialog, UINT message, LPARAM param, LPARAM data);
    void DisableOkButton() const;

    bool FNewStyleAvailable;
    bool FNewStyle;
    HWND FDialog = nullptr;
};
