#include "dialogs/TextSetEditor.h"

#include <algorithm>

#include "clipboard/SetFileName.h"
#include "dialogs/TextSetEditorIds.h"
#include "frame/Errors.h"
#include "frame/MessageBox.h"
#include "frame/Platform.h"
#include "frame/Subclass.h"

namespace {
const char* const PageItems[] = {"1", "2", "3"};
const char* const KeyItems[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
const int WindowLists[] = {IDC_EDITOR_COMBOBOX2, IDC_EDITOR_COMBOBOX3, IDC_EDITOR_COMBOBOX4,
                           IDC_EDITOR_COMBOBOX5};
const char* const WindowListMessages[] = {
    "開始ページを指定してください。", "開始位置を指定してください。",
    "終了ページを指定してください。", "終了位置を指定してください。"};
// Pixels at 96 dots per inch: the smallest size and the key letters' column.
constexpr int MinWidth = 480, MinHeight = 448;
constexpr int KeyColumnWidth = 24;

// Memo1 breaks lines only at CR LF: a lone LF of a stored text is shown as one.
std::string ToMemo(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) shown += '\r';
        shown += text[i];
    }
    return shown;
}

// One line of display (grid cell, menu caption): line breaks and tabs become blanks.
std::string OneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' && i > 0 && text[i - 1] == '\r') continue;
        line += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    }
    return line;
}

// A menu item shows "&" as an accelerator mark unless it is doubled.
std::string MenuText(const std::string& caption) {
    std::string text;
    for (char c : OneLine(caption)) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

bool Ask(HWND owner, const std::string& question, unsigned icon = MB_ICONQUESTION) {
    return ShowMessageBox(owner, question, MB_YESNO | icon) == IDYES;
}

HFONT DerivedFont(HWND window, bool italic, bool struckOut) {
    HFONT base = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA font{};
    GetObjectA(base ? static_cast<HGDIOBJ>(base) : GetStockObject(DEFAULT_GUI_FONT), sizeof font,
               &font);
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfStrikeOut = struckOut ? TRUE : FALSE;
    return CreateFontIndirectA(&font);
}
} // namespace

TTextSetEditor::TTextSetEditor(TTextSetEditorData& data) : Data(data), Texts(data.Texts) {
    Texts.resize(TextSetSize);
    SetTrackSize(MinWidth, MinHeight);
}

TTextSetEditor::~TTextSetEditor() {
    if (ItalicFont) DeleteObject(ItalicFont);
    if (StruckFont) DeleteObject(StruckFont);
}

INT_PTR TTextSetEditor::Execute(HWND owner) {
    return ShowModal(owner, IDD_TEXTSET_EDITOR) == IDOK ? IDOK : IDCANCEL;
}

