#include "dialogs/TabVersion.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "dialogs/SettingsDialogIds.h"
#include "frame/Subclass.h"
#include "frame/Window.h"
#include "system/SysInfoWin.h"

namespace {
constexpr COLORREF PanelGreen = RGB(0, 96, 64);
constexpr COLORREF LabelYellow = RGB(255, 255, 0);
constexpr COLORREF NameWhite = RGB(255, 255, 255);
constexpr COLORREF AddressSilver = RGB(192, 192, 192);
constexpr UINT_PTR AddressSubclass = 1;

// The address is a button drawn as a link, so that Tab reaches it. Enter on it clicks it, as a
// click does, instead of pressing the dialog's default button.
LRESULT CALLBACK AddressProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    switch (message) {
    case WM_GETDLGCODE: {
        const LRESULT code = DefSubclass(control, message, wParam, lParam);
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        const bool enter = msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
        return enter ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        return 0;
    case WM_CHAR:
        if (wParam == '\r') return 0;
        break;
    case WM_NCDESTROY:
        RemoveSubclass(control, AddressProc, AddressSubclass);
        break;
    default:
        break;
    }
    return DefSubclass(control, message, wParam, lParam);
}
} // namespace

bool TVersionPage::OnInit() {
    PanelBrush = CreateSolidBrush(PanelGreen);
    char exe[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string version = GetVersionText(exe);
    if (!version.empty()) SetItemText(IDC_LABEL38, version);
    SetItemText(IDC_LABEL52, GetUserNameText());
    SetItemText(IDC_LABEL54, GetWindowsName(0));
    SetItemText(IDC_LABEL56, GetWindowsName(1));
    SetItemText(IDC_LABEL44, MakersPage);
    SetSubclass(Item(IDC_LABEL44), AddressProc, AddressSubclass, 0);
    Design = RecordTemplatePlaces(Handle());
    MakeFonts();
    return true;
}

void TVersionPage::MakeFonts() {
    LOGFONTA base{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)), sizeof base,
               &base);
    LOGFONTA title = base;
    title.lfHeight = -Scaled(16);
    title.lfWeight = FW_BOLD;
    LOGFONTA address = base;
    address.lfUnderline = TRUE;
    HFONT newTitle = CreateFontIndirectA(&title), newAddress = CreateFontIndirectA(&address);
    // The labels take the new fonts before the old ones go.
    for (int id : {IDC_LABEL36, IDC_LABEL38})
        SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(newTitle), TRUE);
    SendMessageA(Item(IDC_LABEL44), WM_SETFONT, reinterpret_cast<WPARAM>(newAddress), TRUE);
    DeleteFonts();
    TitleFont = newTitle;
    AddressFont = newAddress;
}

void TVersionPage::DeleteFonts() {
    if (TitleFont) DeleteObject(TitleFont);
    if (AddressFont) DeleteObject(AddressFont);
    TitleFont = AddressFont = nullptr;
}

void TVersionPage::Load(const TSettingsDialogData& data) {
    OpenAddress = data.OpenAddress;
}

void TVersionPage::OpenMakersPage() const {
    if (OpenAddress)
        OpenAddress(MakersPage);
    else
        ShellExecuteA(Application().Handle(), "open", MakersPage, nullptr, nullptr, SW_SHOW);
}

RECT TVersionPage::DesignOf(int id) const {
    return TemplatePlaceOf(Design, Item(id));
}

void TVersionPage::DpiChanged(int oldDpi, int newDpi) {
    RescalePlaces(Design, oldDpi, newDpi);
    MakeFonts();
}

