#include "frame/ControlNames.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstring>
#include <new>
#include <vector>

#include "frame/AccessibleValues.h"
#include "frame/LabelName.h"
#include "frame/Subclass.h"

namespace {

constexpr UINT_PTR NameSubclassId = 0x4D4E; // one subclass per control
// The window property that holds a named control's name, a BSTR the subclass owns.
std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

LONG_PTR StyleOf(HWND window) {
    return GetWindowLongPtrA(window, GWL_STYLE);
}

// A control whose window text is not its name: what it holds, or nothing.
bool NeedsName(HWND control) {
    const std::string cls = ClassOf(control);
    for (const char* named :
         {"Edit", "ComboBox", "ListBox", "SysListView32", "SysTreeView32", "msctls_trackbar32",
          "msctls_hotkey32", "msctls_updown32", "SysTabControl32"})
        if (_stricmp(cls.c_str(), named) == 0) return true;
    return false;
}

bool IsStaticText(HWND window) {
    if (_stricmp(ClassOf(window).c_str(), "Static") != 0) return false;
    const LONG_PTR type = StyleOf(window) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
           type == SS_LEFTNOWORDWRAP;
}

// A check box or group box: the controls after it up to the next one belong to it.
bool IsOwningButton(HWND window) {
    if (_stricmp(ClassOf(window).c_str(), "Button") != 0) return false;
    switch (StyleOf(window) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_GROUPBOX:
        return true;
    default:
        return false;
    }
}

// The label directly before the control, else the check box or group box before it.
std::string LabelName(HWND control) {
    HWND previous = GetWindow(control, GW_HWNDPREV);
    if (previous && IsStaticText(previous) && IsControlLabel(TextOf(previous)))
        return NameOfLabel(TextOf(previous));
    for (; previous; previous = GetWindow(previous, GW_HWNDPREV))
        if (IsOwningButton(previous)) return NameOfLabel(TextOf(previous));
    return {};
}

// A list view in report view: a grid of rows and columns.
bool IsGrid(HWND window) {
    return _stricmp(ClassOf(window).c_str(), "SysListView32") == 0 &&
           (StyleOf(window) & LVS_TYPEMASK) == LVS_REPORT;
}

// The text of a list view's column header.
std::string ColumnHeader(HWND list, int column) {
    char text[256] = {};
    LVCOLUMNA header = {};
    header.mask = LVCF_TEXT;
    header.pszText = text;
    header.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&header));
    return text;
}

// The text of a cell (column 0: the item's own).
std::string CellText(HWND list, int row, int column) {
    std::vector<char> text(1024, '\0');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text.data();
}

// A row of a list view in report view, as a screen reader reads it: its cells under their
// columns' headers.
std::string RowName(HWND list, int row) {
    const auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    std::vector<std::string> headers, cells;
    for (int column = 0; column < columns; ++column) {
        headers.push_back(ColumnHeader(list, column));
        cells.push_back(CellText(list, row, column));
    }
    return NameOfRow(headers, cells);
}

// Whether the window has the keyboard focus of its thread's input (asked from any thread).
bool HasFocus(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
           info.hwndFocus == window;
}

