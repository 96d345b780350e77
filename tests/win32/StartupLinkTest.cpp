#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "TestFolder.h"
#include "dialogs/StartupLink.h"
#include "frame/Platform.h"
#include "frame/StringList.h"
#include "system/PathsWin.h"
#include "system/ShellLink.h"

namespace {

struct TBox {
    std::string Text;
    HICON Icon = nullptr;
};

// The picture of a message box's icon control, nullptr when it has none.
HICON BoxIcon(HWND box) {
    HICON icon = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) {
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
            *reinterpret_cast<HICON*>(found) =
                reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&icon));
    return icon;
}

// Clicks the button and answers the message box it shows with OK; the box's text stays empty
// when the click showed none.
TBox ClickAndAnswer(TStartupLink& link) {
    TBox box;
    std::atomic<bool> done{false};
    std::thread answerer([&] {
        while (!done) {
            HWND window = FindWindowA("#32770", AppCaption);
            if (window != nullptr && IsWindowVisible(window)) {
                char text[256] = {};
                GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
                box.Text = text;
                box.Icon = BoxIcon(window);
                PostMessageA(window, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    });
    link.Click(nullptr);
    done = true;
    answerer.join();
    return box;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::string Register = "スタートアップに登録(&R)";
const std::string Remove = "スタートアップから削除(&R)";

class StartupLink : public ::testing::Test {
protected:
    TTestFolder Folder{"スタートアップ表 "};
    const HICON Information = LoadIconA(nullptr, IDI_INFORMATION);
    const HICON Error = LoadIconA(nullptr, IDI_ERROR);
};

} // namespace

TEST_F(StartupLink, RegistersTheProgramItselfAndRemovesItAgain) {
    EXPECT_TRUE(SameText(TStartupLink().LinkPath(), GetStartupFolderPath().append("\\Mirto.lnk")));

    const std::string path = Folder / "Mirto.lnk";
    TStartupLink link(path);
    EXPECT_EQ(link.Caption(), Register);

    TBox box = ClickAndAnswer(link);
    EXPECT_EQ(box.Text, "スタートアップに登録しました。");
    EXPECT_EQ(box.Icon, Information);
    EXPECT_EQ(link.Caption(), Remove);
    EXPECT_EQ(TStartupLink(path).Caption(), Remove);

    char buffer[MAX_PATH] = {};
    const std::string program(buffer, GetModuleFileNameA(nullptr, buffer, MAX_PATH));
    TLinkData read;
    ASSERT_TRUE(ReadShellLink(path, read));
    EXPECT_TRUE(SameText(ExpandLongPath(read.Path.value_or("")), program)) << *read.Path;
    EXPECT_EQ(read.Arguments, "");
    EXPECT_EQ(read.WorkDir, program.substr(0, program.rfind('\\') + 1));
    EXPECT_EQ(read.IconPath, program);
    EXPECT_EQ(read.IconIndex, 0);
    EXPECT_EQ(read.HotKey, 0);

    box = ClickAndAnswer(link);
    EXPECT_EQ(box.Text, "ショートカットを削除しました。");
    EXPECT_EQ(box.Icon, Information);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(link.Caption(), Register);
}

TEST_F(StartupLink, SaysWhenTheLinkCannotBeWrittenOrRemoved) {
    TStartupLink nowhere(Folder / "missing\\Mirto.lnk");
    TBox box = ClickAndAnswer(nowhere);
    EXPECT_EQ(box.Text, "ショートカットの作成に失敗しました。");
    EXPECT_EQ(box.Icon, Error);
    EXPECT_EQ(nowhere.Caption(), Register);

    const std::string path = Folder / "Mirto.lnk";
    ASSERT_TRUE(WriteTextFile(path, "made by hand"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    TStartupLink locked(path);
    EXPECT_EQ(locked.Caption(), Remove);
    box = ClickAndAnswer(locked);
    EXPECT_EQ(box.Text, "削除に失敗しました。");
    EXPECT_EQ(box.Icon, Error);
    EXPECT_EQ(locked.Caption(), Remove);

    // Removed by someone else after the caption was set: nothing to say.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    box = ClickAndAnswer(locked);
    EXPECT_EQ(box.Text, "");
    EXPECT_EQ(locked.Caption(), Register);
}
