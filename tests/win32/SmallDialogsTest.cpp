#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogDriver.h"
#include "dialogs/LinkChoiceDialog.h"
#include "dialogs/LinkChoiceDialogIds.h"
#include "dialogs/MissingProgramDialog.h"
#include "dialogs/MissingProgramDialogIds.h"

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

int WindowWidth(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

// The width of a text in the font of the control that shows it.
int TextWidth(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// The radio group sits in the middle of the client area, "&Ok" ends 16 pixels before the centre
// and "&Cancel" starts 16 pixels after it; the answers stay inside the group.
void ExpectCentredLayout(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    const int centre = client.right / 2;
    const RECT group = ControlRect(dialog, IDC_MISSING_RADIOGROUP1);
    EXPECT_NEAR((group.left + group.right) / 2, centre, 1);
    for (int id : {IDC_MISSING_BACK, IDC_MISSING_IGNORE, IDC_MISSING_IGNORE_ALL}) {
        const RECT radio = ControlRect(dialog, id);
        EXPECT_GT(radio.left, group.left) << id;
        EXPECT_LT(radio.right, group.right) << id;
    }
    EXPECT_EQ(ControlRect(dialog, IDOK).right, centre - 16);
    EXPECT_EQ(ControlRect(dialog, IDCANCEL).left, centre + 16);
}

} // namespace

TEST(DialogTemplates, AreInTheProgram) {
    const std::string program = BuiltProgramsFolder() + "\\Mirto.exe";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << program;
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(IDD_LINK_CHOICE), RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(IDD_MISSING_PROGRAM), RT_DIALOG), nullptr);
    FreeLibrary(module);
}

TEST(LinkDialog, OffersTheLinkFileFirstAndAnswersOkYesOrCancel) {
    TLinkChoiceDialog form;
    auto show = [&] { return form.ShowModal(nullptr, "リンク先のURLを登録(&U)"); };

    EXPECT_EQ(Answer("登録確認", show,
                     [](HWND dialog) {
                         EXPECT_EQ(ControlText(dialog, IDC_LINKCHOICE_LABEL1),
                                   "リンクファイルが選択されました。");
                         EXPECT_EQ(ControlText(dialog, IDC_LINKCHOICE_RADIOBUTTON1),
                                   "リンクファイル自体を登録(&L)");
                         EXPECT_EQ(ControlText(dialog, IDC_LINKCHOICE_RADIOBUTTON2),
                                   "リンク先のURLを登録(&U)");
                         EXPECT_EQ(ControlText(dialog, IDOK), "&Ok");
                         EXPECT_EQ(ControlText(dialog, IDCANCEL), "&Cancel");
                         EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDOK);
                         EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) &
                                       (WS_THICKFRAME | WS_MAXIMIZEBOX),
                                   0);
                         EXPECT_TRUE(Checked(dialog, IDC_LINKCHOICE_RADIOBUTTON1));
                         EXPECT_FALSE(Checked(dialog, IDC_LINKCHOICE_RADIOBUTTON2));
                         Click(dialog, IDC_LINKCHOICE_RADIOBUTTON2);
                         EXPECT_FALSE(Checked(dialog, IDC_LINKCHOICE_RADIOBUTTON1));
                         Click(dialog, IDOK);
                     }),
              IDYES);

    // Shown again, the link file itself is the choice once more.
    EXPECT_EQ(Answer("登録確認", show, [](HWND dialog) { Click(dialog, IDOK); }), IDOK);
    EXPECT_EQ(Answer("登録確認", show,
                     [](HWND dialog) {
                         EXPECT_TRUE(Checked(dialog, IDC_LINKCHOICE_RADIOBUTTON1));
                         Click(dialog, IDC_LINKCHOICE_RADIOBUTTON2);
                         Click(dialog, IDCANCEL);
                     }),
              IDCANCEL);
    EXPECT_EQ(Answer("登録確認", show,
                     [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              IDCANCEL);
}

TEST(MissingApplicationDialog, IsAsWideAsItsPathAndAsksFromTheFirstAnswerEachTime) {
    TMissingProgramDialog form;
    const std::string shortPath = "C:\\Tools\\a&b.exe";
    EXPECT_EQ(Answer(
                  "登録の確認", [&] { return form.ShowModal(nullptr, "2", "Q", shortPath); },
                  [&](HWND dialog) {
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_LABEL1),
                                "下記のアプリケーションが見つかりません。");
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_PAGE), "2");
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_KEY), "Q");
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_PATH), shortPath);
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_RADIOGROUP1), " 対応 ");
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_BACK), "設定画面に戻る(&B)");
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_IGNORE), "無視(&P)");
                      EXPECT_EQ(ControlText(dialog, IDC_MISSING_IGNORE_ALL), "全て無視(&A)");
                      EXPECT_EQ(ControlText(dialog, IDOK), "&Ok");
                      EXPECT_EQ(ControlText(dialog, IDCANCEL), "&Cancel");
                      EXPECT_LT(TextWidth(GetDlgItem(dialog, IDC_MISSING_PATH), shortPath), 307);
                      EXPECT_EQ(WindowWidth(dialog), 400);
                      ExpectCentredLayout(dialog);
                      EXPECT_TRUE(Checked(dialog, IDC_MISSING_BACK));
                      Click(dialog, IDC_MISSING_IGNORE_ALL);
                      Click(dialog, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(form.ItemIndex(), TMissingProgramDialog::IgnoreAll);

    std::string longPath = "C:\\";
    for (int i = 0; i < 4; ++i)
        longPath += "長い名前のアプリケーション\\";
    longPath += "見つからない.exe";
    EXPECT_EQ(Answer(
                  "登録の確認", [&] { return form.ShowModal(nullptr, "3", "Z", longPath); },
                  [&](HWND dialog) {
                      HWND label = GetDlgItem(dialog, IDC_MISSING_PATH);
                      const int width = TextWidth(label, longPath);
                      EXPECT_GE(width, 307);
                      EXPECT_EQ(WindowWidth(dialog), width + 94);
                      // The whole path shows.
                      RECT client{};
                      GetClientRect(dialog, &client);
                      const RECT path = ControlRect(dialog, IDC_MISSING_PATH);
                      EXPECT_EQ(path.right - path.left, width);
                      EXPECT_LE(path.right, client.right);
                      ExpectCentredLayout(dialog);
                      EXPECT_TRUE(Checked(dialog, IDC_MISSING_BACK));
                      EXPECT_FALSE(Checked(dialog, IDC_MISSING_IGNORE_ALL));
                      Click(dialog, IDC_MISSING_IGNORE);
                      Click(dialog, IDCANCEL);
                  }),
              IDCANCEL);
}
