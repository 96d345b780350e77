#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/TabAppearanceIds.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/TabKeysIds.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SettingsDialogIds.h"
#include "dialogs/LinkChoiceDialog.h"
#include "dialogs/TextSetChooser.h"
#include "dialogs/TextSetChooserIds.h"
#include "dialogs/MissingProgramDialog.h"
#include "system/Win32Platform.h"
#include "dialogs/TextSetEditor.h"
#include "dialogs/TextSetEditorIds.h"
#include "frame/AccessibleValues.h"

// What a screen reader reads for each control of the dialogs: every control a user can reach
// (and the pictures) answers with a name, the label before it or the one it is given.

namespace {

std::wstring AccessibleName(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return L"(no object)";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (SUCCEEDED(object->get_accName(self, &name)) && name) result = name;
    SysFreeString(name);
    object->Release();
    return result;
}

VARIANT Child(long id) {
    VARIANT child;
    SetLongVariant(&child, id);
    return child;
}

// A grid as a screen reader reads it: its rows (counted and listed), the first row's name, the
// selection and the focus after the third row is selected and the grid has the keyboard, and
// the row at the middle of the third's rectangle.
struct TGridReading {
    long Rows = -1, Listed = -1;
    long Role = 0;
    std::wstring FirstName;
    long FirstState = 0, ThirdState = 0;
    long Selection = 0, Focus = 0, AtThird = 0;
};

TGridReading ReadGrid(HWND grid) {
    TGridReading reading;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(grid, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return reading;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(grid, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
    SendMessageA(GetParent(grid), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(grid), TRUE);
    object->get_accChildCount(&reading.Rows);
    std::vector<VARIANT> children(64);
    if (SUCCEEDED(AccessibleChildren(object, 0, static_cast<LONG>(children.size()), children.data(),
                                     &reading.Listed)))
        for (long i = 0; i < reading.Listed; ++i)
            VariantClear(&children[static_cast<size_t>(i)]);
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accRole(Child(1), &value)) && value.vt == VT_I4)
        reading.Role = value.lVal;
    BSTR name = nullptr;
    if (SUCCEEDED(object->get_accName(Child(1), &name)) && name) reading.FirstName = name;
    SysFreeString(name);
    VariantInit(&value);
    if (SUCCEEDED(object->get_accState(Child(1), &value)) && value.vt == VT_I4)
        reading.FirstState = value.lVal;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accState(Child(3), &value)) && value.vt == VT_I4)
        reading.ThirdState = value.lVal;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accSelection(&value)) && value.vt == VT_I4)
        reading.Selection = value.lVal;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accFocus(&value)) && value.vt == VT_I4) reading.Focus = value.lVal;
    long left = 0, top = 0, width = 0, height = 0;
    VariantInit(&value);
    if (SUCCEEDED(object->accLocation(&left, &top, &width, &height, Child(3))) &&
        SUCCEEDED(object->accHitTest(left + width / 2, top + height / 2, &value)) &&
        value.vt == VT_I4)
        reading.AtThird = value.lVal;
    object->Release();
    return reading;
}

