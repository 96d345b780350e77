#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "DialogDriver.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit2Ids.h"

// The settings dialog's registration page driven as a user would: typing entries, unassigning a
// key and deleting a page with the later one moved forward. Only the dialog's copy changes; OK
// hands it back.

namespace {

HWND Descendant(HWND dialog, int id) {
    struct TFind {
        int Id;
        HWND Found = nullptr;
    } find{id};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<TFind*>(data);
            if (GetDlgCtrlID(child) != f->Id) return TRUE;
            f->Found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

// Answers the next message box with the button and returns its text.
std::string Answer(int button) {
    HWND box = WaitForDialog("てんみ");
    if (!box) return "(no message box)";
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

} // namespace

TEST(RegistrationPage, TypingUnassigningAndDeletingAPageEditTheDialogsCopy) {
    TSettingsDialogData data;
    data.Items.SetName(26, "two");
    data.Items.SetPath(26, "C:\\windows\\notepad.exe");
    data.Items.SetName(52, "three");
    data.Items.SetPath(52, "C:\\windows\\");
    TForm2 dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND grid = Descendant(frame, IDC_DROPCATCHGRID1);
    HWND page = GetParent(grid);
    auto select = [&](int row) {
        LVITEMA none{};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(grid, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&none));
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(grid, LVM_SETITEMSTATE, static_cast<WPARAM>(row - 1),
                     reinterpret_cast<LPARAM>(&state));
    };
    auto type = [&](int id, const char* text) {
        SendMessageA(Descendant(frame, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(Descendant(frame, id)));
    };
    // A: typed by hand; the name makes the key menu's caption and the grid cell.
    select(1);
    type(IDC_MEMO3, "メモ帳");
    type(IDC_EDIT2, "C:\\windows\\notepad.exe");
    // B typed, then unassigned.
    select(2);
    type(IDC_MEMO3, "消す");
    type(IDC_EDIT2, "C:\\windows\\");
    PostMessageA(Descendant(frame, IDC_BUTTON_UNASSIGN), BM_CLICK, 0, 0);
    EXPECT_EQ(Answer(IDYES), "キー \"B\" への割り当てを解除してもよろしいでしょうか？");

    // Page 2 deleted, page 3 moving forward to it.
    SendMessageA(Descendant(frame, IDC_COMBOBOX8), CB_SETCURSEL, 1, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_COMBOBOX8, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Descendant(frame, IDC_COMBOBOX8)));
    PostMessageA(Descendant(frame, IDC_BUTTON_DELETEPAGE), BM_CLICK, 0, 0);
    EXPECT_EQ(Answer(IDYES), "このページを削除してもよろしいでしょうか？");
    EXPECT_EQ(Answer(IDYES), "以後のページを前に詰めますか？");
    WaitFor([&] { return !FindWindowA("#32770", "てんみ"); });

    PostMessageA(frame, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(run.Result(), IDOK);
    const TLaunchItemTable& items = data.Items;
    EXPECT_EQ(items.GetName(0), "メモ帳");
    EXPECT_EQ(items.GetPath(0), "C:\\windows\\notepad.exe");
    EXPECT_EQ(items.GetName(1), "");
    EXPECT_EQ(items.GetPath(1), "");
    EXPECT_EQ(items.GetName(26), "three");
    EXPECT_EQ(items.GetPath(26), "C:\\windows\\");
    EXPECT_EQ(items.GetName(52), "");
}
