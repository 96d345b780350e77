#include "dialogs/TabAppearance.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "dialogs/TabAppearanceIds.h"
#include "dialogs/TabKeysIds.h"
#include "dialogs/SettingsDialogIds.h"
#include "system/PathText.h"

namespace {

constexpr COLORREF PanelNavy = RGB(0, 0, 128);
constexpr COLORREF ShiftJisYellow = RGB(255, 255, 0);
constexpr COLORREF AnsiAqua = RGB(0, 255, 255);

constexpr int TransparencyMax = 16;
constexpr UINT Quiet = SWP_NOZORDER | SWP_NOACTIVATE;

int WidthOf(const RECT& r) {
    return r.right - r.left;
}
int HeightOf(const RECT& r) {
    return r.bottom - r.top;
}

// The tab control's width: the page's layout follows it rather than the page's own.
int TabControlWidth(HWND page, int pageWidth) {
    RECT tabs{};
    HWND tabControl = GetDlgItem(GetParent(page), IDC_PAGECONTROL1);
    return tabControl && GetWindowRect(tabControl, &tabs) ? WidthOf(tabs) : pageWidth;
}

// Places a group box and moves the controls inside its designed rectangle with it.
void PlaceGroup(const TTemplatePlaces& design, HWND group, int left, int top, int width,
                int height) {
    const RECT g = TemplatePlaceOf(design, group);
    const int dx = left - g.left, dy = top - g.top;
    for (const TTemplatePlace& d : design) {
        const RECT& r = d.Rect;
        if (d.Control == group || r.left < g.left || r.right > g.right || r.top < g.top ||
            r.bottom > g.bottom)
            continue;
        SetWindowPos(d.Control, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | Quiet);
    }
    SetWindowPos(group, nullptr, left, top, width, height, Quiet);
}

int ListBoxLine(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

// The font of a size in points at the page's dots per inch.
HFONT CreatePreviewFont(const std::string& name, int size, bool bold, bool italic, int charset,
                        int pixelsPerInch) {
    LOGFONTA description{};
    description.lfHeight = -MulDiv(size, pixelsPerInch, 72);
    description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = italic;
    description.lfCharSet = static_cast<BYTE>(charset);
    lstrcpynA(description.lfFaceName, name.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&description);
}

// The size a label's text takes in the label's font.
SIZE TextSize(HWND label) {
    char text[256] = {};
    const int length = GetWindowTextA(label, text, sizeof text);
    HDC dc = GetDC(label);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, length, &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return size;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// "フォント"

TFontPage::~TFontPage() {
    if (ShiftJisFont) DeleteObject(ShiftJisFont);
    if (AnsiFont) DeleteObject(AnsiFont);
    if (PanelBrush) DeleteObject(PanelBrush);
}

bool TFontPage::OnInit() {
    TKeyPage::OnInit();
    PanelBrush = CreateSolidBrush(PanelNavy);
    for (const char* size : FontSizeItems)
        SendMessageA(Item(IDC_COMBOBOX7), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    for (int id : {IDC_LISTBOX1, IDC_CHECKBOX6, IDC_CHECKBOX7, IDC_COMBOBOX7})
        SendEnterToOk(Item(id));
    return true;
}

void TFontPage::FillFontList() {
    // Listing the installed families is the page's dearest work: done once, when it is first
    // shown, and not at all in a dialog that never shows it.
    if (FontsListed) return;
    FontsListed = true;
    // A family told twice (again in another letter case) takes one line, as the list box's own
    // search without regard to case would find it. The names are gathered first, so that the
    // list hears one message a family, not two.
    const auto caseless = [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    };
    std::set<std::string, decltype(caseless)> names(caseless);
    HDC dc = GetDC(Handle());
    EnumFontFamiliesA(
        dc, nullptr,
        [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM target) -> int {
            std::string name = FontListName(font->lfFaceName);
            if (!name.empty())
                reinterpret_cast<decltype(names)*>(target)->insert(std::move(name));
            return 1;
        },
        reinterpret_cast<LPARAM>(&names));
    ReleaseDC(Handle(), dc);
    HWND list = Item(IDC_LISTBOX1);
    for (const std::string& name : names)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SelectFont();
}

void TFontPage::SelectFont() {
    HWND list = Item(IDC_LISTBOX1);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    const int line = ChooseFontLine(count, LoadedFont, [list](std::string_view name) {
        const std::string text(name);
        return static_cast<int>(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str())));
    });
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    UpdatePreview();
}

void TFontPage::Load(const TSettingsDialogData& data) {
    TKeyPage::Load(data);
    SetComboIndex(IDC_COMBOBOX7, ChooseSizeLine(std::vector<std::string>(FontSizeItems.begin(),
                                                                         FontSizeItems.end()),
                                                data.Menu.FontSize));
    SetChecked(IDC_CHECKBOX6, data.Menu.FontBold);
    SetChecked(IDC_CHECKBOX7, data.Menu.FontItalic);
    // The font's line is chosen once the families are listed.
    LoadedFont = data.Menu.FontName;
    if (FontsListed) SelectFont();
}

void TFontPage::Save(TSettingsDialogData& data) const {
    TKeyPage::Save(data);
    if (ListBoxLine(Item(IDC_LISTBOX1)) >= 0) data.Menu.FontName = SelectedFontName();
    const int size = ComboIndex(IDC_COMBOBOX7);
    if (size >= 0) data.Menu.FontSize = std::atoi(FontSizeItems[static_cast<std::size_t>(size)]);
    data.Menu.FontBold = Checked(IDC_CHECKBOX6);
    data.Menu.FontItalic = Checked(IDC_CHECKBOX7);
}

std::string TFontPage::SelectedFontName() const {
    HWND list = Item(IDC_LISTBOX1);
    const int line = ListBoxLine(list);
    return line >= 0 ? ListBoxText(list, line) : std::string();
}

bool TFontPage::OnCommand(int id, int code, HWND control) {
    if ((id == IDC_LISTBOX1 && code == LBN_SELCHANGE) ||
        ((id == IDC_CHECKBOX6 || id == IDC_CHECKBOX7) && code == BN_CLICKED) ||
        (id == IDC_COMBOBOX7 && code == CBN_SELCHANGE)) {
        UpdatePreview();
        return true;
    }
    return TKeyPage::OnCommand(id, code, control);
}

void TFontPage::UpdatePreview() {
    const int sizeLine = ComboIndex(IDC_COMBOBOX7);
    const int size = sizeLine >= 0 ? std::atoi(FontSizeItems[static_cast<std::size_t>(sizeLine)])
                                   : std::atoi(FontSizeItems[1]);
    const std::string name = SelectedFontName();
    const bool bold = Checked(IDC_CHECKBOX6), italic = Checked(IDC_CHECKBOX7);
    const int dpi = Dpi();
    HFONT shiftJis = CreatePreviewFont(name, size, bold, italic, SHIFTJIS_CHARSET, dpi);
    HFONT ansi = CreatePreviewFont(name, size, bold, italic, ANSI_CHARSET, dpi);
    // The labels take the new fonts before the old ones go: a font a window still uses must
    // not be deleted.
    SendMessageA(Item(IDC_LABEL26), WM_SETFONT, reinterpret_cast<WPARAM>(shiftJis), FALSE);
    SendMessageA(Item(IDC_LABEL27), WM_SETFONT, reinterpret_cast<WPARAM>(ansi), FALSE);
    if (ShiftJisFont) DeleteObject(ShiftJisFont);
    if (AnsiFont) DeleteObject(AnsiFont);
    ShiftJisFont = shiftJis;
    AnsiFont = ansi;
    CentrePreview();
}

void TFontPage::CentrePreview() const {
    HWND panel = Item(IDC_PANEL3);
    HWND upper = Item(IDC_LABEL26), lower = Item(IDC_LABEL27);
    RECT client{};
    GetClientRect(panel, &client);
    POINT origin{0, 0};
    MapWindowPoints(panel, Handle(), &origin, 1);
    const SIZE a = TextSize(upper), b = TextSize(lower);
    const int top = (HeightOf(client) - (a.cy + b.cy + Scaled(4))) / 2;
    SetWindowPos(upper, nullptr, origin.x + (WidthOf(client) - a.cx) / 2, origin.y + top, a.cx,
                 a.cy, Quiet);
    SetWindowPos(lower, nullptr, origin.x + (WidthOf(client) - b.cx) / 2,
                 origin.y + top + a.cy + Scaled(2), b.cx, b.cy, Quiet);
    InvalidateRect(panel, nullptr, TRUE);
    InvalidateRect(upper, nullptr, TRUE);
    InvalidateRect(lower, nullptr, TRUE);
}

void TFontPage::Shown() {
    FillFontList();
}

void TFontPage::DpiChanged(int oldDpi, int newDpi) {
    TKeyPage::DpiChanged(oldDpi, newDpi);
    UpdatePreview();
}

void TFontPage::Layout(int width, int height) {
    // W is the tab control's width, H the page's height; divisions toward zero. Lengths are
    // pixels at 96 dots per inch, taken at the dialog's scale (s).
    const auto s = [this](int pixels) { return Scaled(pixels); };
    const int w = TabControlWidth(Handle(), width), h = height;
    const RECT list = TemplatePlaceOf(Design, Item(IDC_LISTBOX1));
    SetWindowPos(Item(IDC_LISTBOX1), nullptr, list.left, list.top, std::max(w - s(152), 0),
                 std::max(h - s(180), 0), Quiet);

    HWND detail = Item(IDC_GROUP_DETAIL);
    const RECT d = TemplatePlaceOf(Design, detail);
    PlaceGroup(Design, detail, w - s(150), d.top, WidthOf(d), HeightOf(d));

    // The preview group as wide as the page, its panel centred in it; the input-method group
    // below it.
    HWND preview = Item(IDC_GROUP_PREVIEW);
    const RECT p = TemplatePlaceOf(Design, preview);
    const int previewTop = h - s(154);
    PlaceGroup(Design, preview, 0, previewTop, width, HeightOf(p));
    HWND panel = Item(IDC_PANEL3);
    const RECT panelDesign = TemplatePlaceOf(Design, panel);
    const int panelWidth = std::min(WidthOf(panelDesign), width - s(16));
    SetWindowPos(panel, nullptr, (width - panelWidth) / 2, panelDesign.top + previewTop - p.top,
                 panelWidth, HeightOf(panelDesign), Quiet);

    HWND ime = Item(IDC_GROUP_IME);
    const RECT i = TemplatePlaceOf(Design, ime);
    PlaceGroup(Design, ime, 0, previewTop + HeightOf(p) + (i.top - p.bottom), width, HeightOf(i));
    CentrePreview();
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TFontPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id != IDC_LABEL26 && id != IDC_LABEL27) return false;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, PanelNavy);
        SetTextColor(dc, id == IDC_LABEL26 ? ShiftJisYellow : AnsiAqua);
        result = reinterpret_cast<INT_PTR>(PanelBrush);
        return true;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID != IDC_PANEL3) return false;
        RECT r = item.rcItem;
        FillRect(item.hDC, &r, PanelBrush);
        DrawEdge(item.hDC, &r, BDR_SUNKENOUTER, BF_RECT);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// "背景"

