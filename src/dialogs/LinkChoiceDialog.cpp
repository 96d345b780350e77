#include "dialogs/LinkChoiceDialog.h"

#include "dialogs/LinkChoiceDialogIds.h"

int TLinkChoiceDialog::ShowModal(HWND owner, const std::string& secondChoice) {
    FSecondChoice = secondChoice;
    const INT_PTR result = TDialog::ShowModal(owner, IDD_LINK_CHOICE);
    return result == IDOK || result == IDYES ? static_cast<int>(result) : IDCANCEL;
}

bool TLinkChoiceDialog::OnInit() {
    SetDlgItemTextA(Handle(), IDC_LINKCHOICE_RADIOBUTTON2, FSecondChoice.c_str());
    CheckRadioButton(Handle(), IDC_LINKCHOICE_RADIOBUTTON1, IDC_LINKCHOICE_RADIOBUTTON2,
                     IDC_LINKCHOICE_RADIOBUTTON1);
    return true;
}

bool TLinkChoiceDialog::OnCommand(int id, int code, HWND control) {
    if (id != IDOK) return TDialog::OnCommand(id, code, control);
    End(IsDlgButtonChecked(Handle(), IDC_LINKCHOICE_RADIOBUTTON1) == BST_CHECKED ? IDOK : IDYES);
    return true;
}
