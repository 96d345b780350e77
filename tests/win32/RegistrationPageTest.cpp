#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SettingsDialogIds.h"
#include "dialogs/LinkChoiceDialogIds.h"
#include "system/ShellLink.h"

// The settings dialog's registration page driven as a user would: typing entries, dropping a
// shell link on the grid (what it points at, the link itself, a cancelled drop), unassigning a
// key and deleting a page with the later one moved forward. Only the dialog's copy changes; OK
// hands it back.

namespace {

// A drop of files as the shell makes it: a DROPFILES block with the name list, each name ended
// by a zero and the list by a second one.
HDROP DropOf(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files)
        names += file + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

HDROP DropOf(const std::string& file) {
    return DropOf(std::vector<std::string>{file});
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

TEST(RegistrationPage, TypingDroppingUnassigningAndDeletingAPageEditTheDialogsCopy) {
    TTestFolder folder("MirtoRegistration");
    const std::string tool = folder / "my.tool.exe";
    ASSERT_TRUE(WriteTextFile(tool, "MZ"));
    TLinkData link;
    link.Path = tool;
    link.Arguments = "-x 1";
    link.WorkDir = folder.Path();
    link.ShowCmd = SW_SHOWMINNOACTIVE;
    const std::string shortcut = folder / "tool.lnk";
    ASSERT_TRUE(WriteShellLink(shortcut, link));

    TSettingsDialogData data;
    data.Items.SetName(26, "two");
    data.Items.SetPath(26, "C:\\windows\\notepad.exe");
    data.Items.SetName(52, "three");
    data.Items.SetPath(52, "C:\\windows\\");
    TSettingsDialog dialog(data);
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
    // Drops the link with the pointer on no cell, so that the selected row takes it; sent from
    // a thread of its own, as the drop's questions wait for this thread's answers.
    auto drop = [&](int row) {
        select(row);
        SetCursorPos(0, 0);
        std::thread([grid, hdrop = DropOf(shortcut)] {
            SendMessageA(grid, WM_DROPFILES, reinterpret_cast<WPARAM>(hdrop), 0);
        }).detach();
    };
    // The link dialog, answered with its first or second choice or cancelled.
    auto linkAnswer = [&](int choice) {
        HWND linkDialog = WaitForDialog("登録確認");
        ASSERT_NE(linkDialog, nullptr) << "no link dialog";
        if (choice == IDC_LINKCHOICE_RADIOBUTTON2) Click(linkDialog, IDC_LINKCHOICE_RADIOBUTTON2);
        PostMessageA(linkDialog, WM_COMMAND, choice == IDCANCEL ? IDCANCEL : IDOK, 0);
        WaitFor([&] { return !IsWindow(linkDialog); });
    };

    // A: typed by hand; the name makes the key menu's caption and the grid cell.
    select(1);
    type(IDC_MEMO3, "メモ帳");
    type(IDC_EDIT2, "C:\\windows\\notepad.exe");
    // C: the link's target, with its arguments, folder and show state.
    drop(3);
    linkAnswer(IDC_LINKCHOICE_RADIOBUTTON2);
    // C again, cancelled after the overwrite question: C stays as it was.
    drop(3);
    EXPECT_NE(Answer(IDYES).find("上書き"), std::string::npos);
    linkAnswer(IDCANCEL);
    // B: the link file itself, named after it, then unassigned.
    drop(2);
    linkAnswer(IDOK);
    ASSERT_TRUE(WaitFor([&] {
        char path[MAX_PATH] = {};
        GetWindowTextA(Descendant(frame, IDC_EDIT2), path, sizeof path);
        return shortcut == path;
    })) << "the link itself was not registered";
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
    EXPECT_EQ(items.GetName(2), "my");
    EXPECT_TRUE(_stricmp(items.GetPath(2).c_str(), tool.c_str()) == 0) << items.GetPath(2);
    EXPECT_EQ(items.GetOption(2), "-x 1");
    EXPECT_EQ(items.GetSize(2), 1) << "minimised";
    EXPECT_EQ(items.GetName(26), "three");
    EXPECT_EQ(items.GetPath(26), "C:\\windows\\");
    EXPECT_EQ(items.GetName(52), "");
}

TEST(RegistrationPage, MOnARowWithoutAPathKeepsTheRowAndEscapeInTheNameFieldCancels) {
    TSettingsDialogData data;
    data.Items.SetName(0, "alpha");
    data.Items.SetPath(0, "C:\\windows\\notepad.exe");
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND grid = Descendant(frame, IDC_DROPCATCHGRID1);
    const auto selected = [&] {
        return SendMessageA(grid, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    };
    // Row B has no path; the key letters' column holds "M" on row 13.
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(grid, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    ASSERT_EQ(selected(), 1);
    // The key as the message loop hands it on: the press, then its character.
    SendMessageA(grid, WM_KEYDOWN, 'M', 0);
    SendMessageA(grid, WM_CHAR, 'm', 0);
    EXPECT_EQ(selected(), 1) << "the letter moved the selection";

    HWND name = Descendant(frame, IDC_MEMO3);
    PostMessageA(frame, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(name), TRUE);
    PostMessageA(name, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(run.Result(), IDCANCEL) << "Escape in the name field left the dialog open";
}

TEST(RegistrationPage, AnUnreadableLinkRegistersItselfUnaskedAndOfThreeFilesTheFirstIsTaken) {
    TTestFolder folder("MirtoRegistrationDrops");
    const std::string broken = folder / "broken.lnk";
    ASSERT_TRUE(WriteTextFile(broken, "not a shell link"));
    const std::string first = folder / "first.txt", second = folder / "second.txt",
                      third = folder / "third.txt";
    for (const std::string& file : {first, second, third})
        ASSERT_TRUE(WriteTextFile(file, "x"));

    TSettingsDialogData data;
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND grid = Descendant(frame, IDC_DROPCATCHGRID1);
    const auto pathShown = [&](const std::string& path) {
        return WaitFor([&] { return WindowText(Descendant(frame, IDC_EDIT2)) == path; });
    };
    // Sent from a thread of its own: a question the drop should not ask would wait for this
    // thread's answer.
    const auto drop = [&](HDROP hdrop) {
        std::thread([grid, hdrop] {
            SendMessageA(grid, WM_DROPFILES, reinterpret_cast<WPARAM>(hdrop), 0);
        }).detach();
    };

    // The unreadable link on row A (the pointer on no cell): the link file itself, no question.
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(grid, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    SetCursorPos(0, 0);
    drop(DropOf(broken));
    EXPECT_TRUE(pathShown(broken)) << "the unreadable link was not registered as itself";
    EXPECT_EQ(FindWindowA("#32770", "登録確認"), nullptr) << "the link dialog was asked";

    // Three files with the pointer on row D.
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageA(grid, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    POINT at{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(grid, &at);
    SetCursorPos(at.x, at.y);
    drop(DropOf({first, second, third}));
    EXPECT_TRUE(pathShown(first)) << "the first file did not land on the row under the pointer";

    PostMessageA(frame, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(run.Result(), IDOK);
    const TLaunchItemTable& items = data.Items;
    EXPECT_EQ(items.GetName(0), "broken");
    EXPECT_EQ(items.GetPath(0), broken);
    EXPECT_EQ(items.GetName(3), "first");
    EXPECT_EQ(items.GetPath(3), first);
    for (int slot : {1, 2, 4, 5})
        EXPECT_EQ(items.GetPath(slot), "") << "slot " << slot;
}
