#include "dialogs/TextSetChooser.h"

#include "dialogs/TextSetEdit.h"
#include "dialogs/TextSetChooserIds.h"

INT_PTR TTextSetChooser::Execute(HWND owner, int left, int top) {
    At = POINT{left, top};
    // Neither resized nor maximised to any other size.
    SetTrackSize(Width, Height, true);
    return ShowModal(owner, IDD_TEXTSET_CHOOSER) == IDOK ? IDOK : IDCANCEL;
}

bool TTextSetChooser::OnInit() {
    SetWindowPos(Handle(), nullptr, At.x, At.y, Scaled(Width), Scaled(Height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    Refresh();
    return true;
}

void TTextSetChooser::Layout() {
    // The list and buttons follow the client area, whatever the frame's thickness; margins of 8
    // pixels at 96 dots per inch, at the dialog's scale.
    const int margin = Scaled(8), listTop = Scaled(24), gap = Scaled(6);
    RECT client{};
    GetClientRect(Handle(), &client);
    RECT button{};
    GetWindowRect(Item(IDOK), &button);
    const int buttonW = button.right - button.left, buttonH = button.bottom - button.top;
    const int buttonY = client.bottom - margin - buttonH;
    SetWindowPos(Item(IDC_CHOOSER_LISTBOX1), nullptr, margin, listTop, client.right - 2 * margin,
                 buttonY - margin - listTop, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Item(IDC_CHOOSER_REFRESH), nullptr, margin, buttonY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Item(IDCANCEL), nullptr, client.right - margin - buttonW, buttonY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Item(IDOK), nullptr, client.right - margin - 2 * buttonW - gap, buttonY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTextSetChooser::OnDpiChanged(int, int) {
    Layout();
}

int TTextSetChooser::Selected() const {
    return static_cast<int>(
        SendDlgItemMessageA(Handle(), IDC_CHOOSER_LISTBOX1, LB_GETCURSEL, 0, 0));
}

void FillTextSetList(HWND list, const std::string& folder, TStringList& fileNames,
                     const std::string& remembered) {
    TStringList titles;
    ListTextSets(folder, titles, fileNames);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& title : titles)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(LineOfSetFile(fileNames, remembered)), 0);
}

void TTextSetChooser::Refresh() {
    FillTextSetList(Item(IDC_CHOOSER_LISTBOX1), ProgramFolder + ListDir, FileNames,
                    SelectedSetFile(Selected(), FileNames, FileName));
}

bool TTextSetChooser::OnCommand(int id, int code, HWND control) {
    if (id == IDC_CHOOSER_REFRESH) {
        Refresh();
        return true;
    }
    return TDialog::OnCommand(id, code, control);
}

void TTextSetChooser::OnOK() {
    FileName = SelectedSetFile(Selected(), FileNames, FileName);
    End(IDOK);
}
