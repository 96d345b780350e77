#include "dialogs/TabLauncher.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>

#include "dialogs/KeyCheck.h"
#include "dialogs/SettingsDialogIds.h"
#include "dialogs/LinkChoiceDialog.h"
#include "dialogs/MissingProgramDialog.h"
#include "frame/MessageBox.h"
#include "frame/Platform.h"
#include "frame/Scale.h"
#include "frame/Subclass.h"
#include "system/AnsiPath.h"
#include "system/BFolder.h"
#include "system/PathsWin.h"
#include "system/ShellLink.h"

namespace {
const char* const SizeItems[] = {"指定なし", "最小", "最大", "普通"};
const char* const PageItems[] = {"1", "2", "3"};
// The key letters' column, in pixels at 96 dots per inch.
constexpr int KeyColumnWidth = 24;

// A name keeps its line breaks as LF; the multi-line field shows them as CR LF, the grid as
// blanks.
std::string ToField(const std::string& name) {
    std::string text;
    for (char c : name) {
        if (c == '\n') text += '\r';
        text += c;
    }
    return text;
}
std::string FromField(const std::string& text) {
    std::string name;
    for (char c : text)
        if (c != '\r') name += c;
    return name;
}
std::string ToCell(const std::string& name) {
    std::string cell = name;
    for (char& c : cell)
        if (c == '\n' || c == '\r') c = ' ';
    return cell;
}

bool Ask(HWND owner, const std::string& question, unsigned flags = MB_ICONQUESTION) {
    return ShowMessageBox(owner, question, MB_YESNO | flags) == IDYES;
}

// Escape in the multi-line name field cancels the dialog, as it does in the other fields: a
// multi-line field takes every key for itself.
LRESULT CALLBACK EscapeCancels(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostMessageA(GetAncestor(window, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return DefSubclass(window, message, wParam, lParam);
}
} // namespace

TLauncherPage::TLauncherPage() = default;
TLauncherPage::~TLauncherPage() = default;

bool TLauncherPage::OnInit() {
    std::vector<std::string> columns{"", "Name", "Path", "Size", "Option", "WorkDir"};
    Grid.Attach(Item(IDC_DROPCATCHGRID1), columns, LauncherPageSize + 1);
    for (int row = 1; row <= LauncherPageSize; ++row)
        Grid.SetCell(0, row, std::string(1, static_cast<char>('A' + row - 1)));
    Grid.OnDropped = [this](const std::vector<std::string>& files, int row) {
        Dropped(files, row);
    };
    Grid.SetDropCatch(true);
    SetComboItems(IDC_COMBOBOX1, SizeItems, 4);
    SetComboItems(IDC_COMBOBOX8, PageItems, 3);
    SendDlgItemMessageA(Handle(), IDC_EDIT2, EM_LIMITTEXT, 0, 0);
    for (int id : {IDC_DROPCATCHGRID1, IDC_EDIT2, IDC_COMBOBOX1, IDC_EDIT3, IDC_EDIT4})
        SetSubclass(Item(id), FieldProc, static_cast<UINT_PTR>(id),
                    reinterpret_cast<DWORD_PTR>(this));
    SetSubclass(Item(IDC_MEMO3), EscapeCancels, 0, 0);
    return true;
}

void TLauncherPage::Load(const TSettingsDialogData& data) {
    Items.Assign(data.Items);
    SetComboIndex(IDC_COMBOBOX8, std::clamp(data.LauncherPage, 1, LauncherPageCount) - 1);
    LoadedRow = 0;
    ShowPage();
    SelectRow(1);
}

void TLauncherPage::Save(TSettingsDialogData& data) const {
    data.Items.Assign(Items);
}

int TLauncherPage::Page() const {
    return std::max(ComboIndex(IDC_COMBOBOX8), 0);
}

int TLauncherPage::SelectedRow() const {
    // The row whose fields are loaded; the grid's selection follows it.
    if (LoadedRow > 0) return LoadedRow;
    const int row = Grid.Row();
    return row > 0 ? row : 1;
}

void TLauncherPage::SelectRow(int row) {
    Grid.SetRow(row);
    if (LoadedRow != row) LoadRow(row);
}

void TLauncherPage::LoadRow(int row) {
    const int slot = SlotOfRow(Page(), row);
    Loading = true;
    SetItemText(IDC_MEMO3, ToField(Items.GetName(slot)));
    SetItemText(IDC_EDIT2, Items.GetPath(slot));
    const int size = Items.GetSize(slot);
    SetComboIndex(IDC_COMBOBOX1, size >= 0 && size <= 3 ? size : 0);
    SetItemText(IDC_EDIT3, Items.GetOption(slot));
    SetItemText(IDC_EDIT4, Items.GetWorkDir(slot));
    Loading = false;
    LoadedRow = row;
    EnableByPath();
    EnablePageDelete();
}

void TLauncherPage::CommitRow(int row) {
    if (row < 1) return;
    const int slot = SlotOfRow(Page(), row);
    Items.SetName(slot, FromField(ItemText(IDC_MEMO3)));
    Items.SetPath(slot, ItemText(IDC_EDIT2));
    Items.SetSize(slot, std::max(ComboIndex(IDC_COMBOBOX1), 0));
    Items.SetOption(slot, ItemText(IDC_EDIT3));
    Items.SetWorkDir(slot, ItemText(IDC_EDIT4));
    ShowRow(row);
    EnablePageDelete();
}

void TLauncherPage::ShowRow(int row) {
    const int slot = SlotOfRow(Page(), row);
    Grid.SetCell(1, row, ToCell(Items.GetName(slot)));
    Grid.SetCell(2, row, Items.GetPath(slot));
    Grid.SetCell(3, row, SizeToCodeText(Items.GetSize(slot)));
    Grid.SetCell(4, row, Items.GetOption(slot));
    Grid.SetCell(5, row, Items.GetWorkDir(slot));
}

void TLauncherPage::ShowPage() {
    for (int row = 1; row <= LauncherPageSize; ++row)
        ShowRow(row);
    LoadRow(SelectedRow());
}

void TLauncherPage::ClearFields() {
    Loading = true;
    for (int id : {IDC_MEMO3, IDC_EDIT2, IDC_EDIT3, IDC_EDIT4})
        SetItemText(id, "");
    SetComboIndex(IDC_COMBOBOX1, 0);
    Loading = false;
    EnableByPath();
    CommitRow(LoadedRow);
}

void TLauncherPage::EnableByPath() {
    const bool path = !ItemText(IDC_EDIT2).empty();
    for (int id : {IDC_COMBOBOX1, IDC_EDIT3, IDC_EDIT4, IDC_BUTTON_WORKDIR, IDC_BUTTON_UNASSIGN,
                   IDC_BUTTON_EXCHANGEKEY, IDC_BUTTON_COPYKEY})
        Enable(id, path);
}

void TLauncherPage::EnablePageDelete() {
    Enable(IDC_BUTTON_DELETEPAGE, !PageIsEmpty(Items, Page()));
}

void TLauncherPage::Layout(int width, int height) {
    // Lengths are pixels at 96 dots per inch, taken at the dialog's scale (s).
    const auto s = [this](int pixels) { return Scaled(pixels); };
    auto place = [this](int id, int x, int y, int w) {
        RECT r{};
        GetWindowRect(Item(id), &r);
        SetWindowPos(Item(id), nullptr, x, y, w > 0 ? w : r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    auto widthOf = [this](int id) {
        RECT r{};
        GetWindowRect(Item(id), &r);
        return static_cast<int>(r.right - r.left);
    };
    const int gridWidth = width - s(8);
    place(IDC_LABEL_KEYASSIGN, s(4), s(2), 0);
    SetWindowPos(Item(IDC_DROPCATCHGRID1), nullptr, s(4), s(18), gridWidth,
                 std::max(height - s(243), s(60)), SWP_NOZORDER | SWP_NOACTIVATE);
    const int dpi = Dpi();
    const int keyColumn = ScaleToDpi(KeyColumnWidth, dpi);
    const std::array<int, 5> columns = LauncherColumnWidths(gridWidth, 0, keyColumn, dpi);
    Grid.SetMinColWidth(ScaleToDpi(MinGridColumnWidth, dpi));
    Grid.SetColWidth(0, keyColumn);
    for (int i = 0; i < 5; ++i)
        Grid.SetColWidth(i + 1, columns[static_cast<std::size_t>(i)]);
    Grid.SizeSet();

    // Two rows of page controls (their captions are long), then the fields of the selected key,
    // their labels in a column on the left.
    int y = height - s(221);
    place(IDC_LABEL_PAGE, s(4), y + s(4), 0);
    int x = s(4) + widthOf(IDC_LABEL_PAGE) + s(4);
    place(IDC_COMBOBOX8, x, y, 0);
    x += widthOf(IDC_COMBOBOX8) + s(8);
    // Buttons in a row share the width that is left.
    auto row = [&](std::initializer_list<int> ids, int left, int top) {
        const int count = static_cast<int>(ids.size());
        const int each = std::max((width - s(4) - left - s(4) * (count - 1)) / count, s(40));
        for (int id : ids) {
            place(id, left, top, each);
            left += each + s(4);
        }
    };
    row({IDC_BUTTON_DELETEPAGE}, x, y);
    row({IDC_BUTTON_EXCHANGEPAGE, IDC_BUTTON_COPYPAGE}, s(4), y + s(26));
    const int labelWidth = s(112), fieldX = s(4) + labelWidth + s(4);
    const int browseWidth = widthOf(IDC_BUTTON_BROWSE);
    const int fieldWidth = std::max(width - fieldX - browseWidth - s(12), s(40));
    const int browseX = fieldX + fieldWidth + s(4);
    y = height - s(165);
    const struct {
        int Label, Field, Height;
    } rows[] = {{IDC_LABEL_NAME, IDC_MEMO3, 40},
                {IDC_LABEL_PATH, IDC_EDIT2, 24},
                {IDC_LABEL_SIZE, IDC_COMBOBOX1, 24},
                {IDC_LABEL_OPTION, IDC_EDIT3, 24},
                {IDC_LABEL_WORKDIR, IDC_EDIT4, 24}};
    for (const auto& row : rows) {
        place(row.Label, s(4), y + s(3), labelWidth);
        place(row.Field, fieldX, y, row.Field == IDC_COMBOBOX1 ? 0 : fieldWidth);
        if (row.Field == IDC_EDIT2) place(IDC_BUTTON_BROWSE, browseX, y - s(1), 0);
        if (row.Field == IDC_EDIT4) place(IDC_BUTTON_WORKDIR, browseX, y - s(1), 0);
        y += s(row.Height);
    }
    row({IDC_BUTTON_UNASSIGN, IDC_BUTTON_EXCHANGEKEY, IDC_BUTTON_COPYKEY}, s(4), y + s(2));
}

bool TLauncherPage::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_MEMO3:
    case IDC_EDIT2:
    case IDC_EDIT3:
    case IDC_EDIT4:
        if (code == EN_SETFOCUS) SendDlgItemMessageA(Handle(), id, EM_SETSEL, 0, -1);
        if (code == EN_KILLFOCUS && !Loading) CommitRow(LoadedRow);
        if (code == EN_CHANGE && id == IDC_EDIT2 && !Loading) EnableByPath();
        return true;
    case IDC_COMBOBOX1:
        if (code == CBN_SELCHANGE) CommitRow(LoadedRow);
        return true;
    case IDC_COMBOBOX8:
        if (code == CBN_SELCHANGE) ShowPage();
        return true;
    case IDC_BUTTON_BROWSE:
        BrowseProgram();
        return true;
    case IDC_BUTTON_WORKDIR:
        BrowseWorkDir();
        return true;
    case IDC_BUTTON_UNASSIGN:
        Unassign();
        return true;
    case IDC_BUTTON_EXCHANGEKEY:
    case IDC_BUTTON_COPYKEY: {
        POINT at{};
        GetCursorPos(&at);
        PopupKeyMenu(at, id == IDC_BUTTON_COPYKEY ? TLauncherEditMode::Copy
                                                  : TLauncherEditMode::Exchange);
        return true;
    }
    case IDC_BUTTON_DELETEPAGE:
        DeleteCurrentPage();
        return true;
    case IDC_BUTTON_EXCHANGEPAGE:
        PopupPageMenu(TLauncherEditMode::Exchange);
        return true;
    case IDC_BUTTON_COPYPAGE:
        PopupPageMenu(TLauncherEditMode::Copy);
        return true;
    default:
        return false;
    }
}

bool TLauncherPage::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_DROPCATCHGRID1) return false;
    result = 0;
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) &&
            change.iItem + 1 != LoadedRow) {
            CommitRow(LoadedRow);
            LoadRow(change.iItem + 1);
        }
        return true;
    }
    case NM_CLICK:
    case NM_RCLICK: {
        // The right button on a key, or the left one on its letter, opens the key menu.
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem < 0 || (header.code == NM_CLICK && click.iSubItem != 0)) return true;
        if (Items.GetPath(SlotOfRow(Page(), click.iItem + 1)).empty()) return true;
        SelectRow(click.iItem + 1);
        POINT at = click.ptAction;
        ClientToScreen(header.hwndFrom, &at);
        PopupKeyMenu(at, TLauncherEditMode::Exchange);
        return true;
    }
    default:
        return false;
    }
}