bool TTextSetEditor::OnInit() {
    Grid.Attach(Item(IDC_EDITOR_STRINGGRID1), {"", "文字列"}, TextSetPageSize + 1);
    for (int row = 1; row <= TextSetPageSize; ++row)
        Grid.SetCell(0, row, std::string(1, static_cast<char>('A' + row - 1)));
    SetSubclass(Grid.Handle(), GridProc, 2, reinterpret_cast<DWORD_PTR>(this));
    ItalicFont = DerivedFont(Grid.Handle(), true, false);
    StruckFont = DerivedFont(Grid.Handle(), true, true);

    SetComboItems(IDC_EDITOR_COMBOBOX1, PageItems, 3);
    SetComboItems(IDC_EDITOR_COMBOBOX2, PageItems, 3);
    SetComboItems(IDC_EDITOR_COMBOBOX3, KeyItems, TextSetPageSize);
    SetComboItems(IDC_EDITOR_COMBOBOX4, PageItems, 3);
    SetComboItems(IDC_EDITOR_COMBOBOX5, KeyItems, TextSetPageSize);
    SendDlgItemMessageA(Handle(), IDC_EDITOR_MEMO1, EM_LIMITTEXT, 0, 0);

    SetItemText(IDC_EDITOR_EDIT1, Data.Title);
    SetItemText(IDC_EDITOR_EDIT2, Data.FileName);
    if (Data.FixedFileName || Data.BlankEntry)
        SendDlgItemMessageA(Handle(), IDC_EDITOR_EDIT2, EM_SETREADONLY, TRUE, 0);
    SetChecked(IDC_EDITOR_CHECKBOX1, Data.History || Data.BlankEntry);
    SetChecked(IDC_EDITOR_CHECKBOX2, Data.LoadHistory);
    SetFields(Data.BlankEntry ? TWindowFields{0, 0, TextSetPageCount - 1, TextSetPageSize - 1}
                              : Data.Window);
    SetComboIndex(IDC_EDITOR_COMBOBOX1, 0);
    ShowPage();
    SelectRow(1);
    EnableWindowFields();
    if (Data.BlankEntry) {
        // Only the load switch is the user's to change.
        for (int id :
             {IDC_EDITOR_EDIT1, IDC_EDITOR_EDIT2, IDC_EDITOR_COMBOBOX1, IDC_EDITOR_STRINGGRID1,
              IDC_EDITOR_MEMO1, IDC_EDITOR_BUTTON3, IDC_EDITOR_BUTTON4, IDC_EDITOR_BUTTON5,
              IDC_EDITOR_BUTTON6, IDC_EDITOR_BUTTON7, IDC_EDITOR_BUTTON8, IDC_EDITOR_CHECKBOX1,
              IDC_EDITOR_COMBOBOX2, IDC_EDITOR_COMBOBOX3, IDC_EDITOR_COMBOBOX4,
              IDC_EDITOR_COMBOBOX5})
            Enable(id, false);
    }

    // At least the smallest size, centred over the owner (or the screen).
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const int width = std::max<int>(bounds.right - bounds.left, Scaled(MinWidth));
    const int height = std::max<int>(bounds.bottom - bounds.top, Scaled(MinHeight));
    RECT around{};
    HWND owner = GetWindow(Handle(), GW_OWNER);
    if (!owner || !GetWindowRect(owner, &around))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    SetWindowPos(Handle(), nullptr, around.left + (around.right - around.left - width) / 2,
                 around.top + (around.bottom - around.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    if (Data.BlankEntry) {
        SetFocus(Item(IDC_EDITOR_CHECKBOX2));
        return false;
    }
    return true;
}

int TTextSetEditor::Page() const {
    return std::max(ComboIndex(IDC_EDITOR_COMBOBOX1), 0);
}

int TTextSetEditor::SelectedRow() const {
    if (LoadedRow > 0) return LoadedRow;
    const int row = Grid.Row();
    return row > 0 ? row : 1;
}

TWindowFields TTextSetEditor::Fields() const {
    return {ComboIndex(IDC_EDITOR_COMBOBOX2), ComboIndex(IDC_EDITOR_COMBOBOX3),
            ComboIndex(IDC_EDITOR_COMBOBOX4), ComboIndex(IDC_EDITOR_COMBOBOX5)};
}

void TTextSetEditor::SetFields(const TWindowFields& fields) {
    SetComboIndex(IDC_EDITOR_COMBOBOX2, fields.StartPage);
    SetComboIndex(IDC_EDITOR_COMBOBOX3, fields.StartKey);
    SetComboIndex(IDC_EDITOR_COMBOBOX4, fields.EndPage);
    SetComboIndex(IDC_EDITOR_COMBOBOX5, fields.EndKey);
}

void TTextSetEditor::ShowRow(int row) {
    Grid.SetCell(1, row, OneLine(Texts[static_cast<std::size_t>(SlotOfRow(Page(), row))]));
}

void TTextSetEditor::ShowPage() {
    for (int row = 1; row <= TextSetPageSize; ++row)
        ShowRow(row);
    LoadRow(SelectedRow());
}

void TTextSetEditor::SelectRow(int row) {
    Grid.SetRow(row);
    if (LoadedRow != row) LoadRow(row);
}

void TTextSetEditor::LoadRow(int row) {
    Loading = true;
    SetItemText(IDC_EDITOR_MEMO1, ToMemo(Texts[static_cast<std::size_t>(SlotOfRow(Page(), row))]));
    Loading = false;
    LoadedRow = row;
    EnableEntryButtons();
}

void TTextSetEditor::CommitMemo() {
    if (LoadedRow < 1 || Data.BlankEntry) return;
    std::string& text = Texts[static_cast<std::size_t>(SlotOfRow(Page(), LoadedRow))];
    const std::string memo = ItemText(IDC_EDITOR_MEMO1);
    if (memo == ToMemo(text)) return;
    text = memo;
    ShowRow(LoadedRow);
    EnableEntryButtons();
}

void TTextSetEditor::EnableEntryButtons() {
    if (Data.BlankEntry) return;
    const bool text = GetWindowTextLengthA(Item(IDC_EDITOR_MEMO1)) > 0;
    Enable(IDC_EDITOR_BUTTON6, text);
    Enable(IDC_EDITOR_BUTTON8, text);
}

void TTextSetEditor::EnableWindowFields() {
    if (Data.BlankEntry) return;
    const bool history = Checked(IDC_EDITOR_CHECKBOX1);
    for (int id : WindowLists)
        Enable(id, history);
    Enable(IDC_EDITOR_CHECKBOX2, history);
    Redraw();
}

void TTextSetEditor::Redraw() {
    InvalidateRect(Grid.Handle(), nullptr, TRUE);
}

bool TTextSetEditor::OnCommand(int id, int code, HWND control) {
    if (id >= IDM_EDITOR_ENTRY_FIRST && id < IDM_EDITOR_ENTRY_FIRST + TextSetSize) {
        EntryChosen(id - IDM_EDITOR_ENTRY_FIRST);
        return true;
    }
    if (id >= IDM_EDITOR_PAGE_FIRST && id < IDM_EDITOR_PAGE_FIRST + TextSetPageCount) {
        PageChosen(id - IDM_EDITOR_PAGE_FIRST);
        return true;
    }
    switch (id) {
    case IDM_EDITOR_DELETE:
    case IDC_EDITOR_BUTTON8:
        DeleteEntry();
        return true;
    case IDC_EDITOR_MEMO1:
        if (code == EN_KILLFOCUS && !Loading) CommitMemo();
        if (code == EN_CHANGE && !Loading) EnableEntryButtons();
        return true;
    case IDC_EDITOR_COMBOBOX1:
        if (code == CBN_SELCHANGE) ShowPage();
        return true;
    case IDC_EDITOR_BUTTON3:
        DeleteCurrentPage();
        return true;
    case IDC_EDITOR_BUTTON4:
        PopupPageMenu(id, TLauncherEditMode::Exchange);
        return true;
    case IDC_EDITOR_BUTTON5:
        PopupPageMenu(id, TLauncherEditMode::Copy);
        return true;
    case IDC_EDITOR_BUTTON6:
    case IDC_EDITOR_BUTTON7: {
        RECT button{};
        GetWindowRect(Item(id), &button);
        PopupEntryMenu(POINT{button.left, button.bottom}, id == IDC_EDITOR_BUTTON6
                                                              ? TLauncherEditMode::Copy
                                                              : TLauncherEditMode::Exchange);
        return true;
    }
    case IDC_EDITOR_CHECKBOX1:
        if (code == BN_CLICKED) EnableWindowFields();
        return true;
    case IDC_EDITOR_CHECKBOX2:
        if (code == BN_CLICKED) Redraw();
        return true;
    case IDC_EDITOR_COMBOBOX2:
    case IDC_EDITOR_COMBOBOX3:
    case IDC_EDITOR_COMBOBOX4:
    case IDC_EDITOR_COMBOBOX5:
        if (code == CBN_SELCHANGE) Redraw();
        return true;
    default:
        return TDialog::OnCommand(id, code, control);
    }
}

bool TTextSetEditor::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_EDITOR_STRINGGRID1) return false;
    result = 0;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header), result);
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) &&
            change.iItem + 1 != LoadedRow) {
            CommitMemo();
            LoadRow(change.iItem + 1);
            Redraw();
        }
        return true;
    }
    case NM_CLICK:
    case NM_RCLICK: {
        // The right button on a row with text, or the left one on its letter, opens the entry
        // menu at the mouse to exchange the entry.
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem < 0 || (header.code == NM_CLICK && click.iSubItem != 0)) return true;
        if (Texts[static_cast<std::size_t>(SlotOfRow(Page(), click.iItem + 1))].empty())
            return true;
        SelectRow(click.iItem + 1);
        POINT at = click.ptAction;
        ClientToScreen(header.hwndFrom, &at);
        PopupEntryMenu(at, TLauncherEditMode::Exchange);
        return true;
    }
    default:
        return false;
    }
}

