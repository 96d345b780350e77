#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <string>

#include "DialogDriver.h"
#include "frame/StringList.h"
#include "system/BFolder.h"

namespace {

// True when a control of the dialog shows the text (the title and the status line are statics
// without fixed identifiers).
bool ShowsText(HWND dialog, const std::string& text) {
    struct TSearch {
        std::string Text;
        bool Found = false;
    } search{text};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) {
            auto* s = reinterpret_cast<TSearch*>(data);
            s->Found = WindowText(child) == s->Text;
            return s->Found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Selects "My Computer", a folder without a file-system path, as a click in the tree would.
void SelectComputer(HWND dialog) {
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    CoTaskMemFree(computer);
}

// Records the OK button as the chooser leaves it after each new selection. Wine's shell sets the
// button itself once the callback has returned, so the chooser's own doing shows only here; the
// button is enabled before, as a shell that does not police it would leave it.
class TWatchedChooser : public TBrowseForFolder {
public:
    std::atomic<int> OkEnabled{-1};

protected:
    void WndProc(TBrowseMessage& message) override {
        const bool selected = message.Msg == BFFM_SELCHANGED && DialogWindow() != nullptr;
        if (selected) EnableWindow(GetDlgItem(DialogWindow(), IDOK), TRUE);
        TBrowseForFolder::WndProc(message);
        if (selected) OkEnabled = IsWindowEnabled(GetDlgItem(DialogWindow(), IDOK)) ? 1 : 0;
    }
};

} // namespace

TEST(BrowseForFolder, OffersTheNewStyleOnlyWhereTheShellHasIt) {
    const DWORD version = TBrowseForFolder::GetDllVersion("shell32.dll");
    HMODULE shell = LoadLibraryA("shell32.dll");
    auto getVersion = reinterpret_cast<HRESULT(CALLBACK*)(DLLVERSIONINFO*)>(
        reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    ASSERT_EQ(getVersion(&info), S_OK);
    FreeLibrary(shell);
    EXPECT_EQ(version, info.dwMajorVersion * 0x10000 + info.dwMinorVersion);
    EXPECT_GT(version, 0x4FFFFu);
    EXPECT_EQ(TBrowseForFolder::GetDllVersion("kernel32.dll"), 0u);
    EXPECT_EQ(TBrowseForFolder::GetDllVersion("no such library.dll"), 0u);

    TBrowseForFolder chooser;
    EXPECT_EQ(chooser.Title, "フォルダを選択してください。");
    EXPECT_EQ(chooser.Directory, "");
    EXPECT_TRUE(chooser.NewStyle());
    chooser.SetNewStyle(false);
    EXPECT_FALSE(chooser.NewStyle());
    chooser.SetNewStyle(true);
    EXPECT_TRUE(chooser.NewStyle());

    TBrowseForFolder old(0x4FFFF);
    EXPECT_FALSE(old.NewStyle());
    old.SetNewStyle(true);
    EXPECT_FALSE(old.NewStyle());
    EXPECT_TRUE(TBrowseForFolder(0x50000).NewStyle());
}

TEST(BrowseForFolder, OpensAtTheStartFolderAndReturnsOnlyAFolderWithAPath) {
    TTestFolder folder("参照 表");
    TBrowseForFolder chooser;
    auto execute = [&] { return chooser.Execute() ? 1 : 0; };

    // Old style: the status line follows the selection.
    chooser.SetNewStyle(false);
    chooser.Directory = folder.Path();
    {
        TModalRun run(execute);
        HWND dialog = WaitForDialogOf(run);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(ShowsText(dialog, "フォルダを選択してください。"));
        EXPECT_TRUE(WaitFor([&] { return ShowsText(dialog, folder.Path()); }));
        Click(dialog, IDOK);
        EXPECT_EQ(run.Result(), 1);
    }
    EXPECT_TRUE(SameText(chooser.Directory, folder.Path())) << chooser.Directory;

    // A start folder that does not exist still gives a working dialog; cancelling keeps it.
    chooser.Directory = folder / "missing";
    {
        TModalRun run(execute);
        HWND dialog = WaitForDialogOf(run);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, IDCANCEL);
        EXPECT_EQ(run.Result(), 0);
    }
    EXPECT_EQ(chooser.Directory, folder / "missing");

    chooser.Directory = folder.Path();
    {
        TModalRun run(execute);
        HWND dialog = WaitForDialogOf(run);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitFor([&] { return ShowsText(dialog, folder.Path()); }));
        SelectComputer(dialog);
        EXPECT_FALSE(ShowsText(dialog, folder.Path()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(run.Result(), 0);
    }

    // New style: a folder without a path cannot be confirmed.
    TWatchedChooser watched;
    ASSERT_TRUE(watched.NewStyle());
    watched.Directory = folder.Path();
    {
        TModalRun run([&] { return watched.Execute() ? 1 : 0; });
        HWND dialog = WaitForDialogOf(run);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitFor([&] { return watched.OkEnabled == 1; }));
        SelectComputer(dialog);
        EXPECT_EQ(watched.OkEnabled, 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        Click(dialog, IDCANCEL);
        EXPECT_EQ(run.Result(), 0);
    }
    EXPECT_EQ(watched.Directory, folder.Path());
}
