// The list control's window: creation, properties, the model's notifications, focus and keys.
// Its drawing is in ListImagePaint.cpp.
#include "menu/ListImage.h"

#include "frame/Errors.h"
#include "menu/MenuAccess.h"
#include "menu/MenuAccessible.h"
#include "menu/SkinCompose.h"

namespace {
const char ListImageClassName[] = "TListImage";
} // namespace

TListImage::TListImage() {
    FMenu.OnItemsChanged = [this](TMenuImage&) { ItemsChanged(); };
    FMenu.OnIndexChanging = [this](TMenuImage&) { IndexChanging(); };
    FMenu.OnIndexChanged = [this](TMenuImage&) { IndexChanged(); };
    FMenu.OnPageChanged = [this](TMenuImage&, int oldPage, int newPage) {
        PageChanged(oldPage, newPage);
    };
    FMenu.OnChangePage = [this](TMenuImage&, int pageCount) { ChangePage(pageCount); };
    for (TPageImage& mark : FMarks)
        mark.OnChange = [this](TPageImage& sender) { PageIndexChanged(sender); };
}

TListImage::~TListImage() {
    // The window goes first: its last messages may still draw.
    Destroy();
    if (FAccessible) {
        FAccessible->Disconnect();
        FAccessible->Release();
    }
    if (FPalette) DeleteObject(FPalette);
    UnloadDLL();
}

bool TListImage::Create(HWND parent, int width, int height) {
    // Class style 0: no redraw on resize (the surface is recomposed when the size changes) and
    // no double-click messages.
    return TCustomWindow::Create(ListImageClassName, "",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0,
                                 width, height, parent);
}

void TListImage::SetColor(std::uint32_t value) {
    if (value == FColor) return;
    FColor = value;
    Invalidate();
}

void TListImage::SetLineSpace(int value) {
    if (value == FLineSpace || value < 0) return;
    FLineSpace = value;
    Invalidate();
}

void TListImage::SetPicture(HBITMAP picture) {
    FPicture.Assign24(picture);
    PictureChanged();
}

void TListImage::SetPalette(HPALETTE palette) {
    if (palette == FPalette) return;
    if (FPalette) DeleteObject(FPalette);
    FPalette = palette;
    Invalidate();
}

void TListImage::SetMarkBitmap(int index, HBITMAP frames) {
    if (index < 0 || index > 3) throw ERangeError("登録数を超えています。");
    TMemoryBitmap& bitmap = FMarkBitmaps[index];
    bitmap.Assign24(frames);
    FMarkLoadedHeights[index] = bitmap.Height;
}

int TListImage::GetWindowHeight() {
    FFonts.Update(FMenu.Font(), FDpi);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldFont = SelectObject(dc, FFonts.Get(AnsiCharset));
    const int height = ::GetWindowHeight(TGdiTextMetrics(dc, FFonts), FMenu, FLineSpace);
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    return height;
}

void TListImage::Invalidate() {
    FComposed = false;
    FDamage.clear();
    if (Handle) InvalidateRect(Handle, nullptr, FALSE);
}

void TListImage::ItemsChanged() {
    Invalidate();
    Announce(EVENT_OBJECT_REORDER, CHILDID_SELF);
}