// The standard object of a control under another name: every question but the control's own
// name goes to the standard object. A list view (the grids) also answers for its rows, which
// the standard object does not know: child n is row n - 1, a list item named by its cells.
class TNamedAccessible final : public IAccessible {
public:
    TNamedAccessible(IAccessible* standard, BSTR name, HWND list)
        : Standard(standard), Name(name), List(list) {}
    TNamedAccessible(const TNamedAccessible&) = delete;
    TNamedAccessible& operator=(const TNamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
            riid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // A grid's rows are counted, not enumerated: its clients ask for them by child id.
        if (List && riid == __uuidof(IEnumVARIANT)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        // The window and the enumeration of the children are the standard object's.
        return Standard->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&References));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&References);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return Standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return Standard->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override {
        return Standard->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        return Standard->Invoke(d, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
        return Standard->get_accParent(p);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* c) override {
        if (!List) return Standard->get_accChildCount(c);
        if (!c) return E_POINTER;
        *c = static_cast<long>(Rows());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** o) override {
        if (Row(c) < 0) return Standard->get_accChild(c, o);
        if (!o) return E_POINTER;
        *o = nullptr; // a row is a simple element of the list
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (const int row = Row(child); row >= 0) {
            if (!name) return E_POINTER;
            *name = Cp932Bstr(RowName(List, row));
            return *name ? S_OK : E_OUTOFMEMORY;
        }
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return Standard->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = SysAllocString(Name);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
        return Standard->get_accValue(c, v);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
        return Standard->get_accDescription(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override {
        if (!List || (c.vt == VT_I4 && c.lVal > Rows())) return Standard->get_accRole(c, r);
        if (!r) return E_POINTER;
        SetLongVariant(r, Row(c) >= 0 ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_LIST);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override {
        const int row = Row(c);
        if (row < 0) return Standard->get_accState(c, s);
        if (!s) return E_POINTER;
        const auto item = static_cast<UINT>(SendMessageA(
            List, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED));
        long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (item & LVIS_SELECTED) state |= STATE_SYSTEM_SELECTED;
        if ((item & LVIS_FOCUSED) && HasFocus(List)) state |= STATE_SYSTEM_FOCUSED;
        SetLongVariant(s, state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override {
        return Standard->get_accHelp(c, h);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return Standard->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* s) override {
        return Standard->get_accKeyboardShortcut(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override {
        if (!List || !HasFocus(List)) return Standard->get_accFocus(c);
        return RowVariant(LVNI_FOCUSED, c);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override {
        if (!List) return Standard->get_accSelection(c);
        return RowVariant(LVNI_SELECTED, c);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
        return Standard->get_accDefaultAction(c, a);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override {
        return Standard->accSelect(f, c);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
        const int row = Row(c);
        if (row < 0) return Standard->accLocation(l, t, w, h, c);
        if (!l || !t || !w || !h) return E_POINTER;
        RECT bounds = {};
        bounds.left = LVIR_BOUNDS;
        if (!SendMessageA(List, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(&bounds)))
            return E_FAIL;
        MapWindowPoints(List, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
        *l = bounds.left;
        *t = bounds.top;
        *w = bounds.right - bounds.left;
        *h = bounds.bottom - bounds.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
        return Standard->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override {
        if (List && c) {
            LVHITTESTINFO hit = {};
            hit.pt = {x, y};
            ScreenToClient(List, &hit.pt);
            const auto row = static_cast<int>(
                SendMessageA(List, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (row >= 0 && (hit.flags & LVHT_ONITEM)) {
                SetLongVariant(c, row + 1);
                return S_OK;
            }
        }
        return Standard->accHitTest(x, y, c);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
        return Standard->accDoDefaultAction(c);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override {
        return Standard->put_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override {
        return Standard->put_accValue(c, v);
    }

private:
    ~TNamedAccessible() {
        Standard->Release();
        SysFreeString(Name);
    }

    long Rows() const { return static_cast<long>(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0)); }
    // The row a child id names (0 ..); -1 for the control itself, another id, or no list view.
    int Row(const VARIANT& child) const {
        if (!List || child.vt != VT_I4 || child.lVal <= CHILDID_SELF || child.lVal > Rows())
            return -1;
        return static_cast<int>(child.lVal - 1);
    }
    // The child id of the first row in the state given, or nothing (VT_EMPTY).
    HRESULT RowVariant(UINT state, VARIANT* child) const {
        if (!child) return E_POINTER;
        VariantInit(child);
        const auto row = static_cast<int>(
            SendMessageA(List, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(state, 0)));
        if (row < 0) return S_FALSE;
        SetLongVariant(child, row + 1);
        return S_OK;
    }

    LONG References = 1;
    IAccessible* Standard;
    BSTR Name;
    HWND List; // the list view whose rows are the children; nullptr for other controls
};

// The subclass of a named control; its data is the name, which it owns.
LRESULT CALLBACK NamedProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR data) {
    const auto name = reinterpret_cast<BSTR>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard))) &&
            standard) {
            BSTR copy = SysAllocString(name);
            auto* named =
                copy ? new (std::nothrow)
                           TNamedAccessible(standard, copy, IsGrid(control) ? control : nullptr)
                     : nullptr;
            if (!named) {
                // Out of memory: the control answers as the standard object would.
                SysFreeString(copy);
                standard->Release();
                return DefSubclass(control, message, wParam, lParam);
            }
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, named);
            named->Release();
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveSubclass(control, NamedProc, id);
        SysFreeString(name);
    }
    return DefSubclass(control, message, wParam, lParam);
}

// A control is named once, as its dialog starts.
void GiveName(HWND control, const std::string& name) {
    BSTR text = Cp932Bstr(name);
    if (text && !SetSubclass(control, NamedProc, NameSubclassId, reinterpret_cast<DWORD_PTR>(text)))
        SysFreeString(text);
}

} // namespace

void NameDialogControls(HWND dialog, int templateId) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name;
        if (const char* given = ExplicitControlName(templateId, GetDlgCtrlID(child)))
            name = given;
        else if (NeedsName(child))
            name = LabelName(child);
        if (!name.empty()) GiveName(child, name);
    }
}