bool TTextSetEditor::CustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    case CDDS_ITEMPREPAINT: {
        // The history window's fixed texts: italic, struck out when the saved history will
        // replace them, grey unless selected.
        const int row = static_cast<int>(draw.nmcd.dwItemSpec) + 1;
        result = CDRF_DODEFAULT;
        if (!InHistoryWindow(Checked(IDC_EDITOR_CHECKBOX1), Fields(), SlotOfRow(Page(), row)))
            return true;
        SelectObject(draw.nmcd.hdc, Checked(IDC_EDITOR_CHECKBOX2) ? StruckFont : ItalicFont);
        if (row != SelectedRow()) draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        result = CDRF_NEWFONT;
        return true;
    }
    default:
        result = CDRF_DODEFAULT;
        return true;
    }
}

void TTextSetEditor::PopupEntryMenu(POINT screen, TLauncherEditMode mode) {
    CommitMemo();
    EntryMode = mode;
    HMENU menu = CreateKeyMenu(
        "削除", IDM_EDITOR_DELETE, IDM_EDITOR_ENTRY_FIRST, Page(), SelectedRow(),
        [](int page) { return "-> Page " + std::to_string(page + 1) + "."; },
        [this](int position) { return MenuText(TextMenuCaption(Texts, position)); });
    // The choice comes back as WM_COMMAND.
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
}

