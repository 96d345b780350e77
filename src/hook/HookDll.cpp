// Mirto.dll: the keyboard hook procedure that the program installs for every thread of the
// desktop. It runs inside whichever application receives a key, so it must stay cheap and must
// never disturb that application: every key is passed on, keys that cannot matter cost one
// comparison, and nothing here allocates or throws.
#include <windows.h>

#include <imm.h>

#include <atomic>

#include "core/ShareData.h"
#include "hook/HookLogic.h"

namespace {

// The registered name of the notification message; the number the system gives it is the same
// in every process of the desktop.
constexpr char NotificationName[] = "MirtoHookNotification";

// The WM_IME_CONTROL request that opens or closes the input method (ime.h).
constexpr WPARAM ImeControlSetOpenStatus = 0x0006;

// This process's read-only view of the shared area, mapped on the first key that matters and
// kept until the library leaves the process.
std::atomic<const volatile TShareData*> SharedView{nullptr};

// The key state of the receiving thread as of the key message being processed, which is what a
// pair of keys pressed together must be judged by (the physical state may already be ahead).
class TThreadKeyState final : public TKeyStateQuery {
public:
    bool IsDown(unsigned key) const override {
        return (GetKeyState(static_cast<int>(key)) & 0x8000) != 0;
    }
};

// Maps the area if the program has created it. The handle is closed at once: the view keeps the
// area alive, and the name then vanishes with the program, so that the next start of the
// program creates a fresh area.
const volatile TShareData* MapSharedArea() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MappingName);
    if (mapping == nullptr) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, ShareAreaSize);
    CloseHandle(mapping);
    if (view == nullptr) return nullptr;
    return static_cast<const volatile TShareData*>(view);
}

// Publishes a newly mapped view for the process. A view that it replaces is left mapped, as
// another thread of the process may still be reading it; that happens only when the program was
// restarted while this library stayed loaded.
const volatile TShareData* PublishView(const volatile TShareData* stale,
                                       const volatile TShareData* fresh) {
    if (SharedView.compare_exchange_strong(stale, fresh)) return fresh;
    UnmapViewOfFile(const_cast<TShareData*>(fresh));
    return stale;
}

// Each field is one aligned load: the program may rewrite the record at any moment.
TShareData ReadShare(const volatile TShareData* view) {
    TShareData share{};
    share.HookHandle = view->HookHandle;
    share.HostWindow = view->HostWindow;
    share.MessageId = view->MessageId;
    share.CallLauncherMenu = view->CallLauncherMenu;
    share.CallClipboardMenu = view->CallClipboardMenu;
    share.ImeOpen = view->ImeOpen;
    share.ImeClose = view->ImeClose;
    return share;
}

// GetFocus answers for the calling thread, which is the thread receiving the key: the hook runs
// in it, so the window found is the one the user types into.
void SwitchInputMethod(bool open) {
    HWND focus = GetFocus();
    if (focus == nullptr) return;
    if (HIMC context = ImmGetContext(focus)) {
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(focus, context);
    } else if (HWND imeWindow = ImmGetDefaultIMEWnd(focus)) {
        SendMessageA(imeWindow, WM_IME_CONTROL, ImeControlSetOpenStatus, open ? 1 : 0);
    }
}

bool PostNotification(const TShareData& share, WPARAM which) {
    if (share.MessageId == 0) return true;
    return PostMessageA(static_cast<HWND>(ULongToHandle(share.HostWindow)), share.MessageId, which,
                        0) != FALSE;
}

void HandleKey(const volatile TShareData* view, WPARAM wParam, LPARAM lParam) {
    const TShareData share = ReadShare(view);
    const TKeyEvent key =
        MakeKeyEvent(static_cast<unsigned>(wParam), static_cast<uint32_t>(lParam & 0xFFFFFFFF));
    const THookAction action = DecideHookAction(key, share, TThreadKeyState());
    switch (action) {
    case THookAction::PostLauncher:
    case THookAction::PostClipboard: {
        const WPARAM which = action == THookAction::PostLauncher ? 0 : 1;
        if (PostNotification(share, which)) break;
        // The window is gone: the view may belong to an area of an earlier run of the program.
        // Look for the current area once.
        const volatile TShareData* fresh = MapSharedArea();
        if (fresh == nullptr) break;
        if (fresh->HostWindow == share.HostWindow) {
            // The same area: the program's window itself is gone.
            UnmapViewOfFile(const_cast<TShareData*>(fresh));
            break;
        }
        PostNotification(ReadShare(PublishView(view, fresh)), which);
        break;
    }
    case THookAction::OpenIme:
    case THookAction::CloseIme:
        SwitchInputMethod(action == THookAction::OpenIme);
        break;
    case THookAction::None:
        break;
    }
}

} // namespace

extern "C" {

// Exported as _GetID: the notification's message number.
UINT WINAPI MirtoGetID() {
    return RegisterWindowMessageA(NotificationName);
}

// Exported as _HookProc: the WH_KEYBOARD procedure.
LRESULT CALLBACK MirtoHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const volatile TShareData* view = SharedView.load(std::memory_order_acquire);
    // Only a key actually taken from the queue counts; a peeked one comes again.
    if (code == HC_ACTION && MattersToHook(static_cast<unsigned>(wParam))) {
        // The application's last error is its own business.
        const DWORD lastError = GetLastError();
        if (view == nullptr) {
            if (const volatile TShareData* fresh = MapSharedArea())
                view = PublishView(nullptr, fresh);
        }
        if (view != nullptr) HandleKey(view, wParam, lParam);
        SetLastError(lastError);
    }
    HHOOK next = view != nullptr ? static_cast<HHOOK>(ULongToHandle(view->HookHandle)) : nullptr;
    return CallNextHookEx(next, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        if (const volatile TShareData* view = SharedView.exchange(nullptr))
            UnmapViewOfFile(const_cast<TShareData*>(view));
    }
    return TRUE;
}

} // extern "C"
