// The text-set editor of the running program writes a new set only as a file of the text-set
// folder: a name that reaches out of it ("..\Mirto" would be the settings file) is refused on
// the field with the editor still open, an existing set's name is asked about first, and a
// plain name is written in the folder.
#include <windows.h>

#include <string>

#include "E2eFixture.h"
#include "dialogs/TextSetEditorIds.h"
#include "dialogs/TabClipboardIds.h"

TEST_F(MirtoTest, ANewTextSetIsWrittenOnlyInTheTextSetFolder) {
    const std::string settings = IniText({"[Page.1-A]", "Name=one", "Path=C:\\windows\\notepad.exe"});
    const std::string old = IniText({"[Basic]", "Title=old", "[Page.1]", "A=kept"});
    ASSERT_TRUE(CreateDirectoryA(Folder.FilePath("Cliplist").c_str(), nullptr));
    ASSERT_TRUE(Folder.Write("Cliplist\\Old.ini", old));
    ASSERT_NO_FATAL_FAILURE(StartWithSettings(settings));
    const WPARAM ClipboardCommand = 102;
    PostMessageA(Form(), WM_COMMAND, ClipboardCommand, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = Mirto->VisibleDialog("詳細設定")) != nullptr; }));
    ClickButton(FindControl(dialog, IDC_BUTTON16));
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = Mirto->VisibleDialog("クリップボード登録")) != nullptr; }));
    const HWND name = FindControl(editor, IDC_EDITOR_EDIT2);

    // OK with the name typed: the message box's text, answered with the button.
    auto ok = [&](const char* typed, int answer) -> std::string {
        SetControlText(name, typed);
        PostMessageA(editor, WM_COMMAND, IDOK, 0);
        const HWND box = Mirto->WaitMessageBox();
        if (!box) return "(no message)";
        const std::string text = MessageBoxText(box);
        CloseMessageBox(box, answer);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    };
    EXPECT_EQ(ok("..\\Mirto", IDOK),
              "ファイル名に \\ / : は使えません。\nフォルダを含まない名前だけを入力してください。");
    EXPECT_EQ(ok("con", IDOK), "ファイル名 \"con\" は Windows が予約している名前のため使えません。");
    EXPECT_TRUE(IsWindowVisible(editor)) << "the editor closed on a refused name";
    EXPECT_EQ(Folder.Read("Mirto.ini").find("[Basic]"), std::string::npos)
        << "the set was written over the settings";
    EXPECT_EQ(ok("Old", IDNO), "ファイル \"Old.ini\" は既にあります。\n上書きしてもよろしいでしょうか？");
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(Folder.Read("Cliplist\\Old.ini"), old);

    SetControlText(name, "Fresh");
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(editor); })) << "the editor stayed open";
    EXPECT_EQ(Folder.Read("Cliplist\\Fresh.ini").rfind("[Basic]\r\n", 0), 0u);
    EXPECT_EQ(Folder.Read("Cliplist\\Old.ini"), old);
    EXPECT_EQ(Folder.Read("Mirto.ini").find("[Basic]"), std::string::npos);
}
