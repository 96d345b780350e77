#pragma once
// The key controls of the settings dialog: the call keys, the menu's command keys and behaviour
// ("メニュー"), the window operations ("ウィンドウ操作"), the screen-saver key ("背景") and the
// input-method switches ("フォント"). A page holds some of them; TKeyControls gives whichever it
// holds their lists, their enabling rules, their key handling and their exchange with the key
// choices, so that any page can host a key group.
#include <vector>

#include "dialogs/KeyCheck.h"
#include "dialogs/SettingsDialog.h"

// The identifier of the control a failed key check names; 0 for none.
int KeyControlId(TKeyControl control);

// Enter in the control is not the dialog's default button: it takes the focus to "&Ok", for a
// second Enter to confirm.
void SendEnterToOk(HWND control);

class TKeyControls {
public:
    // Fills the lists of the key controls the page holds and takes over the key presses they
    // handle themselves; from the page's OnInit.
    void Attach(TDialog& page);
    // Shows the choices and applies the enabling rules.
    void Load(const TKeyChoices& choices);
    // Takes the page's controls back into the choices; fields of controls the page does not
    // hold, and positions of lists that show no selection, are left as they are.
    void Save(TKeyChoices& choices) const;
    // The number boxes as they are once left.
    void Commit() const;
    // The page's WM_COMMAND for a key control; true when handled.
    bool OnCommand(int id, int code);

private:
    bool Holds(int id) const;
    void ApplyEnabling() const;
    void RebuildKeyList(int id, bool withKeypad, int defaultPosition) const;
    void NormaliseNumberBox(int id) const;

    TDialog* Page = nullptr;
    // The key lists' handler drops the character message of a key it has taken.
    bool SwallowChar = false;
};

// A page of key controls; the "フォント" and "背景" pages build on it to hold their key group
// below their own controls.
class TKeyPage : public TSettingsTabPage {
public:
    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData& data) const override;
    void Commit() override;
    void Layout(int width, int height) override;
    void DpiChanged(int oldDpi, int newDpi) override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

    // The page's controls in the template, recorded as it is made.
    TTemplatePlaces Design;

private:
    TKeyControls Keys;
    RECT DesignGroup{}; // the group boxes' common span in the template
};
