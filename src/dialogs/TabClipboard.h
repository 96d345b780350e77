#pragma once
// The clipboard page ("クリップボード"): the text sets of the text-set folder, the one loaded at
// start selected, the set editor opened to create, edit or delete them, the chooser that
// switches the set in use at once, and the switch that saves the history at exit.
#include <functional>
#include <string>

#include "dialogs/SettingsDialog.h"
#include "frame/StringList.h"

class TClipboardPage : public TSettingsTabPage {
public:
    void Load(const TSettingsDialogData& data) override;
    // "LoadFile" becomes the selected line's file name (empty for the blank entry) and "Startup"
    // 1 for a set, 0 otherwise; the set in use follows the switches made on this page.
    void Save(TSettingsDialogData& data) const override;
    void Layout(int width, int height) override;

    // The confirmation's requirement: a line of the list is selected.
    bool HasSelection() const { return Selected() >= 0; }

protected:
    bool OnCommand(int id, int code, HWND control) override;

private:
    int Selected() const;
    std::string LineText(int line) const;
    std::string TextSetFolder() const { return ProgramFolder + ListDir; }
    // Refills the list from the folder and selects the set selected before (at first: the one
    // loaded at start).
    void RefreshSetList();
    void SelectLine(int line);
    void ApplySelectionRule();

    void NewSet();
    void EditSet();
    void DeleteSet();
    void SwitchSet();

    std::string LoadFile, CurrentFile, ListDir, ProgramFolder;
    std::function<void(const std::string&)> SwitchTextSet;
    TStringList FileNames;
};