void TTextSetEditor::EntryChosen(int target) {
    CommitMemo();
    const int source = SelectedPosition();
    if (target == source) return;
    const std::string& old = Texts[static_cast<std::size_t>(target)];
    if (EntryMode == TLauncherEditMode::Copy && !old.empty() &&
        !Ask(Handle(), OverwriteTextQuestion(KeyLetter(target), old)))
        return;
    ApplyTextEntryOperation(Texts, EntryMode, source, target);
    ShowPage();
}

void TTextSetEditor::DeleteEntry() {
    CommitMemo();
    const int position = SelectedPosition();
    const std::string& text = Texts[static_cast<std::size_t>(position)];
    if (!text.empty() && !Ask(Handle(), DeleteTextQuestion(KeyLetter(position), text))) return;
    Texts[static_cast<std::size_t>(position)].clear();
    ShowPage();
}

void TTextSetEditor::PopupPageMenu(int button, TLauncherEditMode mode) {
    CommitMemo();
    PageMode = mode;
    HMENU menu = CreatePopupMenu();
    for (int page = 0; page < TextSetPageCount; ++page) {
        const std::string caption = "Page " + std::to_string(page + 1) + ".";
        AppendMenuA(menu, page == Page() ? MF_STRING | MF_GRAYED : MF_STRING,
                    static_cast<UINT_PTR>(IDM_EDITOR_PAGE_FIRST + page), caption.c_str());
    }
    RECT r{};
    GetWindowRect(Item(button), &r);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, r.left, r.bottom, 0, Handle(), nullptr);
    DestroyMenu(menu);
}

void TTextSetEditor::PageChosen(int page) {
    CommitMemo();
    if (page == Page()) return;
    if (PageMode == TLauncherEditMode::Copy && TextPageHasText(Texts, page) &&
        !Ask(Handle(), PageOverwriteQuestion(page), MB_ICONWARNING))
        return;
    ApplyTextPageOperation(Texts, PageMode, Page(), page);
    ShowPage();
}

void TTextSetEditor::DeleteCurrentPage() {
    CommitMemo();
    if (!Ask(Handle(), DeletePageQuestion)) return;
    const bool compact =
        LaterTextPagesHaveText(Texts, Page()) && Ask(Handle(), CompactPagesQuestion);
    DeleteTextPage(Texts, Page(), compact);
    ShowPage();
}

void TTextSetEditor::Refuse(const std::string& message, int focus) {
    ShowMessageBox(Handle(), message, MB_ICONSTOP);
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(focus)), TRUE);
}

