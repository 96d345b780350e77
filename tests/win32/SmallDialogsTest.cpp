#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogDriver.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit3Ids.h"

namespace {

// Shows a dialog on a thread of its own, lets drive answer it once it is visible, and returns
// the dialog's result (-1 when it never showed or never closed).
template <class Show, class Drive> int Answer(const char* caption, Show show, Drive drive) {
    TModalRun run(show);
    HWND dialog = WaitForDialog(caption);
    if (dialog == nullptr) return -1;
    drive(dialog);
    return run.Result();
}

} // namespace

TEST(DialogTemplates, AreInTheProgram) {
    const std::string program = BuiltProgramsFolder() + "\\Mirto.exe";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << program;
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(IDD_FORM3), RT_DIALOG), nullptr);
    FreeLibrary(module);
}

TEST(LinkDialog, OffersTheLinkFileFirstAndAnswersOkYesOrCancel) {
    TForm3 form;
    auto show = [&] { return form.ShowModal(nullptr, "リンク先のURLを登録(&U)"); };

    EXPECT_EQ(
        Answer(
            "登録確認", show,
            [](HWND dialog) {
                EXPECT_EQ(ControlText(dialog, IDC_FORM3_LABEL1),
                          "リンクファイルが選択されました。");
                EXPECT_EQ(ControlText(dialog, IDC_FORM3_RADIOBUTTON1),
                          "リンクファイル自体を登録(&L)");
                EXPECT_EQ(ControlText(dialog, IDC_FORM3_RADIOBUTTON2), "リンク先のURLを登録(&U)");
                EXPECT_EQ(ControlText(dialog, IDOK), "&Ok");
                EXPECT_EQ(ControlText(dialog, IDCANCEL), "&Cancel");
                EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDOK);
                EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
                EXPECT_TRUE(Checked(dialog, IDC_FORM3_RADIOBUTTON1));
                EXPECT_FALSE(Checked(dialog, IDC_FORM3_RADIOBUTTON2));
                Click(dialog, IDC_FORM3_RADIOBUTTON2);
                EXPECT_FALSE(Checked(dialog, IDC_FORM3_RADIOBUTTON1));
                Click(dialog, IDOK);
            }),
        IDYES);

    // Shown again, the link file itself is the choice once more.
    EXPECT_EQ(Answer("登録確認", show, [](HWND dialog) { Click(dialog, IDOK); }), IDOK);
    EXPECT_EQ(Answer("登録確認", show,
                     [](HWND dialog) {
                         EXPECT_TRUE(Checked(dialog, IDC_FORM3_RADIOBUTTON1));
                         Click(dialog, IDC_FORM3_RADIOBUTTON2);
                         Click(dialog, IDCANCEL);
                     }),
              IDCANCEL);
    EXPECT_EQ(Answer("登録確認", show,
                     [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              IDCANCEL);
}
