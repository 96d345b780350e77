#include "dialogs/SettingsDialog.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>

#include "dialogs/TabClipboard.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/TabLauncher.h"
#include "dialogs/KeyCheck.h"
#include "dialogs/TabAppearance.h"
#include "dialogs/TabKeys.h"
#include "dialogs/TabKeysIds.h"
#include "dialogs/TabVersion.h"
#include "dialogs/SettingsDialogIds.h"
#include "frame/MessageBox.h"

namespace {
// The tabs in the tab control's order, with their templates.
struct TTab {
    const char* Caption;
    int Template;
};
constexpr std::array<TTab, 8> Tabs{{
    {"ランチャ", IDD_TAB_LAUNCHER},
    {"クリップボード", IDD_TAB_CLIPBOARD},
    {"メニュー", IDD_TAB_MENU},
    {"ウィンドウ操作", IDD_TAB_WINDOW},
    {"フォント", IDD_TAB_FONT},
    {"背景", IDD_TAB_BACKGROUND},
    {"表示位置", IDD_TAB_POSITION},
    {"バージョン情報", IDD_TAB_VERSION},
}};
// The tab of each page number: 0 registration, 1 window keys, 2 font, 3 background, 4 version,
// 5 menu keys, 6 clipboard, 7 position.
constexpr std::array<int, 8> TabOfPage{0, 3, 4, 5, 7, 2, 1, 6};

// The timer by which the dialog makes its other pages, one at each tick, once it is shown: a
// timer comes after painting and input, so the dialog is drawn and answers between the pages
// (the dialog manager shows a dialog only when its queue first runs empty).
constexpr UINT_PTR MakePageTimer = 0x3D1;

// The dialog's designed size in pixels at 96 dots per inch, also its smallest.
constexpr int DesignWidth = MinDialogWidth;
constexpr int DesignHeight = MinDialogHeight;
} // namespace

void TSettingsTabPage::Layout(int, int) {}

void TSettingsTabPage::DpiChanged(int, int) {}

