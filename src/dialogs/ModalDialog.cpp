#include "dialogs/ModalDialog.h"

#include <exception>

INT_PTR TModalDialog::RunModal(HWND owner, int templateId) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

bool TModalDialog::OnCommand(int id, int) {
    if (id != IDCANCEL) return false;
    EndModal(IDCANCEL);
    return true;
}

bool TModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR TModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInit() ? TRUE : FALSE;
    if (message == WM_COMMAND) return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    INT_PTR result = FALSE;
    return OnMessage(message, wParam, lParam, result) ? result : FALSE;
}

INT_PTR CALLBACK TModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TModalDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<TModalDialog*>(lParam);
        self->Handle = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    }
    if (self == nullptr) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->Dispatch(message, wParam, lParam);
    } catch (const std::exception& e) {
        Application().ShowException(e.what());
    } catch (...) {
        Application().ShowException({});
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->Handle = nullptr;
    }
    return result;
}
