#pragma once
// Dialogs from resource templates: one static dialog procedure that routes to the object taken
// on WM_INITDIALOG, virtual handlers, and the text helpers every page needs. A modal dialog runs
// with ShowModal; a tab page is a child dialog made with CreateChild. No exception crosses back
// into the system.
#include <windows.h>

#include <string>
#include <vector>

class TDialog {
public:
    TDialog() = default;
    virtual ~TDialog();
    TDialog(const TDialog&) = delete;
    TDialog& operator=(const TDialog&) = delete;

    // Runs the dialog of the template modally over the owner; the result given to End, or -1
    // when the dialog could not be made.
    INT_PTR ShowModal(HWND owner, int templateId);
    // Makes the dialog of the template as a child of the parent (a tab page); nullptr on failure.
    HWND CreateChild(HWND parent, int templateId);

    HWND Handle() const { return FHandle; }
    operator HWND() const { return FHandle; }
    HWND Item(int id) const { return GetDlgItem(FHandle, id); }

    // Ends a modal dialog with the result.
    void End(INT_PTR result);

    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    bool Checked(int id) const;
    void SetChecked(int id, bool checked) const;
    void Enable(int id, bool enabled) const;
    // Combo boxes (drop-down lists): the items, the selected position (-1 none).
    void SetComboItems(int id, const char* const* items, int count) const;
    int ComboIndex(int id) const;
    void SetComboIndex(int id, int index) const;
    // Moves and sizes a control in pixels of the dialog, no side shorter than least.
    void PlaceItem(int id, int x, int y, int width, int height, int least = 0) const;

    // The dots per inch of the dialog's monitor: the window's own where the system tells it, else
    // the screen's.
    int Dpi() const;
    // A length the layout gives in pixels at 96 dots per inch, at the dialog's scale (rounded
    // toward negative infinity, as the menu scales its design): at 96 it is the length itself.
    int Scaled(int pixels) const;

protected:
    // WM_INITDIALOG; false when the handler set the focus itself.
    virtual bool OnInit() { return true; }
    // WM_COMMAND; true when handled. IDOK and IDCANCEL fall back to OnOK and OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    // WM_NOTIFY; true when handled, with the result in result.
    virtual bool OnNotify(NMHDR& header, LRESULT& result);
    // Any other message; true when handled, with the dialog procedure's result in result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // A handler threw: by default a stop message with its text.
    virtual void OnException(const char* what);
    // The smallest size the user can drag the dialog to, in pixels at 96 dots per inch (taken at
    // its scale); fixed: also the largest and the maximised size. Set before it is shown.
    void SetTrackSize(int width, int height, bool fixed = false);
    // The dialog has moved to a monitor of another scale and the system has given it its size
    // and fonts there (it takes the rectangle the system suggests); called once that is done, to
    // lay it out again. Places recorded at the old scale are to be converted to the new.
    virtual void OnDpiChanged(int /*oldDpi*/, int /*newDpi*/) {}

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    // The template the dialog was made from: the controls' names for screen readers follow it.
    int FTemplateId = 0;
    // The scale the dialog was last laid out at.
    int FDpi = 96;
    SIZE FTrackSize{};
    bool FFixedSize = false;
};

// The text of a list box's line; empty outside the list.
std::string ListBoxText(HWND list, int line);

// Whether a WM_GETDLGCODE asks about a pressed Enter (its lParam the message in question): a
// control that answers with DLGC_WANTALLKEYS or DLGC_WANTMESSAGE keeps it from the default
// button.
bool AsksAboutEnter(LPARAM lParam);

// Where each child control of a dialog sits in its template, in pixels of the dialog: recorded
// before any layout moves them, converted when the dialog's scale changes.
struct TTemplatePlace {
    HWND Control;
    RECT Rect;
};
using TTemplatePlaces = std::vector<TTemplatePlace>;
TTemplatePlaces RecordTemplatePlaces(HWND dialog);
// A control's place; an empty rectangle for a control not recorded.
RECT TemplatePlaceOf(const TTemplatePlaces& places, HWND control);
void RescalePlaces(TTemplatePlaces& places, int fromDpi, int toDpi);

// A length or place recorded at one scale, at another (rounded to the nearest pixel).
int RescaleLength(int value, int fromDpi, int toDpi);
RECT RescaleRect(const RECT& rect, int fromDpi, int toDpi);