bool TBackgroundPage::OnInit() {
    TKeyPage::OnInit();
    HWND track = Item(IDC_TRACKBAR1);
    SendMessageA(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, TransparencyMax));
    SendMessageA(track, TBM_SETTICFREQ, 1, 0);
    SendMessageA(track, TBM_SETPOS, TRUE, TransparencyMax);
    ApplyTransparencyEnabling();
    return true;
}

void TBackgroundPage::Load(const TSettingsDialogData& data) {
    TKeyPage::Load(data);
    ProgramFolder = data.ProgramFolder;
    SkinFolder = data.Settings.SkinDir;
    SettingsPath = data.SettingsPath.empty() ? ProgramFolder + "Mirto.ini" : data.SettingsPath;
    LayeredWindows = data.LayeredWindows;
    PreviewTransparency = data.PreviewTransparency;
    FillSkinList(data.Settings.Skin);
    // Without layered windows the level is neither shown nor changed.
    if (LayeredWindows) {
        const int level = data.Settings.Transparent;
        SetChecked(IDC_CHECKBOX14, level != -1);
        SendMessageA(Item(IDC_TRACKBAR1), TBM_SETPOS, TRUE,
                     level == -1 ? TransparencyMax : std::clamp(level, 0, TransparencyMax));
    }
    ApplyTransparencyEnabling();
}

