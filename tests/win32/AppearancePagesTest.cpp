#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "GdiCount.h"
#include "dialogs/TabAppearanceIds.h"
#include "dialogs/TabKeysIds.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SettingsDialogIds.h"

// The settings dialog's appearance pages driven as a user would: the font list and its preview,
// the skin list of a program folder with the skin library's own window, the transparency tried
// before OK, and the position; OK hands the choices back in the dialog's copy.

namespace {

std::string LineText(HWND list, int line) {
    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
    return text;
}

// Selects a line of a list box or combo box and tells the page, as a click would.
void Choose(HWND control, int line, bool combo = false) {
    SendMessageA(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageA(GetParent(control), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(control), combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control));
}

LOGFONTA FontOf(HWND label) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}


void ShowTab(HWND frame, int tab) {
    SendMessageA(Descendant(frame, IDC_PAGECONTROL1), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
}

} // namespace

TEST(AppearancePages, FontPreviewSkinListTransparencyAndPositionReachTheDialogsCopy) {
    TTestFolder folder("MirtoAppearance");
    ASSERT_TRUE(CreateDirectoryA((folder / "Skin").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(folder / "Skin\\Plain.ini", "[Basic]\r\nName=あさぎ\r\nDLL=\r\n"));
    ASSERT_TRUE(WriteTextFile(folder / "Skin\\Nameless.ini", "[Basic]\r\nDLL=x.dll\r\n"));
    ASSERT_TRUE(WriteTextFile(folder / "Skin\\Own.ini", "[Basic]\r\nName=Own\r\nDLL=own.dll\r\n"));
    ASSERT_TRUE(WriteTextFile(folder / "Mirto.ini", "[Window]\r\nWidth=700\r\n"));
    ASSERT_TRUE(CopyFileA((BuiltProgramsFolder() + "\\Skin.dll").c_str(),
                          (folder / "skin.dll").c_str(), FALSE));

    TSettingsDialogData data;
    data.ProgramFolder = folder.Path() + "\\";
    data.Settings.SkinDir = "Skin\\";
    data.Settings.Skin = "skin\\OWN.ini";
    data.Settings.Transparent = 5;
    data.Settings.Position = 3;
    data.Menu.FontName = "No Such Font";
    data.Menu.FontSize = 13;
    data.Menu.FontBold = false;
    data.Menu.FontItalic = false;
    data.LayeredWindows = true;
    std::mutex levelsLock;
    std::vector<int> levels;
    data.PreviewTransparency = [&](int level) {
        std::lock_guard<std::mutex> hold(levelsLock);
        levels.push_back(level);
    };
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 2, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);

    // The font list: no vertical variants; an unknown font falls back to the first of
    // "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝" and the list's first line; a size of 13 shows "10".
    HWND fonts = Descendant(frame, IDC_LISTBOX1);
    ASSERT_TRUE(IsWindowVisible(fonts)) << "page 2 opens the font tab";
    const int fontCount = static_cast<int>(SendMessageA(fonts, LB_GETCOUNT, 0, 0));
    ASSERT_GT(fontCount, 1);
    for (int i = 0; i < fontCount; ++i)
        EXPECT_NE(LineText(fonts, i)[0], '@') << LineText(fonts, i);
    int expected = 0;
    for (const char* fallback : {"ＭＳ Ｐ明朝", "ＭＳ Ｐゴシック"}) {
        const auto at = SendMessageA(fonts, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(fallback));
        if (at != LB_ERR) expected = static_cast<int>(at);
    }
    EXPECT_EQ(SendMessageA(fonts, LB_GETCURSEL, 0, 0), expected);
    EXPECT_EQ(ControlText(GetParent(fonts), IDC_COMBOBOX7), "10");

    // The preview: both labels in the chosen face, Shift_JIS and ANSI, following size and bold,
    // and centred in the panel.
    HWND upper = Descendant(frame, IDC_LABEL26), lower = Descendant(frame, IDC_LABEL27);
    HWND sizes = Descendant(frame, IDC_COMBOBOX7);
    const LOGFONTA at10 = FontOf(upper);
    EXPECT_EQ(at10.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(FontOf(lower).lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(std::string(at10.lfFaceName), LineText(fonts, expected));
    EXPECT_EQ(at10.lfWeight, FW_NORMAL);
    const LONG smallHeight = ScreenRect(upper).bottom - ScreenRect(upper).top;
    Choose(sizes, 5, true); // "16"
    Click(GetParent(fonts), IDC_CHECKBOX6);
    const LOGFONTA at16 = FontOf(upper);
    EXPECT_LT(at16.lfHeight, at10.lfHeight) << "a larger character height asked for";
    EXPECT_EQ(at16.lfWeight, FW_BOLD);
    EXPECT_EQ(FontOf(lower).lfWeight, FW_BOLD);
    EXPECT_GT(ScreenRect(upper).bottom - ScreenRect(upper).top, smallHeight);
    const RECT panel = ScreenRect(Descendant(frame, IDC_PANEL3));
    for (HWND label : {upper, lower}) {
        const RECT r = ScreenRect(label);
        EXPECT_LE(std::abs((r.left + r.right) - (panel.left + panel.right)), 2);
    }
    EXPECT_LE(
        std::abs((ScreenRect(upper).top - panel.top) - (panel.bottom - ScreenRect(lower).bottom)),
        4)
        << "the two lines centred vertically";
    EXPECT_EQ(ScreenRect(lower).top - ScreenRect(upper).bottom, 2);

    // The preview's fonts are replaced, not piled up: the fonts of each change are deleted by
    // the next, and the process's GDI objects stay as many as after one change, give or take the
    // few the system keeps for painting (counted with the dialog painted); ten changes that kept
    // their fonts would leave twenty more.
    const auto painted = [&] {
        RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return GdiObjectCount();
    };
    Choose(fonts, 0);
    const int afterOne = painted();
    std::vector<HGDIOBJ> replaced;
    for (int i = 1; i <= 10; ++i) {
        for (HWND label : {upper, lower})
            replaced.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
        Choose(fonts, i % fontCount);
        Choose(sizes, i % 6, true);
    }
    for (HGDIOBJ font : replaced)
        EXPECT_EQ(GetObjectType(font), 0u) << "a replaced preview font still exists";
    EXPECT_LT(painted(), afterOne + 10);
    const std::string chosenFont = LineText(fonts, 10 % fontCount);

    // The skin list: the standard background, then the named definitions; the current one
    // selected whatever its letter case.
    ShowTab(frame, 5);
    HWND skins = Descendant(frame, IDC_LISTBOX2);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(skins) != FALSE; }));
    ASSERT_EQ(SendMessageA(skins, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(LineText(skins, 0), "ミルト　-標準背景");
    EXPECT_EQ((std::set<std::string>{LineText(skins, 1), LineText(skins, 2)}),
              (std::set<std::string>{"あさぎ", "Own"}));
    const int own = LineText(skins, 1) == "Own" ? 1 : 2;
    EXPECT_EQ(SendMessageA(skins, LB_GETCURSEL, 0, 0), own);
    HWND details = Descendant(frame, IDC_BUTTON13);
    EXPECT_TRUE(IsWindowEnabled(details));
    Choose(skins, 3 - own);
    EXPECT_FALSE(IsWindowEnabled(details)) << "a skin without a library has no settings window";

    // The standard background's library from the program folder, given the settings file; the
    // settings dialog waits for its window.
    Choose(skins, 0);
    ASSERT_TRUE(IsWindowEnabled(details));
    PostMessageA(details, BM_CLICK, 0, 0);
    HWND library = WaitForDialog("標準の背景");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(ControlText(library, 101), "700");
    EXPECT_FALSE(IsWindowEnabled(frame));
    PostMessageA(library, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(frame) != FALSE; }));
    Choose(skins, 3 - own);

    // Transparency tried at once: the track bar's level while switched on, -1 when off.
    HWND track = Descendant(frame, IDC_TRACKBAR1);
    HWND page = GetParent(track);
    EXPECT_TRUE(Checked(page, IDC_CHECKBOX14));
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 5);
    SendMessageA(track, TBM_SETPOS, TRUE, 12);
    Click(page, IDC_BUTTON20);
    Click(page, IDC_CHECKBOX14);
    EXPECT_FALSE(IsWindowEnabled(track));
    Click(page, IDC_BUTTON20);
    {
        std::lock_guard<std::mutex> hold(levelsLock);
        EXPECT_EQ(levels, (std::vector<int>{12, -1}));
    }

    // The position: two columns, the stored one checked.
    ShowTab(frame, 6);
    HWND centre = Descendant(frame, IDC_RADIO_POSITION0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(centre) != FALSE; }));
    EXPECT_TRUE(Checked(GetParent(centre), IDC_RADIO_POSITION3));
    EXPECT_EQ(ScreenRect(centre).left, ScreenRect(Descendant(frame, IDC_RADIO_POSITION2)).left);
    EXPECT_GT(ScreenRect(Descendant(frame, IDC_RADIO_POSITION3)).left, ScreenRect(centre).right);
    Click(GetParent(centre), IDC_RADIO_POSITION1);

    PostMessageA(frame, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(run.Result(), IDOK);
    EXPECT_EQ(data.Settings.Skin, "Skin\\Plain.ini");
    EXPECT_EQ(data.Settings.Transparent, -1);
    EXPECT_EQ(data.Settings.Position, 1);
    EXPECT_EQ(data.Menu.FontName, chosenFont);
    EXPECT_EQ(data.Menu.FontSize, 14) << "the last size chosen";
    EXPECT_TRUE(data.Menu.FontBold);
    EXPECT_FALSE(data.Menu.FontItalic);
}

