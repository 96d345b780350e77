#include "dialogs/TabClipboard.h"

#include <algorithm>

#include "dialogs/TextSetEdit.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/TextSetEditor.h"
#include "dialogs/TextSetChooser.h"
#include "frame/MessageBox.h"
#include "system/PathText.h"
#include "system/PathsWin.h"
#include "system/SysInfoWin.h"

void TClipboardPage::Load(const TSettingsDialogData& data) {
    const TSettingData& s = data.Settings;
    LoadFile = s.LoadFile;
    CurrentFile = s.CurrentFile;
    ListDir = s.ListDir;
    ProgramFolder = data.ProgramFolder;
    SwitchTextSet = data.SwitchTextSet;
    SetChecked(IDC_CHECKBOX13, s.SaveHistory);
    SendDlgItemMessageA(Handle(), IDC_LISTBOX3, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    RefreshSetList();
}

void TClipboardPage::Save(TSettingsDialogData& data) const {
    TSettingData& s = data.Settings;
    const int line = Selected();
    if (line >= 0) {
        s.LoadFile = SelectedSetFile(line, FileNames, "");
        s.Startup = line > 0 ? 1 : 0;
    }
    s.SaveHistory = Checked(IDC_CHECKBOX13);
    s.CurrentFile = CurrentFile;
}

void TClipboardPage::Layout(int width, int height) {
    // Lengths are pixels at 96 dots per inch, taken at the dialog's scale (s).
    const auto s = [this](int pixels) { return Scaled(pixels); };
    const int least = s(8);
    auto place = [this, least](int id, int x, int y, int w, int h) {
        PlaceItem(id, x, y, w, h, least);
    };
    RECT r{};
    GetWindowRect(Item(IDC_BUTTON16), &r);
    const int buttonH = r.bottom - r.top;
    GetWindowRect(Item(IDC_CHECKBOX13), &r);
    const int checkH = r.bottom - r.top;
    place(IDC_CLIPBOARD_LABEL1, s(8), s(6), width - s(116), s(14));
    place(IDC_LISTBOX3, s(8), s(22), width - s(123), height - s(53));
    int y = s(22);
    for (int id : {IDC_BUTTON16, IDC_BUTTON17, IDC_BUTTON18, IDC_BUTTON19, IDC_BUTTON21}) {
        if (id == IDC_BUTTON21) y += s(12);
        place(id, width - s(100), y, s(92), buttonH);
        y += buttonH + s(6);
    }
    place(IDC_CHECKBOX13, s(8), height - s(18) - (checkH - s(16)) / 2, width - s(16), checkH);
}

std::string TClipboardPage::LineText(int line) const {
    return ListBoxText(Item(IDC_LISTBOX3), line);
}

int TClipboardPage::Selected() const {
    return static_cast<int>(SendDlgItemMessageA(Handle(), IDC_LISTBOX3, LB_GETCURSEL, 0, 0));
}

void TClipboardPage::SelectLine(int line) {
    SendDlgItemMessageA(Handle(), IDC_LISTBOX3, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    ApplySelectionRule();
}

void TClipboardPage::RefreshSetList() {
    FillTextSetList(Item(IDC_LISTBOX3), TextSetFolder(), FileNames,
                    SelectedSetFile(Selected(), FileNames, LoadFile));
    ApplySelectionRule();
}

void TClipboardPage::ApplySelectionRule() {
    const int line = Selected();
    Enable(IDC_BUTTON17, line >= 0);
    Enable(IDC_BUTTON18, line > 0);
}

bool TClipboardPage::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_LISTBOX3:
        if (code == LBN_SELCHANGE) ApplySelectionRule();
        return true;
    case IDC_BUTTON16:
        NewSet();
        return true;
    case IDC_BUTTON17:
        EditSet();
        return true;
    case IDC_BUTTON18:
        DeleteSet();
        return true;
    case IDC_BUTTON19:
        RefreshSetList();
        return true;
    case IDC_BUTTON21:
        SwitchSet();
        return true;
    default:
        return false;
    }
}