void TLauncherPage::PopupKeyMenu(POINT screen, TLauncherEditMode mode) {
    CommitRow(LoadedRow);
    KeyMode = mode;
    HMENU menu = CreateKeyMenu(
        "割り当て解除", IDM_UNASSIGN, IDM_KEY_FIRST, Page(), SelectedRow(),
        [](int page) { return "-> Page &" + std::to_string(page + 1) + "."; },
        [this](int slot) { return KeyMenuCaption(Items, slot); });
    const int chosen =
        static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                                        screen.x, screen.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen == IDM_UNASSIGN)
        Unassign();
    else if (chosen >= IDM_KEY_FIRST && chosen < IDM_KEY_FIRST + LauncherItemCount)
        KeyMenuChosen(chosen - IDM_KEY_FIRST);
}

void TLauncherPage::KeyMenuChosen(int target) {
    if (KeyMode == TLauncherEditMode::Copy && KeyCopyOverwrites(Items, target) &&
        !Ask(Handle(),
             OverwriteQuestion(KeyLetter(target), Items.GetName(target), Items.GetPath(target))))
        return;
    ApplyKeyOperation(Items, KeyMode, SelectedSlot(), target);
    ShowPage();
}

void TLauncherPage::PopupPageMenu(TLauncherEditMode mode) {
    CommitRow(LoadedRow);
    PageMode = mode;
    HMENU menu = CreatePopupMenu();
    for (int page = 0; page < LauncherPageCount; ++page) {
        const std::string caption = "Page " + std::to_string(page + 1) + ".";
        AppendMenuA(menu, page == Page() ? MF_STRING | MF_GRAYED : MF_STRING,
                    static_cast<UINT_PTR>(IDM_PAGE_FIRST + page), caption.c_str());
    }
    POINT at{};
    GetCursorPos(&at);
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen >= IDM_PAGE_FIRST && chosen < IDM_PAGE_FIRST + LauncherPageCount)
        PageMenuChosen(chosen - IDM_PAGE_FIRST);
}