TEST(AppearancePages, WithoutLayeredWindowsTheTransparencyIsNeitherOfferedNorChanged) {
    TSettingsDialogData data;
    data.Settings.Transparent = 7;
    data.LayeredWindows = false;
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 3, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    for (int id : {IDC_CHECKBOX14, IDC_TRACKBAR1, IDC_BUTTON20})
        EXPECT_FALSE(IsWindowEnabled(Descendant(frame, id))) << id;
    PostMessageA(frame, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(run.Result(), IDOK);
    EXPECT_EQ(data.Settings.Transparent, 7);
    EXPECT_EQ(data.Settings.Skin, "") << "no program folder: the standard background";
}

TEST(AppearancePages, TheFontFamiliesAreListedWhenTheFontPageIsFirstShownAndOnlyThen) {
    TSettingsDialogData data;
    data.Menu.FontName = "No Such Font";
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND fonts = Descendant(frame, IDC_LISTBOX1);
    EXPECT_EQ(SendMessageA(fonts, LB_GETCOUNT, 0, 0), 0) << "listed on a page not shown";
    ShowTab(frame, 4);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(fonts) != FALSE; }));
    const LRESULT listed = SendMessageA(fonts, LB_GETCOUNT, 0, 0);
    ASSERT_GT(listed, 1);
    EXPECT_GE(SendMessageA(fonts, LB_GETCURSEL, 0, 0), 0) << "no font chosen";
    // A family taken out of the list stays out when the page is shown again: not listed twice.
    SendMessageA(fonts, LB_DELETESTRING, static_cast<WPARAM>(listed - 1), 0);
    ShowTab(frame, 0);
    ShowTab(frame, 4);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(fonts) != FALSE; }));
    EXPECT_EQ(SendMessageA(fonts, LB_GETCOUNT, 0, 0), listed - 1);
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), IDCANCEL);
}