void TClipboardPage::NewSet() {
    TStringList lines;
    const int count =
        static_cast<int>(SendDlgItemMessageA(Handle(), IDC_LISTBOX3, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        lines.Add(LineText(i));
    // The editor writes into the text-set folder below the program's folder; a folder not made
    // yet is made now so that the first set can be written.
    const std::string folder = TextSetFolder();
    CreateDirectoryA(RemoveTrailingBackslash(folder).c_str(), nullptr);
    TTextSetEditorData editor;
    editor.Folder = folder;
    editor.Title = NewTextSetTitle(lines);
    editor.FileName = FileTitle(NewNumberedFileName(folder, "CName", ".ini", 3));
    editor.Window = {0, 0, TextSetPageCount - 1, TextSetPageSize - 1};
    const bool written = TTextSetEditor(editor).Execute(GetAncestor(Handle(), GA_ROOT)) == IDOK;
    RefreshSetList();
    if (!written) return;
    const LRESULT line =
        SendDlgItemMessageA(Handle(), IDC_LISTBOX3, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(editor.Title.c_str()));
    if (line != LB_ERR) SelectLine(static_cast<int>(line));
}

void TClipboardPage::EditSet() {
    const int line = Selected();
    if (line < 0) return;
    TTextSetEditorData editor;
    std::string file;
    if (line == 0) {
        // The blank entry: only the switch that loads the saved history.
        editor.Folder = ProgramFolder;
        editor.Title = HistoryTitle;
        editor.FileName = FileTitle(HistoryFileName);
        editor.BlankEntry = true;
        editor.LoadHistory = ReadHistoryLoadSwitch(ProgramFolder + HistoryFileName);
    } else {
        file = FileNames[static_cast<std::size_t>(line - 1)];
        const std::string title = LineText(line);
        TStringList texts;
        TTextSetWindow window;
        ReadTextSet(texts, TextSetFolder() + file, title, &window);
        editor.Folder = TextSetFolder();
        editor.Title = title;
        editor.FileName = FileTitle(file);
        editor.FixedFileName = true;
        editor.Texts = TextsOfList(texts);
        const TEditorWindow shown = EditorWindowOfSet(window);
        editor.History = shown.History;
        editor.Window = shown.Fields;
        editor.LoadHistory = window.LoadHistory;
    }
    const bool written = TTextSetEditor(editor).Execute(GetAncestor(Handle(), GA_ROOT)) == IDOK;
    // The set in use takes the edited texts at once.
    if (written && !file.empty() && SameText(file, CurrentFile) && SwitchTextSet)
        SwitchTextSet(CurrentFile);
    RefreshSetList();
}

void TClipboardPage::DeleteSet() {
    const int line = Selected();
    if (line <= 0) {
        Enable(IDC_BUTTON18, false);
        return;
    }
    if (ShowMessageBox(GetAncestor(Handle(), GA_ROOT),
                       LineText(line) + "\nこの設定ファイルを削除してよろしいですか？",
                       MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::string path = TextSetFolder() + FileNames[static_cast<std::size_t>(line - 1)];
    if (!DeleteFileA(path.c_str())) {
        const DWORD error = GetLastError();
        ShowMessageBox(GetAncestor(Handle(), GA_ROOT), GetSystemErrorText(error), MB_ICONSTOP);
        return;
    }
    RefreshSetList();
    const int count =
        static_cast<int>(SendDlgItemMessageA(Handle(), IDC_LISTBOX3, LB_GETCOUNT, 0, 0));
    SelectLine(std::min(line, count - 1));
}

void TClipboardPage::SwitchSet() {
    HWND frame = GetAncestor(Handle(), GA_ROOT);
    RECT r{};
    GetWindowRect(frame, &r);
    TTextSetChooser chooser;
    chooser.FileName = CurrentFile;
    chooser.ProgramFolder = ProgramFolder;
    chooser.ListDir = ListDir;
    if (chooser.Execute(frame, r.left + (r.right - r.left - Scaled(TTextSetChooser::Width)) / 2,
                        r.top + (r.bottom - r.top - Scaled(TTextSetChooser::Height)) / 2) != IDOK)
        return;
    CurrentFile = chooser.FileName;
    if (SwitchTextSet) SwitchTextSet(CurrentFile);
}
