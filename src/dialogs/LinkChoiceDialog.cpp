#include "dialogs/Unit3.h"

#include "dialogs/Unit3Ids.h"

int TForm3::ShowModal(HWND owner, const std::string& secondChoice) {
    FSecondChoice = secondChoice;
    const INT_PTR result = TDialog::ShowModal(owner, IDD_FORM3);
    return result == IDOK || result == IDYES ? static_cast<int>(result) : IDCANCEL;
}

bool TForm3::OnInit() {
    SetDlgItemTextA(Handle(), IDC_FORM3_RADIOBUTTON2, FSecondChoice.c_str());
    CheckRadioButton(Handle(), IDC_FORM3_RADIOBUTTON1, IDC_FORM3_RADIOBUTTON2,
                     IDC_FORM3_RADIOBUTTON1);
    return true;
}

bool TForm3::OnCommand(int id, int code, HWND control) {
    if (id != IDOK) return TDialog::OnCommand(id, code, control);
    End(IsDlgButtonChecked(Handle(), IDC_FORM3_RADIOBUTTON1) == BST_CHECKED ? IDOK : IDYES);
    return true;
}