// The grid reads as 26 rows (one for each key), the first named by its cells.
void ExpectGridRows(HWND grid, const wchar_t* firstName) {
    const TGridReading reading = ReadGrid(grid);
    EXPECT_EQ(reading.Rows, 26);
    EXPECT_EQ(reading.Listed, 26);
    EXPECT_EQ(reading.Role, ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(reading.FirstName, firstName);
    EXPECT_EQ(reading.FirstState & STATE_SYSTEM_SELECTED, 0);
    EXPECT_NE(reading.FirstState & STATE_SYSTEM_SELECTABLE, 0);
    EXPECT_EQ(reading.ThirdState & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED),
              STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(reading.Selection, 3);
    EXPECT_EQ(reading.Focus, 3);
    EXPECT_EQ(reading.AtThird, 3);
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The controls a user reaches with the keyboard: every shown one that is not a text or a frame
// (the dialogs' child pages included, whichever tab shows).
std::vector<HWND> ReachableControls(HWND dialog) {
    std::vector<HWND> found;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
            const std::string cls = ClassOf(child);
            const bool frame = cls == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX;
            if ((style & WS_VISIBLE) && (style & WS_CHILD) && cls != "Static" && cls != "#32770" &&
                !frame && GetParent(child) != nullptr && ClassOf(GetParent(child)) == "#32770")
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Shows the dialog on a thread of its own (with COM, as the program's thread has it), checks
// that every reachable control and the pictures named have a name, and the names expected.
void ExpectNamed(const char* caption, const std::function<int()>& show,
                 const std::vector<int>& pictures,
                 const std::vector<std::pair<int, const wchar_t*>>& expected,
                 const std::function<void(HWND dialog)>& alsoCheck = {}) {
    TModalRun run([show] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const int result = show();
        CoUninitialize();
        return result;
    });
    HWND dialog = WaitForDialog(caption);
    ASSERT_NE(dialog, nullptr) << caption;
    const std::vector<HWND> controls = ReachableControls(dialog);
    EXPECT_GE(controls.size(), 3u) << caption;
    for (HWND control : controls)
        EXPECT_NE(AccessibleName(control), L"")
            << caption << ": " << ClassOf(control) << " " << GetDlgCtrlID(control);
    for (int id : pictures) {
        ASSERT_NE(Descendant(dialog, id), nullptr) << id;
        EXPECT_NE(AccessibleName(Descendant(dialog, id)), L"") << caption << ": picture " << id;
    }
    for (const auto& [id, name] : expected)
        EXPECT_EQ(AccessibleName(Descendant(dialog, id)), name) << caption << ": " << id;
    if (alsoCheck) alsoCheck(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_NE(run.Result(), -1) << caption;
}

class DialogNames : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&Win32);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void TearDown() override {
        CoUninitialize();
        SetPlatform(nullptr);
    }
    TWin32Platform Win32;
    TTestFolder Folder{"MirtoDialogNames"};
};

} // namespace

TEST_F(DialogNames, EveryPageOfTheSettingsDialogNamesItsControlsByTheirLabels) {
    TSettingsDialogData data;
    data.ProgramFolder = Folder.Path() + "\\";
    data.LayeredWindows = true;
    data.Items.SetName(0, "メモ帳");
    data.Items.SetPath(0, "C:\\Windows\\notepad.exe");
    TSettingsDialog dialog(data);
    ExpectNamed(
        "詳細設定", [&] { return static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452)); },
        {IDC_PANEL3, IDC_IMAGE1},
        {
            {IDC_DROPCATCHGRID1, L"Key Assign"}, // "&Key Assign:"
            {IDC_EDIT2, L"パス(T)"},             // "パス(&T)："
            {IDC_COMBOBOX7, L"サイズ(S)"},       // "サイズ(&S)："
            {IDC_LISTBOX1, L"フォント名(F)"},    // "フォント名(&F)："
            {IDC_TRACKBAR1, L"透過レベル(L)"},   // "透過レベル(&L)："
            {IDC_MEMO1, L"変更量(P)"},           // "変更量(&P)：", then "Pixels"
            {IDC_COMBOBOX10, L"ウィンドウの移動を有効にする(M)"}, // after "Pixels": its check box
            {IDC_COMBOBOX34, L"スクリーンセーバーの起動を有効にする(P)"}, // after "+"
            {IDC_COMBOBOX2, L"呼び出しキー(L)"},
            {IDC_LISTBOX3, L"起動時の状態(L)"},
            {IDC_CHECKBOX6, L"太字(B)"}, // a check box: its own text, as the system reads it
        },
        [](HWND shown) {
            ExpectGridRows(Descendant(shown, IDC_DROPCATCHGRID1),
                           L"A, Name メモ帳, Path C:\\Windows\\notepad.exe, Size Nor");
        });
}

TEST_F(DialogNames, TheTextSetEditorAndTheSmallDialogsNameTheirControls) {
    TTextSetEditorData editor;
    editor.Folder = Folder.Path() + "\\";
    editor.Title = "挨拶";
    editor.FileName = "CName001";
    editor.Texts[0] = "こんにちは";
    ExpectNamed(
        "クリップボード登録",
        [&] { return static_cast<int>(TTextSetEditor(editor).Execute(nullptr)); }, {},
        {{IDC_EDITOR_EDIT1, L"タイトル(T)"},
         {IDC_EDITOR_EDIT2, L"ファイル名(F)"},
         {IDC_EDITOR_COMBOBOX1, L"ページ(P)"}},
        [](HWND shown) {
            ExpectGridRows(Descendant(shown, IDC_EDITOR_STRINGGRID1), L"A, 文字列 こんにちは");
        });

    TTextSetChooser chooser;
    chooser.ProgramFolder = Folder.Path() + "\\";
    ExpectNamed("クリップボード履歴選択",
                [&] { return static_cast<int>(chooser.Execute(nullptr, 0, 0)); }, {},
                {{IDC_CHOOSER_LISTBOX1, L"履歴一覧(L)"}});

    ExpectNamed("登録確認",
                [] { return TLinkChoiceDialog().ShowModal(nullptr, "リンク先のURLを登録(&U)"); },
                {}, {});
    ExpectNamed(
        "登録の確認",
        [] { return TMissingProgramDialog().ShowModal(nullptr, "1", "A", "C:\\missing.exe"); }, {},
        {});
}