void TLauncherPage::PageMenuChosen(int page) {
    if (PageMode == TLauncherEditMode::Copy && !PageIsEmpty(Items, page) &&
        !Ask(Handle(), PageOverwriteQuestion(page + 1), MB_ICONWARNING))
        return;
    ApplyPageOperation(Items, PageMode, Page(), page);
    ShowPage();
}

void TLauncherPage::Unassign() {
    if (Ask(Handle(), UnassignQuestion(KeyLetter(SelectedSlot())))) ClearFields();
}

void TLauncherPage::DeleteCurrentPage() {
    CommitRow(LoadedRow);
    if (!Ask(Handle(), DeletePageQuestion)) return;
    const bool compact = LaterPagesInUse(Items, Page()) && Ask(Handle(), CompactPagesQuestion);
    DeletePage(Items, Page(), compact);
    ShowPage();
}

void TLauncherPage::BrowseProgram() {
    // The chosen name is taken in UTF-16 and at its whole length (the longest path the system
    // knows), so that it is kept exactly or refused, never cut or changed.
    std::wstring file(32768, L'\0');
    const std::string path = ItemText(IDC_EDIT2);
    if (!path.empty()) InitialFolder = NearestExistingFolder(path);
    std::wstring initialFolder(InitialFolder.size() + 1, L'\0');
    initialFolder.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, InitialFolder.c_str(), -1, initialFolder.data(),
                            static_cast<int>(initialFolder.size()))));
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = Handle();
    open.lpstrFilter = L"実行ファイル (*.exe,*.com.*.bat)\0*.exe;*.com;*.bat\0"
                       L"全てのファイル (*.*)\0*.*\0";
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrInitialDir = InitialFolder.empty() ? nullptr : initialFolder.c_str();
    open.Flags = OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS | OFN_NOCHANGEDIR;
    // The common dialogs' library is loaded for the chooser only: it brings in the printing
    // library, which under Wine loads the printing system's Unix libraries (CUPS, TLS), held
    // all day by a program that never prints.
    using TGetOpenFileName = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const auto getOpenFileName = [] {
        HMODULE library = LoadLibraryA("comdlg32.dll");
        return library ? reinterpret_cast<TGetOpenFileName>(reinterpret_cast<void*>(
                             GetProcAddress(library, "GetOpenFileNameW")))
                       : nullptr;
    }();
    if (!getOpenFileName || !getOpenFileName(&open)) return;
    file.resize(file.find(L'\0'));
    std::string chosen;
    std::wstring refusal;
    if (AnsiPathOf(file, chosen, refusal))
        SetPathFromFile(chosen, false);
    else
        ShowPathRefusal(Handle(), refusal);
}

