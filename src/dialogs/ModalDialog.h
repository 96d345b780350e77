#pragma once
// A modal dialog from a template of the program's resources. The object is bound to its window
// on WM_INITDIALOG and unbound on WM_NCDESTROY; no C++ exception crosses back into the system.
#include <windows.h>

#include "frame/Window.h"

class TModalDialog : public TWindow {
public:
    virtual ~TModalDialog() = default;

protected:
    // Shows the template owned by the window and returns the result EndModal gave, or -1 when
    // the dialog could not be made.
    INT_PTR RunModal(HWND owner, int templateId);
    void EndModal(INT_PTR result) { EndDialog(Handle, result); }

    // WM_INITDIALOG: fill the controls. Returns whether the system should focus the first
    // control.
    virtual bool OnInit() { return true; }
    // WM_COMMAND from a control or an accelerator; true when handled. IDCANCEL, which Escape and
    // the close box send, ends the dialog with IDCANCEL unless it is handled here.
    virtual bool OnCommand(int id, int code);
    // Any other message; true when handled, result then being the dialog procedure's answer.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};
