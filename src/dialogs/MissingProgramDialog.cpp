#include "dialogs/MissingProgramDialog.h"

#include "dialogs/MissingProgramDialogIds.h"

namespace {

// The dialog's width for a path label narrower than NarrowPathWidth, and what it adds to a wider
// label's width (the label's left margin and the frame); pixels at 96 dots per inch.
constexpr int StandardWidth = 400;
constexpr int NarrowPathWidth = 307;
constexpr int PathMargin = 94;
// The buttons keep this distance from the centre line, each on its side.
constexpr int ButtonGap = 16;

// A control's rectangle in its dialog's client coordinates.
RECT ClientRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveControl(HWND dialog, int id, int left, int top) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

int TMissingProgramDialog::ShowModal(HWND owner, const std::string& page, const std::string& key,
                                     const std::string& path) {
    FPage = page;
    FKey = key;
    FPath = path;
    return TDialog::ShowModal(owner, IDD_MISSING_PROGRAM) == IDOK ? IDOK : IDCANCEL;
}

bool TMissingProgramDialog::OnInit() {
    SetDlgItemTextA(Handle(), IDC_MISSING_PAGE, FPage.c_str());
    SetDlgItemTextA(Handle(), IDC_MISSING_KEY, FKey.c_str());
    SetDlgItemTextA(Handle(), IDC_MISSING_PATH, FPath.c_str());
    CheckRadioButton(Handle(), IDC_MISSING_BACK, IDC_MISSING_IGNORE_ALL, IDC_MISSING_BACK);
    FitPathLabel();
    Arrange();
    return true;
}

// The path label takes the width of its text, and the dialog the width that shows it, keeping
// the place the system centred it at.
void TMissingProgramDialog::FitPathLabel() {
    HWND label = GetDlgItem(Handle(), IDC_MISSING_PATH);
    HDC dc = GetDC(label);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, FPath.c_str(), static_cast<int>(FPath.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);

    const RECT labelRect = ClientRect(Handle(), IDC_MISSING_PATH);
    SetWindowPos(label, nullptr, 0, 0, extent.cx, labelRect.bottom - labelRect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const int width = extent.cx < Scaled(NarrowPathWidth) ? Scaled(StandardWidth)
                                                          : extent.cx + Scaled(PathMargin);
    RECT window{};
    GetWindowRect(Handle(), &window);
    const int left = window.left - (width - (window.right - window.left)) / 2;
    SetWindowPos(Handle(), nullptr, left, window.top, width, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The radio group sits in the middle; "&Ok" ends and "&Cancel" starts a little off the centre.
void TMissingProgramDialog::Arrange() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int centre = client.right / 2;

    const RECT group = ClientRect(Handle(), IDC_MISSING_RADIOGROUP1);
    const int shift = centre - (group.right - group.left) / 2 - group.left;
    for (int id :
         {IDC_MISSING_RADIOGROUP1, IDC_MISSING_BACK, IDC_MISSING_IGNORE, IDC_MISSING_IGNORE_ALL}) {
        const RECT rect = ClientRect(Handle(), id);
        MoveControl(Handle(), id, rect.left + shift, rect.top);
    }

    const RECT ok = ClientRect(Handle(), IDOK);
    const int gap = Scaled(ButtonGap);
    MoveControl(Handle(), IDOK, centre - gap - (ok.right - ok.left), ok.top);
    const RECT cancel = ClientRect(Handle(), IDCANCEL);
    MoveControl(Handle(), IDCANCEL, centre + gap, cancel.top);
    InvalidateRect(Handle(), nullptr, TRUE);
}

TMissingProgramDialog::TAnswer TMissingProgramDialog::SelectedAnswer() const {
    if (IsDlgButtonChecked(Handle(), IDC_MISSING_IGNORE) == BST_CHECKED) return Ignore;
    if (IsDlgButtonChecked(Handle(), IDC_MISSING_IGNORE_ALL) == BST_CHECKED) return IgnoreAll;
    return BackToSettings;
}

bool TMissingProgramDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDOK || id == IDCANCEL) FItemIndex = SelectedAnswer();
    if (id != IDOK) return TDialog::OnCommand(id, code, control);
    End(IDOK);
    return true;
}

void TMissingProgramDialog::OnDpiChanged(int, int) {
    FitPathLabel();
    Arrange();
}

bool TMissingProgramDialog::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR&) {
    if (message != WM_SIZE) return false;
    Arrange();
    return true;
}