void TTextSetEditor::OnOK() {
    CommitMemo();
    const std::string title = ItemText(IDC_EDITOR_EDIT1);
    const std::string fileName = ItemText(IDC_EDITOR_EDIT2);
    if (title.empty())
        return Refuse("リストに表示される名前を入力してください。", IDC_EDITOR_EDIT1);
    // A new set's name is typed: it must name a file of the set folder and nothing else.
    const bool newFile = !Data.BlankEntry && !Data.FixedFileName;
    const TSetFileNameFault fault =
        newFile ? CheckSetFileName(fileName, Data.Folder.size())
                : (fileName.empty() ? TSetFileNameFault::Empty : TSetFileNameFault::None);
    if (fault != TSetFileNameFault::None)
        return Refuse(SetFileNameMessage(fault, fileName), IDC_EDITOR_EDIT2);
    const bool history = Checked(IDC_EDITOR_CHECKBOX1);
    TWindowFields fields = Fields();
    if (history) {
        for (int i = 0; i < 4; ++i)
            if (ComboIndex(WindowLists[i]) < 0)
                return Refuse(WindowListMessages[i], WindowLists[i]);
        fields = NormaliseWindow(fields);
        SetFields(fields);
        Redraw();
    }
    const bool load = Checked(IDC_EDITOR_CHECKBOX2);
    const std::string path = Data.Folder + fileName + ".ini";
    const TTextSetWindow window{history, WindowTop(fields), WindowBottom(fields), load};
    // A set larger than the sets that are read would be written and then never shown.
    if (!Data.BlankEntry &&
        BuildTextSetText(ListOfTexts(Texts), title, window).size() > TextSetFileMax)
        return Refuse("テキストが大きすぎるため保存できません。\n全体で 4 MB 以内にしてください。",
                      IDC_EDITOR_MEMO1);
    if (newFile && Platform().FileExists(path) &&
        ShowMessageBox(Handle(), ReplaceSetFileQuestion(fileName + ".ini"),
                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_EDITOR_EDIT2)),
                     TRUE);
        return;
    }
    try {
        if (Data.BlankEntry)
            WriteHistoryLoadSwitch(path, load);
        else
            WriteTextSet(ListOfTexts(Texts), path, title, window);
    } catch (const EFileError& e) {
        return Refuse(e.what(), IDC_EDITOR_EDIT2);
    }
    Data.Title = title;
    Data.FileName = fileName;
    Data.Texts = Texts;
    Data.History = history;
    Data.Window = fields;
    Data.LoadHistory = load;
    End(IDOK);
}

bool TTextSetEditor::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_SIZE) return false;
    Layout();
    result = TRUE;
    return true;
}