void TBackgroundPage::Save(TSettingsDialogData& data) const {
    TKeyPage::Save(data);
    data.Settings.Skin = ChosenSkin(Skins, ListBoxLine(Item(IDC_LISTBOX2)));
    if (LayeredWindows) data.Settings.Transparent = TransparencyLevel();
}

void TBackgroundPage::FillSkinList(const std::string& currentSkin) {
    Skins = BuildSkinList(ProgramFolder, SkinFolder, currentSkin);
    HWND list = Item(IDC_LISTBOX2);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : Skins.Names)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(Skins.Selected), 0);
    ApplySkinSelection();
}

void TBackgroundPage::ApplySkinSelection() const {
    const int line = ListBoxLine(Item(IDC_LISTBOX2));
    Enable(IDC_BUTTON13, line >= 0 && line < static_cast<int>(Skins.Entries.size()) &&
                             SkinHasLibrary(Skins.Entries[static_cast<std::size_t>(line)]));
}

void TBackgroundPage::OpenSkinSettings() {
    const int line = ListBoxLine(Item(IDC_LISTBOX2));
    if (line < 0 || line >= static_cast<int>(Skins.Entries.size())) return;
    const TSkinEntry& entry = Skins.Entries[static_cast<std::size_t>(line)];
    // Only a library named by its full path: a bare or relative name would go through the
    // system's library search and could load some other file of that name.
    if (!SkinHasLibrary(entry) || VolumeRoot(ProgramFolder).empty()) return;
    const std::string path = ProgramFolder + entry.Library;
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HMODULE library = LoadLibraryA(path.c_str());
    SetThreadErrorMode(oldMode, nullptr);
    if (!library) return;
    using TOpenSettingWindow = void(WINAPI*)(const char* settingsPath);
    if (const auto open = reinterpret_cast<TOpenSettingWindow>(
            reinterpret_cast<void*>(GetProcAddress(library, "_OpenSettingWindow")))) {
        // The skin's window is modal to the settings dialog: the dialog cannot be closed, nor the
        // window opened twice, while it shows.
        HWND dialog = GetAncestor(Handle(), GA_ROOT);
        EnableWindow(dialog, FALSE);
        open(SettingsPath.c_str());
        EnableWindow(dialog, TRUE);
        SetActiveWindow(dialog);
    }
    FreeLibrary(library);
}