void TListImage::SetMenuName(const std::string& name) {
    if (name == FMenuName) return;
    FMenuName = name;
    Announce(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
}

void TListImage::Announce(DWORD event, LONG child) {
    if (Handle && IsWindowVisible(Handle)) NotifyWinEvent(event, Handle, OBJID_CLIENT, child);
}

void TListImage::AnnouncePopup(bool shown) {
    if (Handle)
        NotifyWinEvent(shown ? EVENT_SYSTEM_MENUPOPUPSTART : EVENT_SYSTEM_MENUPOPUPEND, Handle,
                       OBJID_CLIENT, CHILDID_SELF);
}

bool TListImage::LineScreenRect(int child, RECT& rect) {
    const int index = MenuLineOfChild(FMenu, child);
    if (index < 0 || !Handle) return false;
    FFonts.Update(FMenu.Font(), FDpi);
    HDC dc = CreateCompatibleDC(nullptr);
    TItemLayout layout;
    bool laid = false;
    {
        const TGdiTextMetrics metrics(dc, FFonts);
        laid = LayoutItem(FMenu, metrics, index, layout);
    }
    DeleteDC(dc);
    if (!laid) return false;
    POINT corners[2] = {{layout.Rect.Left, layout.Rect.Top},
                        {layout.Rect.Right, layout.Rect.Bottom}};
    MapWindowPoints(Handle, nullptr, corners, 2);
    rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

void TListImage::IndexChanging() {
    // The palette stays selected until IndexChanged has drawn the new choice.
    BeginDraw();
    ItemRepaint(FMenu.ItemIndex(), false, false);
}

void TListImage::IndexChanged() {
    ItemRepaint(FMenu.ItemIndex(), true, false);
    EndDraw();
    // The new choice is where a screen reader's attention goes.
    if (const int child = MenuChildOfLine(FMenu, FMenu.ItemIndex())) {
        Announce(EVENT_OBJECT_FOCUS, child);
        Announce(EVENT_OBJECT_SELECTION, child);
    }
}

void TListImage::PageChanged(int oldPage, int newPage) {
    BeginDraw();
    FollowPageChange(FMarks, oldPage, newPage);
    // A hidden or minimised menu draws its new page when it shows again.
    if (ShowingOnScreen())
        DrawMenu(false);
    else
        Invalidate();
    EndDraw();
    // The list's name carries the page; the lines are new ones.
    Announce(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
    Announce(EVENT_OBJECT_REORDER, CHILDID_SELF);
}

void TListImage::ChangePage(int pageCount) {
    ShowPageMarks(FMarks, pageCount);
}

void TListImage::PageIndexChanged(const TPageImage& mark) {
    DrawPageIndex(mark);
    if (!FDrawing) FlushDamage();
}

void TListImage::PictureChanged() {
    for (int i = 0; i < 4; ++i)
        CreateMask(i);
    Invalidate();
}

void TListImage::DoEnter() {
    if (OnEnter) OnEnter();
    DrawFocus();
}

void TListImage::DoExit() {
    if (OnExit) OnExit();
    DrawFocus();
}

void TListImage::DrawFocus() {
    BeginDraw();
    ItemRepaint(FMenu.ItemIndex(), true, false);
    EndDraw();
}

bool TListImage::ShowingOnScreen() const {
    if (!Handle || !IsWindowVisible(Handle)) return false;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    HWND top = GetAncestor(Handle, GA_ROOT);
    return !GetWindowPlacement(top, &placement) || placement.showCmd != SW_SHOWMINIMIZED;
}

void TListImage::KeyDown(std::uint16_t& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(key, shift);
    if (key == 0) return;
    FMenu.KeyDown(key);
}

TShiftState TListImage::KeyShiftState(LPARAM lParam) const {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    // The key message itself says whether Alt is down (bit 29 of its data).
    if (lParam & (1 << 29)) shift |= ssAlt;
    return shift;
}

bool TListImage::HandleKey(UINT message, WPARAM wParam, LPARAM lParam) {
    auto key = static_cast<std::uint16_t>(wParam);
    const TShiftState shift = KeyShiftState(lParam);
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        KeyDown(key, shift);
    else if (OnKeyUp)
        OnKeyUp(key, shift);
    // The character that an Alt key taken here produces would otherwise go on to look for a
    // menu accelerator (and beep, as the menu window has none).
    if (message == WM_SYSKEYDOWN) FSwallowSysChar = key == 0;
    // A key nobody took goes on to the system's handling (Alt combinations, F10, ...).
    return key == 0;
}

bool TListImage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_ERASEBKGND:
        // The surface covers every pixel: erasing first would only flicker.
        result = 1;
        return true;
    case WM_GETDLGCODE:
        // Arrows and Tab belong to the menu even inside a dialog-like parent.
        result = DefWindowProcA(Handle, message, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTTAB;
        return true;
    case WM_PAINT:
        Paint();
        return true;
    case WM_PRINTCLIENT:
        RenderTo(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_SIZE:
        FSurface.Free();
        Invalidate();
        return true;
    case WM_SETFOCUS:
        DoEnter();
        return true;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return false;
        if (!FAccessible) {
            TAccessibleList list;
            list.Window = Handle;
            list.ShownMenu = [this]() -> const TMenuImage& { return FMenu; };
            list.MenuTitle = [this]() -> const std::string& { return FMenuName; };
            list.HasKeyboard = [this] { return Focused(); };
            list.LineRect = [this](int child, RECT& rect) { return LineScreenRect(child, rect); };
            FAccessible = TMenuAccessible::Create(std::move(list));
        }
        if (!FAccessible) return false;
        // The interface's identifier from the compiler: the library's symbol for it is an
        // import thunk in a static build.
        result = LresultFromObject(__uuidof(IAccessible), wParam, FAccessible);
        return true;
    case WM_KILLFOCUS:
        DoExit();
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        result = 0;
        return HandleKey(message, wParam, lParam);
    case WM_SYSCHAR:
        if (!FSwallowSysChar) return false;
        FSwallowSysChar = false;
        result = 0;
        return true;
    default:
        return false;
    }
}
