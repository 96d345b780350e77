#include "frame/Dialog.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "frame/ControlNames.h"
#include "frame/MessageBox.h"
#include "frame/Scale.h"
#include "frame/Window.h"

namespace {
// Posted to itself by a dialog whose scale changed, to lay out after the system's own handling
// of WM_DPICHANGED (the dialog manager's new fonts and sizes) is over.
constexpr UINT DpiLayoutMessage = WM_APP + 0x3D0;

// GetDpiForWindow where the system has it (Windows 10 1607 and later).
UINT WindowDpi(HWND window) {
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpi = [] {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        return user32 ? reinterpret_cast<TGetDpiForWindow>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return getDpi && window ? getDpi(window) : 0;
}
} // namespace

int RescaleLength(int value, int fromDpi, int toDpi) {
    return fromDpi > 0 && fromDpi != toDpi ? MulDiv(value, toDpi, fromDpi) : value;
}

RECT RescaleRect(const RECT& rect, int fromDpi, int toDpi) {
    return RECT{RescaleLength(rect.left, fromDpi, toDpi), RescaleLength(rect.top, fromDpi, toDpi),
                RescaleLength(rect.right, fromDpi, toDpi),
                RescaleLength(rect.bottom, fromDpi, toDpi)};
}

TDialog::~TDialog() {
    if (FHandle) {
        SetWindowLongPtrA(FHandle, DWLP_USER, 0);
        DestroyWindow(FHandle);
    }
}

INT_PTR TDialog::ShowModal(HWND owner, int templateId) {
    FTemplateId = templateId;
    return DialogBoxParamA(Application().Instance(), MAKEINTRESOURCEA(templateId), owner, Proc,
                           reinterpret_cast<LPARAM>(this));
}

HWND TDialog::CreateChild(HWND parent, int templateId) {
    FTemplateId = templateId;
    return CreateDialogParamA(Application().Instance(), MAKEINTRESOURCEA(templateId), parent, Proc,
                              reinterpret_cast<LPARAM>(this));
}

void TDialog::End(INT_PTR result) {
    if (FHandle) EndDialog(FHandle, result);
}

std::string TDialog::ItemText(int id) const {
    HWND item = Item(id);
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void TDialog::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextA(FHandle, id, text.c_str());
}

bool TDialog::Checked(int id) const {
    return IsDlgButtonChecked(FHandle, id) == BST_CHECKED;
}

void TDialog::SetChecked(int id, bool checked) const {
    CheckDlgButton(FHandle, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void TDialog::Enable(int id, bool enabled) const {
    EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

void TDialog::SetComboItems(int id, const char* const* items, int count) const {
    SendDlgItemMessageA(FHandle, id, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        SendDlgItemMessageA(FHandle, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

int TDialog::ComboIndex(int id) const {
    return static_cast<int>(SendDlgItemMessageA(FHandle, id, CB_GETCURSEL, 0, 0));
}

void TDialog::SetComboIndex(int id, int index) const {
    SendDlgItemMessageA(FHandle, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TDialog::PlaceItem(int id, int x, int y, int width, int height, int least) const {
    SetWindowPos(Item(id), nullptr, x, y, std::max(width, least), std::max(height, least),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ListBoxText(HWND list, int line) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0);
    if (length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(line),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int TDialog::Dpi() const {
    if (const UINT dpi = WindowDpi(FHandle); dpi > 0) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DesignDpi;
}

int TDialog::Scaled(int pixels) const {
    return ScaleToDpi(pixels, Dpi());
}

bool TDialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool TDialog::OnNotify(NMHDR&, LRESULT&) {
    return false;
}

bool TDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

void TDialog::OnException(const char* what) {
    ShowMessageBox(FHandle, what && *what ? what : "正体不明のエラーです。", MB_ICONSTOP);
}

INT_PTR CALLBACK TDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<TDialog*>(lParam);
        self->FHandle = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->Dispatch(message, wParam, lParam);
    } catch (const std::exception& e) {
        self->OnException(e.what());
    } catch (...) {
        self->OnException(nullptr);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->FHandle = nullptr;
    }
    return result;
}

INT_PTR TDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        FDpi = Dpi();
        const bool setFocus = OnInit();
        // After the handler, which may give controls their texts.
        NameDialogControls(FHandle, FTemplateId);
        return setFocus ? TRUE : FALSE;
    }
    case WM_DPICHANGED: {
        // The suggested rectangle keeps the dialog where it was on the screen at its new size.
        // The message then goes on to the dialog manager, which gives the controls their fonts
        // and sizes at the new scale; the layout follows once it is through.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(FHandle, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(FHandle, DpiLayoutMessage, static_cast<WPARAM>(FDpi), LOWORD(wParam));
        FDpi = LOWORD(wParam);
        return FALSE;
    }
    case WM_GETMINMAXINFO: {
        if (FTrackSize.cx <= 0) break;
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{Scaled(FTrackSize.cx), Scaled(FTrackSize.cy)};
        if (FFixedSize) info->ptMaxTrackSize = info->ptMaxSize = info->ptMinTrackSize;
        return TRUE;
    }
    case DpiLayoutMessage:
        OnDpiChanged(static_cast<int>(wParam), static_cast<int>(lParam));
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE
                                                                                         : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return FALSE;
        SetWindowLongPtrA(FHandle, DWLP_MSGRESULT, result);
        return TRUE;
    }
    default:
        break;
    }
    INT_PTR result = FALSE;
    return OnMessage(message, wParam, lParam, result) ? result : FALSE;
}

void TDialog::SetTrackSize(int width, int height, bool fixed) {
    FTrackSize = SIZE{width, height};
    FFixedSize = fixed;
}

bool AsksAboutEnter(LPARAM lParam) {
    const auto* asked = reinterpret_cast<const MSG*>(lParam);
    return asked && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN;
}

TTemplatePlaces RecordTemplatePlaces(HWND dialog) {
    TTemplatePlaces places;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        places.push_back({child, r});
    }
    return places;
}

RECT TemplatePlaceOf(const TTemplatePlaces& places, HWND control) {
    for (const TTemplatePlace& place : places)
        if (place.Control == control) return place.Rect;
    return RECT{};
}

void RescalePlaces(TTemplatePlaces& places, int fromDpi, int toDpi) {
    for (TTemplatePlace& place : places)
        place.Rect = RescaleRect(place.Rect, fromDpi, toDpi);
}