void TSettingsTabPage::KeepControlsInside(int width, int height) const {
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        if (r.right <= width && r.bottom <= height) continue;
        const int w = r.right - r.left, h = r.bottom - r.top;
        const int left = std::max(std::min<int>(r.left, width - w), 0);
        const int top = std::max(std::min<int>(r.top, height - h), 0);
        SetWindowPos(child, nullptr, left, top, std::min(w, width - left),
                     std::min(h, height - top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

TSettingsDialog::TSettingsDialog(TSettingsDialogData& data) : Data(data) {
    SetTrackSize(DesignWidth, DesignHeight);
    Pages[0] = std::make_unique<TLauncherPage>();
    Pages[1] = std::make_unique<TClipboardPage>();
    Pages[2] = std::make_unique<TKeyPage>();
    Pages[3] = std::make_unique<TKeyPage>();
    Pages[4] = std::make_unique<TFontPage>();
    Pages[5] = std::make_unique<TBackgroundPage>();
    Pages[6] = std::make_unique<TPositionPage>();
    Pages[7] = std::make_unique<TVersionPage>();
}

TSettingsDialog::~TSettingsDialog() = default;

INT_PTR TSettingsDialog::Execute(HWND owner, int page, int left, int top, int width, int height) {
    StartPage = page;
    StartBounds = RECT{left, top, left + width, top + height};
    return ShowModal(owner, IDD_SETTINGS_DIALOG);
}

bool TSettingsDialog::OnInit() {
    HWND tabs = Item(IDC_PAGECONTROL1);
    for (std::size_t i = 0; i < Tabs.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(Tabs[i].Caption);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    Startup = std::make_unique<TStartupLink>();
    SetItemText(IDC_BUTTON3, Startup->Caption());
    SetWindowPos(Handle(), nullptr, StartBounds.left, StartBounds.top,
                 StartBounds.right - StartBounds.left, StartBounds.bottom - StartBounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    // Only the page shown is made now (a page's controls cost the system a few milliseconds
    // each); the others follow one by one once the dialog is up.
    ShowPage(StartPage);
    // The focus is placed in the page shown.
    return false;
}

void TSettingsDialog::MakePage(int tab) {
    if (tab < 0 || tab >= static_cast<int>(Pages.size())) return;
    auto& page = Pages[static_cast<std::size_t>(tab)];
    if (!page || page->Handle()) return;
    // Pages are children of the dialog, above the tab control, so that keyboard navigation runs
    // through them with the dialog's own.
    page->CreateChild(Handle(), Tabs[static_cast<std::size_t>(tab)].Template);
    page->Load(Data);
    PlacePage(*page, PageArea());
}

void TSettingsDialog::MakeAllPages() {
    for (std::size_t i = 0; i < Pages.size(); ++i)
        MakePage(static_cast<int>(i));
}

void TSettingsDialog::ShowPage(int page) {
    if (page < 0 || page >= static_cast<int>(TabOfPage.size())) return;
    const int tab = TabOfPage[static_cast<std::size_t>(page)];
    SendMessageA(Item(IDC_PAGECONTROL1), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    if (tab == ShownTab) return;
    SelectTab(tab);
    FocusShownPage();
}

void TSettingsDialog::SelectTab(int tab) {
    if (tab == ShownTab) return;
    MakePage(tab);
    for (std::size_t i = 0; i < Pages.size(); ++i)
        if (Pages[i] && Pages[i]->Handle())
            ShowWindow(Pages[i]->Handle(), static_cast<int>(i) == tab ? SW_SHOW : SW_HIDE);
    ShownTab = tab;
    if (HWND shown = ShownPage(); shown)
        Pages[static_cast<std::size_t>(tab)]->Shown();
}

HWND TSettingsDialog::ShownPage() const {
    if (ShownTab < 0 || ShownTab >= static_cast<int>(Pages.size())) return nullptr;
    const auto& page = Pages[static_cast<std::size_t>(ShownTab)];
    return page ? page->Handle() : nullptr;
}

void TSettingsDialog::FocusShownPage() {
    // Keys typed next must reach what the user sees, never a field of a hidden page: the focus
    // goes to the first control of the page shown that takes it.
    HWND page = ShownPage();
    if (!page) return;
    HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    if (first && IsChild(page, first))
        SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

SIZE TSettingsDialog::CurrentSize() const {
    return Size;
}

void TSettingsDialog::Layout() {
    // Laid out in the client area, whatever the thickness of the system's frame: the tab control
    // fills it above a row of the four bottom buttons. Margins are 8 pixels at 96 dots per inch,
    // the buttons 6 apart, at the dialog's scale.
    const int margin = Scaled(8), gap = Scaled(6);
    RECT client{};
    GetClientRect(Handle(), &client);
    RECT button{};
    GetWindowRect(Item(IDOK), &button);
    const int buttonHeight = button.bottom - button.top;
    const int buttonTop = client.bottom - margin - buttonHeight;
    HWND tabs = Item(IDC_PAGECONTROL1);
    const int tabWidth = client.right - 2 * margin, tabHeight = buttonTop - 2 * margin;
    SetWindowPos(tabs, nullptr, margin, margin, tabWidth, tabHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    int x = margin;
    for (int id : {IDOK, IDCANCEL, IDC_BUTTON3, IDC_BUTTON4}) {
        RECT b{};
        GetWindowRect(Item(id), &b);
        SetWindowPos(Item(id), nullptr, x, buttonTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += b.right - b.left + gap;
    }
    const RECT area = PageArea();
    for (auto& page : Pages)
        if (page && page->Handle()) PlacePage(*page, area);
}

RECT TSettingsDialog::PageArea() const {
    // The pages fill the tab control's display area.
    HWND tabs = Item(IDC_PAGECONTROL1);
    RECT bounds{};
    GetWindowRect(tabs, &bounds);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    RECT area{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    OffsetRect(&area, bounds.left, bounds.top);
    return area;
}

void TSettingsDialog::PlacePage(TSettingsTabPage& page, const RECT& area) const {
    SetWindowPos(page.Handle(), HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE);
    page.Layout(area.right - area.left, area.bottom - area.top);
    page.KeepControlsInside(area.right - area.left, area.bottom - area.top);
}

void TSettingsDialog::OnDpiChanged(int oldDpi, int newDpi) {
    for (auto& page : Pages)
        if (page && page->Handle()) page->DpiChanged(oldDpi, newDpi);
    Layout();
}

bool TSettingsDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_BUTTON4) {
        Quit();
        return true;
    }
    if (id == IDC_BUTTON3) {
        Startup->Click(Handle());
        SetItemText(IDC_BUTTON3, Startup->Caption());
        return true;
    }
    return TDialog::OnCommand(id, code, control);
}

bool TSettingsDialog::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.idFrom == IDC_PAGECONTROL1 && header.code == TCN_SELCHANGE) {
        SelectTab(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
        // On the tab control the user is choosing among the tabs, in sight; anywhere else (a
        // field of the page just hidden) the focus follows the page.
        if (GetFocus() != header.hwndFrom) FocusShownPage();
        result = 0;
        return true;
    }
    return false;
}

bool TSettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message == WM_SHOWWINDOW && wParam) {
        SetTimer(Handle(), MakePageTimer, USER_TIMER_MINIMUM, nullptr);
        return false;
    }
    if (message == WM_TIMER && wParam == MakePageTimer) {
        const auto missing = std::find_if(Pages.begin(), Pages.end(),
                                          [](const auto& page) { return page && !page->Handle(); });
        if (missing != Pages.end())
            MakePage(static_cast<int>(missing - Pages.begin()));
        else
            KillTimer(Handle(), MakePageTimer);
        result = 0;
        return true;
    }
    if (message == WM_DESTROY) {
        CloseInputMethod();
        return false;
    }
    if (message != WM_SIZE) return false;
    // Kept for after the dialog has closed, when the main form stores it.
    RECT r{};
    GetWindowRect(Handle(), &r);
    Size = SIZE{r.right - r.left, r.bottom - r.top};
    SizeDpi = Dpi();
    Layout();
    result = TRUE;
    return true;
}

void TSettingsDialog::SaveAll() {
    for (const auto& page : Pages) {
        if (!page || !page->Handle()) continue;
        page->Commit();
        page->Save(Data);
    }
}

void TSettingsDialog::OnOK() {
    MakeAllPages();
    // The checks run in their sequence, launcher entries before keys, on the pages' values taken
    // back (number boxes as on leaving them); the first that fails keeps the dialog open. The
    // data is the dialog's own copy: a refused OK leaves nothing applied.
    if (!static_cast<TLauncherPage&>(*Pages[0]).CheckEntries(*this)) return;
    SaveAll();
    if (!CheckKeys()) return;
    if (!CheckTextSet()) return;
    End(IDOK);
}

bool TSettingsDialog::CheckKeys() {
    const TKeyCheckResult result =
        CheckKeyChoices(KeyChoicesFromSettings(Data.Settings, Data.Menu));
    if (result.Ok) return true;
    ShowMessageBox(Handle(), result.Message, MB_ICONSTOP);
    ShowPage(static_cast<int>(result.Tab));
    FocusControl(KeyControlId(result.Focus));
    return false;
}

bool TSettingsDialog::CheckTextSet() {
    if (static_cast<const TClipboardPage&>(*Pages[1]).HasSelection()) return true;
    ShowMessageBox(Handle(), "クリップボード履歴用ファイルが指定されていません。", MB_ICONSTOP);
    ShowPage(static_cast<int>(TSettingsTab::Clipboard));
    FocusControl(IDC_LISTBOX3);
    return false;
}

void TSettingsDialog::FocusControl(int id) {
    MakeAllPages();
    for (const auto& page : Pages) {
        if (!page || !page->Handle() || !page->Item(id)) continue;
        SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(page->Item(id)), TRUE);
        return;
    }
}

void TSettingsDialog::CloseInputMethod() const {
    // The input method the user turned on for the dialog's fields is not left on for the
    // program's windows: the thread's context, as the owner (the application window) has it.
    HWND owner = GetWindow(Handle(), GW_OWNER);
    HWND window = owner ? owner : Handle();
    HIMC context = ImmGetContext(window);
    if (!context) return;
    if (ImmGetOpenStatus(context)) ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(window, context);
}

void TSettingsDialog::Quit() {
    switch (ShowMessageBox(Handle(), "設定を保存しますか？", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        MakeAllPages();
        SaveAll();
        End(SettingsQuitSaving);
        return;
    case IDNO:
        End(SettingsQuitDiscarding);
        return;
    default:
        return;
    }
}
