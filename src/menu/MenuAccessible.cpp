#include "menu/MenuAccessible.h"

#include <string>

#include "frame/AccessibleValues.h"
#include "menu/MenuAccess.h"

namespace {

// A code page 932 text as a new BSTR; nullptr for an empty text.
BSTR Unicode(const std::string& text) {
    return text.empty() ? nullptr : Cp932Bstr(text);
}

constexpr HRESULT NotHere = DISP_E_MEMBERNOTFOUND;

} // namespace

TMenuAccessible* TMenuAccessible::Create(TAccessibleList list) {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(list.Window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        !standard)
        return nullptr;
    return new TMenuAccessible(std::move(list), standard);
}

TMenuAccessible::TMenuAccessible(TAccessibleList list, IAccessible* standard)
    : List(std::move(list)), Standard(standard) {}

TMenuAccessible::~TMenuAccessible() {
    if (Standard) Standard->Release();
}

void TMenuAccessible::Disconnect() {
    List = {};
    if (Standard) Standard->Release();
    Standard = nullptr;
}

HRESULT TMenuAccessible::Refused() const {
    return List.Window ? E_INVALIDARG : RPC_E_DISCONNECTED;
}

long TMenuAccessible::ChildOf(const VARIANT& child) const {
    if (!List.Window || child.vt != VT_I4) return -1;
    if (child.lVal == CHILDID_SELF) return 0;
    return MenuLineOfChild(List.ShownMenu(), child.lVal) >= 0 ? child.lVal : -1;
}

HRESULT TMenuAccessible::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TMenuAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&References));
}

ULONG TMenuAccessible::Release() {
    const LONG left = InterlockedDecrement(&References);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT TMenuAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT TMenuAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}
HRESULT TMenuAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT TMenuAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                UINT*) {
    return E_NOTIMPL;
}

HRESULT TMenuAccessible::get_accParent(IDispatch** parent) {
    if (!Standard) return RPC_E_DISCONNECTED;
    return Standard->get_accParent(parent);
}

HRESULT TMenuAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    if (!List.Window) return RPC_E_DISCONNECTED;
    *count = List.ShownMenu().GetPerPage();
    return S_OK;
}

HRESULT TMenuAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const long id = ChildOf(child);
    if (id < 0) return Refused();
    // The lines are simple elements of the list: the list answers for them.
    return id == 0 ? E_INVALIDARG : S_FALSE;
}

HRESULT TMenuAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    const long id = ChildOf(child);
    if (id < 0) return Refused();
    const TMenuImage& menu = List.ShownMenu();
    *name = Unicode(id == 0 ? MenuListName(List.MenuTitle(), menu)
                            : MenuLineName(menu, static_cast<int>(id)));
    return *name ? S_OK : S_FALSE;
}

HRESULT TMenuAccessible::get_accValue(VARIANT, BSTR* value) {
    if (value) *value = nullptr;
    return NotHere;
}

HRESULT TMenuAccessible::get_accDescription(VARIANT, BSTR* description) {
    if (description) *description = nullptr;
    return NotHere;
}

HRESULT TMenuAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    const long id = ChildOf(child);
    if (id < 0) return Refused();
    SetLongVariant(role, id == 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM);
    return S_OK;
}

HRESULT TMenuAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    const long id = ChildOf(child);
    if (id < 0) return Refused();
    const bool focused = List.HasKeyboard();
    long bits = STATE_SYSTEM_FOCUSABLE;
    if (id == 0) {
        if (focused) bits |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(List.Window)) bits |= STATE_SYSTEM_INVISIBLE;
    } else {
        const TMenuLineState line = MenuLineState(List.ShownMenu(), static_cast<int>(id), focused);
        bits |= STATE_SYSTEM_SELECTABLE;
        if (line.Selected) bits |= STATE_SYSTEM_SELECTED;
        if (line.Focused) bits |= STATE_SYSTEM_FOCUSED;
        if (line.Unavailable) bits |= STATE_SYSTEM_UNAVAILABLE;
    }
    SetLongVariant(state, bits);
    return S_OK;
}

HRESULT TMenuAccessible::get_accHelp(VARIANT, BSTR* help) {
    if (help) *help = nullptr;
    return NotHere;
}

HRESULT TMenuAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return NotHere;
}

HRESULT TMenuAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut) return E_POINTER;
    *shortcut = nullptr;
    const long id = ChildOf(child);
    if (id < 0) return Refused();
    if (id == 0) return S_FALSE;
    // A line's letter chooses it.
    *shortcut = Unicode(std::string(1, static_cast<char>('A' + id - 1)));
    return S_OK;
}

HRESULT TMenuAccessible::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!List.Window) return RPC_E_DISCONNECTED;
    if (!List.HasKeyboard()) return S_FALSE;
    const TMenuImage& menu = List.ShownMenu();
    SetLongVariant(child, MenuChildOfLine(menu, menu.ItemIndex()));
    return S_OK;
}

HRESULT TMenuAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    VariantInit(children);
    if (!List.Window) return RPC_E_DISCONNECTED;
    const TMenuImage& menu = List.ShownMenu();
    const int id = MenuChildOfLine(menu, menu.ItemIndex());
    if (id == 0) return S_FALSE;
    SetLongVariant(children, id);
    return S_OK;
}

HRESULT TMenuAccessible::get_accDefaultAction(VARIANT, BSTR* action) {
    if (action) *action = nullptr;
    return NotHere;
}

HRESULT TMenuAccessible::accSelect(long, VARIANT) {
    return NotHere;
}

HRESULT TMenuAccessible::accLocation(long* left, long* top, long* width, long* height,
                                     VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    const long id = ChildOf(child);
    if (id < 0) return Refused();
    if (id == 0) return Standard->accLocation(left, top, width, height, child);
    RECT rect{};
    if (!List.LineRect(static_cast<int>(id), rect)) return S_FALSE;
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT TMenuAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    const long id = ChildOf(start);
    if (id < 0) return Refused();
    const long last = List.ShownMenu().GetPerPage();
    long to = 0;
    if (id == 0) {
        if (direction == NAVDIR_FIRSTCHILD)
            to = 1;
        else if (direction == NAVDIR_LASTCHILD)
            to = last;
        else
            return Standard->accNavigate(direction, start, end);
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        to = id + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        to = id - 1;
    }
    if (to < 1 || to > last) return S_FALSE;
    SetLongVariant(end, to);
    return S_OK;
}

HRESULT TMenuAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!List.Window) return RPC_E_DISCONNECTED;
    const POINT point{x, y};
    const long last = List.ShownMenu().GetPerPage();
    for (long id = 1; id <= last; ++id) {
        RECT rect{};
        if (List.LineRect(static_cast<int>(id), rect) && PtInRect(&rect, point)) {
            SetLongVariant(child, id);
            return S_OK;
        }
    }
    return Standard->accHitTest(x, y, child);
}

HRESULT TMenuAccessible::accDoDefaultAction(VARIANT) {
    return NotHere;
}

HRESULT TMenuAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT TMenuAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}