void TBackgroundPage::ApplyTransparencyEnabling() const {
    Enable(IDC_CHECKBOX14, LayeredWindows);
    Enable(IDC_BUTTON20, LayeredWindows);
    Enable(IDC_TRACKBAR1, LayeredWindows && Checked(IDC_CHECKBOX14));
}

int TBackgroundPage::TransparencyLevel() const {
    return Checked(IDC_CHECKBOX14)
               ? static_cast<int>(SendMessageA(Item(IDC_TRACKBAR1), TBM_GETPOS, 0, 0))
               : -1;
}

bool TBackgroundPage::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_LISTBOX2:
        if (code == LBN_SELCHANGE) ApplySkinSelection();
        return true;
    case IDC_BUTTON14:
        FillSkinList(ChosenSkin(Skins, ListBoxLine(Item(IDC_LISTBOX2))));
        return true;
    case IDC_BUTTON13:
        OpenSkinSettings();
        return true;
    case IDC_CHECKBOX14:
        ApplyTransparencyEnabling();
        return true;
    case IDC_BUTTON20:
        if (PreviewTransparency) PreviewTransparency(TransparencyLevel());
        return true;
    default:
        return TKeyPage::OnCommand(id, code, control);
    }
}

void TBackgroundPage::Layout(int width, int height) {
    // W is the tab control's width, H the page's height; divisions toward zero. Lengths are
    // pixels at 96 dots per inch, taken at the dialog's scale (s).
    const auto s = [this](int pixels) { return Scaled(pixels); };
    const int w = TabControlWidth(Handle(), width), h = height;
    HWND list = Item(IDC_LISTBOX2);
    const RECT l = TemplatePlaceOf(Design, list);
    const int listWidth = std::max(w - s(101), 0);
    SetWindowPos(list, nullptr, l.left, l.top, listWidth, std::max(h - s(197), 0), Quiet);
    const RECT refresh = TemplatePlaceOf(Design, Item(IDC_BUTTON14));
    SetWindowPos(Item(IDC_BUTTON14), nullptr, l.left + (listWidth - WidthOf(refresh)) / 2,
                 h - s(170), 0, 0, SWP_NOSIZE | Quiet);
    SetWindowPos(Item(IDC_BUTTON13), nullptr, w - s(91),
                 TemplatePlaceOf(Design, Item(IDC_BUTTON13)).top, 0, 0, SWP_NOSIZE | Quiet);

    // The transparency group as wide as the page; the screen-saver key below it keeps its
    // distance.
    HWND group = Item(IDC_GROUP_TRANSPARENCY);
    const RECT g = TemplatePlaceOf(Design, group);
    const int groupTop = h - s(138);
    const int dy = groupTop - g.top;
    PlaceGroup(Design, group, 0, groupTop, width, HeightOf(g));
    for (const TTemplatePlace& d : Design)
        if (d.Rect.top >= g.bottom)
            SetWindowPos(d.Control, nullptr, d.Rect.left, d.Rect.top + dy, 0, 0,
                         SWP_NOSIZE | Quiet);
    InvalidateRect(Handle(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------
// "表示位置"

namespace {
constexpr int PositionRadios[] = {IDC_RADIO_POSITION0, IDC_RADIO_POSITION1, IDC_RADIO_POSITION2,
                                  IDC_RADIO_POSITION3, IDC_RADIO_POSITION4};
} // namespace

bool TPositionPage::OnInit() {
    Design = RecordTemplatePlaces(Handle());
    return true;
}

void TPositionPage::Load(const TSettingsDialogData& data) {
    for (int i = 0; i < 5; ++i)
        SetChecked(PositionRadios[i], data.Settings.Position == i);
}

void TPositionPage::Save(TSettingsDialogData& data) const {
    for (int i = 0; i < 5; ++i)
        if (Checked(PositionRadios[i])) data.Settings.Position = i;
}

void TPositionPage::DpiChanged(int oldDpi, int newDpi) {
    RescalePlaces(Design, oldDpi, newDpi);
}

void TPositionPage::Layout(int width, int) {
    // The group is the tab control's width - 8 (pixels at 96 dots per inch; never wider than the
    // page); its second column starts at its middle.
    HWND group = Item(IDC_RADIOGROUP1);
    const RECT g = TemplatePlaceOf(Design, group);
    const int groupWidth =
        std::min(TabControlWidth(Handle(), width) - Scaled(8), width - static_cast<int>(g.left));
    SetWindowPos(group, nullptr, g.left, g.top, groupWidth, HeightOf(g), Quiet);
    const int designMiddle = static_cast<int>(g.left + g.right) / 2;
    for (int id : PositionRadios) {
        const RECT r = TemplatePlaceOf(Design, Item(id));
        if (r.left < designMiddle) continue;
        SetWindowPos(Item(id), nullptr, g.left + groupWidth / 2 + (r.left - designMiddle), r.top, 0,
                     0, SWP_NOSIZE | Quiet);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}
