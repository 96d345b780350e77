#pragma once
// The missing-application dialog: asked during the settings' confirmation for each
// launcher entry whose program cannot be found. One object serves a whole confirmation pass.
#include <string>

#include "frame/Dialog.h"

class TMissingProgramDialog : public TDialog {
public:
    // The answers of the radio group, in its sequence.
    enum TAnswer { BackToSettings = 0, Ignore = 1, IgnoreAll = 2 };

    // Shows the entry's page number, key letter and path with the first answer selected. The
    // dialog is 400 pixels wide, or wider so that the whole path shows. Returns IDOK or IDCANCEL
    // (also when it cannot be shown).
    int ShowModal(HWND owner, const std::string& page, const std::string& key,
                  const std::string& path);
    // The answer selected when the dialog was last closed.
    TAnswer ItemIndex() const { return FItemIndex; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnDpiChanged(int oldDpi, int newDpi) override;

private:
    void FitPathLabel();
    void Arrange();
    TAnswer SelectedAnswer() const;

    std::string FPage, FKey, FPath;
    TAnswer FItemIndex = BackToSettings;
};