void TTextSetEditor::Layout() {
    if (!Grid.Handle()) return;
    // Lengths are pixels at 96 dots per inch, taken at the dialog's scale (s).
    const auto s = [this](int pixels) { return Scaled(pixels); };
    RECT client{};
    GetClientRect(Handle(), &client);
    const int W = client.right, H = client.bottom;
    auto heightOf = [this](int id) {
        RECT r{};
        GetWindowRect(Item(id), &r);
        return static_cast<int>(r.bottom - r.top);
    };
    const int editH = heightOf(IDC_EDITOR_EDIT1), buttonH = heightOf(IDC_EDITOR_BUTTON3);
    const int comboH = heightOf(IDC_EDITOR_COMBOBOX1), checkH = heightOf(IDC_EDITOR_CHECKBOX1);
    const int labelH = heightOf(IDC_EDITOR_LABEL_TITLE);
    // A list's height is its dropped-down height; the closed one follows the font.
    const int least = s(8);
    auto place = [this, least](int id, int x, int y, int w, int h) {
        PlaceItem(id, x, y, w, h, least);
    };
    auto list = [&](int id, int x, int y, int w) { place(id, x, y, w, s(240)); };
    auto label = [&](int id, int x, int y, int w, int fieldH) {
        place(id, x, y + (fieldH - labelH) / 2, w, labelH);
    };

    const int m = s(8), gap = s(6), labelW = s(84), fieldX = m + labelW + s(4);
    int y = m;
    label(IDC_EDITOR_LABEL_TITLE, m, y, labelW, editH);
    place(IDC_EDITOR_EDIT1, fieldX, y, W - m - fieldX, editH);
    y += editH + gap;
    label(IDC_EDITOR_LABEL_FILE, m, y, labelW, editH);
    const int fileW = std::min(s(200), W - fieldX - s(40) - m);
    place(IDC_EDITOR_EDIT2, fieldX, y, fileW, editH);
    label(IDC_EDITOR_LABEL_INI, fieldX + fileW + s(4), y, s(32), editH);
    const int top = y + editH + s(10);

    // Bottom: the window group on the left, "&Ok" and "&Cancel" on the right.
    const int okW = s(88), okX = W - m - okW;
    place(IDCANCEL, okX, H - m - buttonH, okW, buttonH);
    place(IDOK, okX, H - m - 2 * buttonH - gap, okW, buttonH);
    const int groupH = s(18) + comboH + gap + checkH + s(10);
    const int groupY = H - m - groupH, groupW = okX - gap - m;
    place(IDC_EDITOR_GROUPBOX1, m, groupY, groupW, groupH);
    // start page, start key, "～", end page, end key, "を履歴に使う"
    const int fieldsY = groupY + s(18), x = m + s(10);
    list(IDC_EDITOR_COMBOBOX2, x, fieldsY, s(44));
    list(IDC_EDITOR_COMBOBOX3, x + s(48), fieldsY, s(44));
    label(IDC_EDITOR_LABEL_TO, x + s(98), fieldsY, s(18), comboH);
    list(IDC_EDITOR_COMBOBOX4, x + s(120), fieldsY, s(44));
    list(IDC_EDITOR_COMBOBOX5, x + s(168), fieldsY, s(44));
    label(IDC_EDITOR_LABEL_USE, x + s(220), fieldsY,
          std::max(m + groupW - s(8) - (x + s(220)), s(40)), comboH);
    place(IDC_EDITOR_CHECKBOX2, m + s(10), fieldsY + comboH + gap, groupW - s(20), checkH);
    const int checkY = groupY - gap - checkH;
    place(IDC_EDITOR_CHECKBOX1, m, checkY, groupW, checkH);

    // Middle: the grid above Memo1 on the left, the page and entry buttons on the right.
    const int columnW = s(148), columnX = W - m - columnW, leftW = columnX - gap - m;
    const int memoH = 3 * buttonH + 2 * gap;
    const int memoY = checkY - gap - memoH;
    place(IDC_EDITOR_STRINGGRID1, m, top, leftW, memoY - gap - top);
    place(IDC_EDITOR_MEMO1, m, memoY, leftW, memoH);
    label(IDC_EDITOR_LABEL_PAGE, columnX, top, s(64), comboH);
    list(IDC_EDITOR_COMBOBOX1, columnX + s(68), top, columnW - s(68));
    int buttonY = top + comboH + s(10);
    for (int id : {IDC_EDITOR_BUTTON3, IDC_EDITOR_BUTTON4, IDC_EDITOR_BUTTON5}) {
        place(id, columnX, buttonY, columnW, buttonH);
        buttonY += buttonH + gap;
    }
    buttonY = memoY;
    for (int id : {IDC_EDITOR_BUTTON6, IDC_EDITOR_BUTTON7, IDC_EDITOR_BUTTON8}) {
        place(id, columnX, buttonY, columnW, buttonH);
        buttonY += buttonH + gap;
    }
    Grid.SetMinColWidth(s(MinGridColumnWidth));
    Grid.SetColWidth(0, s(KeyColumnWidth));
    Grid.SizeSet();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TTextSetEditor::OnDpiChanged(int, int) {
    // The italic and struck-out fonts follow the grid's font at the new scale.
    HFONT italic = DerivedFont(Grid.Handle(), true, false);
    HFONT struck = DerivedFont(Grid.Handle(), true, true);
    if (ItalicFont) DeleteObject(ItalicFont);
    if (StruckFont) DeleteObject(StruckFont);
    ItalicFont = italic;
    StruckFont = struck;
    Layout();
}

LRESULT CALLBACK TTextSetEditor::GridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TTextSetEditor*>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // Enter belongs to the grid (it moves on to Memo1), not to the default button.
        if (AsksAboutEnter(lParam))
            return DLGC_WANTALLKEYS | DefSubclass(window, message, wParam, lParam);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            SendMessageA(self->Handle(), WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(self->Item(IDC_EDITOR_MEMO1)), TRUE);
            return 0;
        }
        if (wParam == VK_DELETE) {
            self->DeleteEntry();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r') return 0;
        break;
    case WM_NCDESTROY:
        RemoveSubclass(window, GridProc, 2);
        break;
    default:
        break;
    }
    return DefSubclass(window, message, wParam, lParam);
}