void TVersionPage::Layout(int width, int height) {
    // The picture and the green panel side by side above the information group, the whole
    // (417 pixels wide at 96 dots per inch) centred on the page; divisions toward zero. Where
    // the dialog's font makes them wider than the page, they start at its left edge, centred if
    // they can be, and whatever reaches past its right edge is cut back to it.
    const RECT picture = DesignOf(IDC_IMAGE1), panel = DesignOf(IDC_PANEL2);
    const RECT group = DesignOf(IDC_GROUPBOX10);
    const int contentWidth = panel.right - picture.left;
    int left = (width - Scaled(417)) / 2;
    const bool cut = left + contentWidth > width;
    if (cut) left = std::max((width - contentWidth) / 2, 0);
    const int top = (height - (group.bottom - group.top) - (picture.bottom - picture.top)) / 2;
    const int dx = left - picture.left, dy = top - picture.top;
    for (const TTemplatePlace& d : Design) {
        const RECT& r = d.Rect;
        const int right = cut ? std::min<int>(r.right + dx, width) : r.right + dx;
        int x = r.left + dx;
        // The button centred across the page.
        if (d.Control == Item(IDC_BUTTON15)) x = (width - (r.right - r.left)) / 2;
        SetWindowPos(d.Control, nullptr, x, r.top + dy,
                     d.Control == Item(IDC_BUTTON15) ? r.right - r.left : right - x,
                     r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TVersionPage::OnCommand(int id, int code, HWND) {
    if ((id == IDC_BUTTON15 || id == IDC_LABEL44) && code == BN_CLICKED) {
        OpenMakersPage();
        return true;
    }
    return false;
}

bool TVersionPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id < IDC_LABEL36 || id > IDC_LABEL44) return false;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, PanelGreen);
        SetTextColor(dc, id == IDC_LABEL40 || id == IDC_LABEL42 ? NameWhite
                         : id == IDC_LABEL44                    ? AddressSilver
                                                                : LabelYellow);
        result = reinterpret_cast<INT_PTR>(PanelBrush);
        return true;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IDC_PANEL2) {
            FillRect(item.hDC, &item.rcItem, PanelBrush);
            DrawEdge(item.hDC, const_cast<RECT*>(&item.rcItem), EDGE_ETCHED, BF_RECT);
        } else if (item.CtlID == IDC_IMAGE1) {
            DrawPicture(item);
        } else if (item.CtlID == IDC_LABEL44) {
            DrawAddress(item);
        }
        result = TRUE;
        return true;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Item(IDC_LABEL44)) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
            result = TRUE;
            return true;
        }
        return false;
    case WM_DESTROY:
        if (PanelBrush) DeleteObject(PanelBrush);
        PanelBrush = nullptr;
        DeleteFonts();
        return false;
    default:
        return false;
    }
}

void TVersionPage::DrawAddress(const DRAWITEMSTRUCT& item) const {
    // Silver, underlined, on the panel's green; a focus frame around the text while it has the
    // focus.
    FillRect(item.hDC, &item.rcItem, PanelBrush);
    char text[256] = {};
    GetWindowTextA(item.hwndItem, text, sizeof text);
    HGDIOBJ old = SelectObject(item.hDC, AddressFont);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, AddressSilver);
    RECT bounds = item.rcItem;
    DrawTextA(item.hDC, text, -1, &bounds, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT extent = item.rcItem;
        DrawTextA(item.hDC, text, -1, &extent,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        IntersectRect(&extent, &extent, &item.rcItem);
        DrawFocusRect(item.hDC, &extent);
    }
    SelectObject(item.hDC, old);
}

void TVersionPage::DrawPicture(const DRAWITEMSTRUCT& item) const {
    // Our picture: the program's icon large on a soft sky that fades towards the bottom.
    const RECT& r = item.rcItem;
    const int height = r.bottom - r.top;
    for (int y = 0; y < height; ++y) {
        const int t = height > 1 ? y * 255 / (height - 1) : 0;
        HBRUSH band = CreateSolidBrush(RGB(200 - t / 5, 225 - t / 6, 250 - t / 10));
        RECT line{r.left, r.top + y, r.right, r.top + y + 1};
        FillRect(item.hDC, &line, band);
        DeleteObject(band);
    }
    // The icon is 48 pixels at 96 dots per inch.
    const int side = Scaled(48);
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, side, side, 0));
    if (icon) {
        DrawIconEx(item.hDC, (r.left + r.right - side) / 2, (r.top + r.bottom - side) / 2, icon,
                   side, side, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
    DrawEdge(item.hDC, const_cast<RECT*>(&r), EDGE_SUNKEN, BF_RECT);
}