void TLauncherPage::BrowseWorkDir() {
    TBrowseForFolder chooser;
    const std::string workDir = ItemText(IDC_EDIT4);
    chooser.Directory = WorkDirOrPathFolder(workDir, ItemText(IDC_EDIT2));
    if (!chooser.Execute()) return;
    SetItemText(IDC_EDIT4, chooser.Directory);
    CommitRow(LoadedRow);
}

void TLauncherPage::Dropped(const std::vector<std::string>& files, int row) {
    if (files.empty()) return;
    if (row != -1) SelectRow(DropRow(row, SelectedRow()));
    CommitRow(LoadedRow);
    const std::string name = FromField(ItemText(IDC_MEMO3));
    if (!NameIsBlank(name) &&
        !Ask(Handle(), OverwriteQuestion(KeyLetter(SelectedSlot()), name, ItemText(IDC_EDIT2))))
        return;
    SetPathFromFile(files.front(), true);
}

bool TLauncherPage::SetPathFromFile(const std::string& file, bool clearFirst) {
    // What a link gives when the user registers what it points at.
    struct TTarget {
        bool Registered = false;
        std::string Path, Option, WorkDir;
        int Size = 0;
    } target;
    std::string nameSource = file;
    switch (LauncherFileKind(file)) {
    case TLauncherFileKind::ShellLink: {
        TLinkData link;
        if (!ReadShellLink(file, link) || !link.Path || link.Path->empty()) break;
        const int answer =
            TLinkChoiceDialog().ShowModal(Handle(), "リンク先のアプリケーションを登録(&A)");
        if (answer != IDOK && answer != IDYES) return false;
        if (answer == IDOK) break;
        target.Registered = true;
        target.Path = ExpandLongPath(*link.Path);
        if (target.Path.empty()) target.Path = *link.Path;
        target.Option = link.Arguments.value_or("");
        target.WorkDir = WorkDirOrPathFolder(link.WorkDir.value_or(""), target.Path);
        int show = link.ShowCmd;
        ReadLinkFileShowCmd(file, show);
        target.Size = SizeOfShowCommand(show);
        nameSource = target.Path;
        break;
    }
    case TLauncherFileKind::UrlShortcut: {
        TUrlData url;
        if (!ReadUrlShortcut(file, url) || url.Url.empty()) break;
        const int answer = TLinkChoiceDialog().ShowModal(Handle(), "リンク先のURLを登録(&U)");
        if (answer != IDOK && answer != IDYES) return false;
        if (answer == IDOK) break;
        target.Registered = true;
        target.Path = url.Url;
        break;
    }
    case TLauncherFileKind::Plain:
        break;
    }
    // Only now that the user's choice is known does a drop clear the row.
    if (clearFirst) ClearFields();
    Loading = true;
    if (target.Registered) {
        SetItemText(IDC_EDIT2, target.Path);
        SetItemText(IDC_EDIT3, target.Option);
        SetItemText(IDC_EDIT4, target.WorkDir);
        SetComboIndex(IDC_COMBOBOX1, target.Size);
    } else {
        SetItemText(IDC_EDIT2, file);
    }
    SetItemText(IDC_MEMO3, ToField(NameAfterFile(FromField(ItemText(IDC_MEMO3)), nameSource)));
    Loading = false;
    EnableByPath();
    CommitRow(LoadedRow);
    InitialFolder = NearestExistingFolder(ItemText(IDC_EDIT2));
    return true;
}

