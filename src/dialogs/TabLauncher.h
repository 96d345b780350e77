#pragma once
// The registration page ("ランチャ"): the key grid of the page shown, the detail fields of the
// selected key, the page and key operations with their menus, browsing for the program and the
// working folder, and files, shell links and Internet shortcuts dropped on the grid. It edits
// the dialog's copy of the launcher table; a row reaches the table only when it is committed.
#include <memory>
#include <string>
#include <vector>

#include "dialogs/DCGrid.h"
#include "dialogs/LauncherEdit.h"
#include "dialogs/SettingsDialog.h"

class TLauncherPage : public TSettingsTabPage {
public:
    TLauncherPage();
    ~TLauncherPage() override;

    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData& data) const override;
    void Layout(int width, int height) override;

    // The first steps of "&Ok": the selected row committed, then every entry with a path checked
    // (a missing name confirmed, a missing program searched, repaired or reported). False when
    // the user chose to go back: the page then shows the entry with its field focused.
    bool CheckEntries(TSettingsDialog& frame);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;

private:
    int Page() const; // 0 .. 2, the page shown
    int SelectedRow() const;
    int SelectedSlot() const { return SlotOfRow(Page(), SelectedRow()); }

    void LoadRow(int row);
    void CommitRow(int row);
    // The grid row's cells from the table.
    void ShowRow(int row);
    void ShowPage();
    void ClearFields();
    void EnableByPath();
    void EnablePageDelete();
    void SelectRow(int row);

    void PopupKeyMenu(POINT screen, TLauncherEditMode mode);
    void KeyMenuChosen(int slot);
    void PopupPageMenu(TLauncherEditMode mode);
    void PageMenuChosen(int page);
    void Unassign();
    void DeleteCurrentPage();

    void BrowseProgram();
    void BrowseWorkDir();
    void Dropped(const std::vector<std::string>& files, int row);
    // Sets the path (and what a link gives) from a file; clearFirst empties the fields once the
    // user's choice is known. False when the user cancelled.
    bool SetPathFromFile(const std::string& file, bool clearFirst);

    void MoveFocus(int id);
    static LRESULT CALLBACK FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    bool FieldKey(HWND field, WPARAM key);

    TLaunchItemTable Items{LauncherItemCount};
    TDropCatchGrid Grid;
    int StartPage = 0;
    int LoadedRow = 0;
    bool Loading = false;
    TLauncherEditMode KeyMode = TLauncherEditMode::Exchange;
    TLauncherEditMode PageMode = TLauncherEditMode::Exchange;
    std::string InitialFolder;
};
