#pragma once
// The settings dialog: a frame that owns the tab control, one page class per tab, and the four
// bottom buttons. It edits copies of the settings and of the launcher table, handed in and taken
// back by the main form; no page reads or writes the settings file.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/StartupLink.h"
#include "frame/Dialog.h"
#include "launcher/LaunchItem.h"
#include "settings/Setting.h"

// What the dialog edits.
struct TSettingsDialogData {
    TSettingData Settings;
    TMenuSettings Menu;
    TLaunchItemTable Items{LauncherItemCount};
    // The launcher page the registration tab starts on (1 to 3).
    int LauncherPage = 1;
    // The program's folder with its trailing "\": the skin and text-set folders are below it.
    std::string ProgramFolder;
    // The settings file, handed to a skin's own settings window; empty: "Mirto.ini" in the
    // program folder.
    std::string SettingsPath;
    // The system offers layered windows: only then are the transparency controls usable.
    bool LayeredWindows = false;
    // Shows a transparency level on the menu window at once (-1 opaque), before OK; empty when
    // the dialog has no menu window to show it on.
    std::function<void(int level)> PreviewTransparency;
    // Makes the text set of a file name in the text-set folder (empty: none) the one in use at
    // once, before OK; empty when there is no clipboard menu to switch.
    std::function<void(const std::string& fileName)> SwitchTextSet;
    // Opens a web address; empty: the shell opens it with the application window as owner.
    std::function<void(const char* address)> OpenAddress;
};

// Results of the dialog beside IDOK and IDCANCEL: the quit button answered "save" (IDYES) or
// "do not save" (IDNO); both end the program.
inline constexpr INT_PTR SettingsQuitSaving = IDYES;
inline constexpr INT_PTR SettingsQuitDiscarding = IDNO;

// One tab page: a child dialog that shows part of the data and takes it back on OK.
class TSettingsTabPage : public TDialog {
public:
    virtual void Load(const TSettingsDialogData& data) = 0;
    virtual void Save(TSettingsDialogData& data) const = 0;
    // Finishes the edit in progress as leaving its control would (before the page is saved).
    virtual void Commit() {}
    // The page was resized to the client size given.
    virtual void Layout(int width, int height);
    // The dialog moved to a monitor of another scale; the page's layout follows.
    virtual void DpiChanged(int oldDpi, int newDpi);
    // The page has just been shown.
    virtual void Shown() {}
    // Moves a control that reaches past the page's right or bottom edge back inside it (narrowed
    // or lowered only when it is larger than the page): after Layout, for a template that the
    // dialog's font makes larger than the lengths the layout reckons with.
    void KeepControlsInside(int width, int height) const;
};

class TSettingsDialog : public TDialog {
public:
    explicit TSettingsDialog(TSettingsDialogData& data);
    ~TSettingsDialog() override;

    // Shows the dialog modally over the owner on the page (the page numbers of TSettingsPage in
    // core/MainForm.h: 0 registration ... 7 position), at the position and size given.
    INT_PTR Execute(HWND owner, int page, int left, int top, int width, int height);
    // Switches the open dialog to the page; other numbers leave it where it is.
    void ShowPage(int page);
    // The dialog's size in pixels at its scale, as it was when it closed (or now, while it is
    // open).
    SIZE CurrentSize() const;
    // The dots per inch the dialog had then.
    int CurrentDpi() const { return SizeDpi; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnOK() override;
    void OnDpiChanged(int oldDpi, int newDpi) override;

private:
    void Layout();
    // The display area of the tab control, in the dialog's client coordinates.
    RECT PageArea() const;
    void PlacePage(TSettingsTabPage& page, const RECT& area) const;
    // Makes the tab's page if it is not made yet: created from its template, loaded, placed.
    void MakePage(int tab);
    void MakeAllPages();
    void SelectTab(int tab);
    HWND ShownPage() const;
    void FocusShownPage();
    void SaveAll();
    bool CheckKeys();
    bool CheckTextSet();
    void FocusControl(int id);
    void Quit();
    void CloseInputMethod() const;

    TSettingsDialogData& Data;
    std::array<std::unique_ptr<TSettingsTabPage>, 8> Pages; // in the tab control's order
    int StartPage = 0;
    RECT StartBounds{};
    int ShownTab = -1;
    SIZE Size{};
    int SizeDpi = 96;
    // The startup registration button's link ("Mirto.lnk" in the user's Startup folder).
    std::unique_ptr<TStartupLink> Startup;
};