bool TLauncherPage::CheckEntries(TSettingsDialog& frame) {
    CommitRow(LoadedRow);
    TMissingProgramDialog missing;
    TEntryCheckEnvironment env;
    env.PathExists = [](const std::string& path) {
        return Platform().FileExists(path) || FolderExists(path);
    };
    env.SearchProgram = [](const std::string& path) {
        char found[MAX_PATH] = {};
        return SearchPathA(nullptr, path.c_str(), ".exe", MAX_PATH, found, nullptr) > 0
                   ? std::string(found)
                   : std::string();
    };
    env.LongPath = [](const std::string& path) { return ExpandLongPath(path); };
    env.ConfirmNoName = [&frame](const std::string& question) {
        return ShowMessageBox(frame, question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    };
    env.Missing = [&frame, &missing](int page, char letter, const std::string& path) {
        if (missing.ShowModal(frame, std::to_string(page), std::string(1, letter), path) != IDOK)
            return TMissingAnswer::Back;
        switch (missing.ItemIndex()) {
        case TMissingProgramDialog::Ignore:
            return TMissingAnswer::Ignore;
        case TMissingProgramDialog::IgnoreAll:
            return TMissingAnswer::IgnoreAll;
        default:
            return TMissingAnswer::Back;
        }
    };
    const TEntryCheckResult result = CheckLauncherEntries(Items, env);
    ShowPage();
    if (result.Ok) return true;
    frame.ShowPage(0);
    SetComboIndex(IDC_COMBOBOX8, result.Page - 1);
    ShowPage();
    SelectRow(result.Row);
    const int field = result.Focus == TKeyControl::Edit2 ? IDC_EDIT2 : IDC_MEMO3;
    SetFocus(Item(field));
    SendDlgItemMessageA(Handle(), field, EM_SETSEL, 0, -1);
    return false;
}

void TLauncherPage::MoveFocus(int id) {
    SetFocus(Item(id));
}

bool TLauncherPage::FieldKey(HWND field, WPARAM key) {
    const int id = GetDlgCtrlID(field);
    if (key == VK_RETURN) {
        switch (id) {
        case IDC_DROPCATCHGRID1:
            MoveFocus(IDC_MEMO3);
            return true;
        case IDC_EDIT2:
            MoveFocus(IsWindowEnabled(Item(IDC_COMBOBOX1)) ? IDC_COMBOBOX1 : IDC_DROPCATCHGRID1);
            return true;
        case IDC_COMBOBOX1:
            MoveFocus(IDC_EDIT3);
            return true;
        case IDC_EDIT3:
            MoveFocus(IDC_EDIT4);
            return true;
        case IDC_EDIT4:
            MoveFocus(IDC_DROPCATCHGRID1);
            return true;
        default:
            return false;
        }
    }
    if (id != IDC_DROPCATCHGRID1) return false;
    if (key == VK_DELETE) {
        Unassign();
        return true;
    }
    if (key == 'M') {
        // As the right button on the selected key's path cell.
        const int row = SelectedRow();
        if (Items.GetPath(SelectedSlot()).empty()) return true;
        RECT cell{};
        cell.top = 2; // the path column
        cell.left = LVIR_BOUNDS;
        SendMessageA(field, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row - 1),
                     reinterpret_cast<LPARAM>(&cell));
        POINT at{cell.left, cell.bottom};
        ClientToScreen(field, &at);
        PopupKeyMenu(at, TLauncherEditMode::Exchange);
        return true;
    }
    return false;
}

LRESULT CALLBACK TLauncherPage::FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TLauncherPage*>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // Enter belongs to the field (it moves on), not to the dialog's default button.
        if (AsksAboutEnter(lParam))
            return DLGC_WANTALLKEYS | DefSubclass(window, message, wParam, lParam);
        break;
    case WM_KEYDOWN:
        if (self->FieldKey(window, wParam)) return 0;
        break;
    case WM_CHAR:
        if (wParam == '\r') return 0;
        // M is the grid's key menu, with or without a path on the row: never the list's search
        // by typed letters, which would select another row.
        if ((wParam == 'm' || wParam == 'M') && GetDlgCtrlID(window) == IDC_DROPCATCHGRID1)
            return 0;
        break;
    default:
        break;
    }
    return DefSubclass(window, message, wParam, lParam);
}
