#pragma once
// The link dialog: asked when a shell link or Internet shortcut is chosen for a launcher
// entry, whether to register the link file itself or what it points at.
#include <string>

#include "frame/Dialog.h"

class TLinkChoiceDialog : public TDialog {
public:
    // Shows the dialog with the second choice captioned as given ("リンク先のURLを登録(&U)", ...)
    // and the first choice selected. Returns IDOK for the link file itself, IDYES for the
    // second choice, IDCANCEL when cancelled, closed or when it cannot be shown.
    int ShowModal(HWND owner, const std::string& secondChoice);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    std::string FSecondChoice;
};
