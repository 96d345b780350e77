#include "dialogs/Unit5.h"

#include "clipboard/TextSetEdit.h"
#include "dialogs/Unit5Ids.h"

INT_PTR TForm5::Execute(HWND owner, int left, int top) {
    At = POINT{left, top};
    return ShowModal(owner, IDD_FORM5) == IDOK ? IDOK : IDCANCEL;
}

bool TForm5::OnInit() {
    SetWindowPos(Handle(), nullptr, At.x, At.y, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The list and buttons follow the client area, whatever the frame's thickness.
    RECT client{};
    GetClientRect(Handle(), &client);
    RECT button{};
    GetWindowRect(Item(IDOK), &button);
    const int buttonW = button.right - button.left, buttonH = button.bottom - button.top;
    const int buttonY = client.bottom - 8 - buttonH;
    SetWindowPos(Item(IDC_FORM5_LISTBOX1), nullptr, 8, 24, client.right - 16, buttonY - 8 - 24,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Item(IDC_FORM5_REFRESH), nullptr, 8, buttonY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Item(IDCANCEL), nullptr, client.right - 8 - buttonW, buttonY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Item(IDOK), nullptr, client.right - 8 - 2 * buttonW - 6, buttonY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Refresh();
    return true;
}

int TForm5::Selected() const {
    return static_cast<int>(SendDlgItemMessageA(Handle(), IDC_FORM5_LISTBOX1, LB_GETCURSEL, 0, 0));
}

void TForm5::Refresh() {
    const std::string remembered = SelectedSetFile(Selected(), FileNames, FileName);
    TStringList titles;
    ListTextSets(ProgramFolder + ListDir, titles, FileNames);
    HWND list = Item(IDC_FORM5_LISTBOX1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& title : titles)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(LineOfSetFile(FileNames, remembered)), 0);
}

bool TForm5::OnCommand(int id, int code, HWND control) {
    if (id == IDC_FORM5_REFRESH) {
        Refresh();
        return true;
    }
    return TDialog::OnCommand(id, code, control);
}

void TForm5::OnOK() {
    FileName = SelectedSetFile(Selected(), FileNames, FileName);
    End(IDOK);
}

bool TForm5::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
    if (message != WM_GETMINMAXINFO) return false;
    // Neither resized nor maximised to any other size.
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = info->ptMaxTrackSize = info->ptMaxSize = POINT{Width, Height};
    result = TRUE;
    return true;
}
