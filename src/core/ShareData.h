#pragma once
// The record that the program publishes for the keyboard hook library in the named shared area.
// Both sides see the same 32 bytes: the program writes the record whole while a hook procedure in
// another process may be reading it, so every field is an aligned whole value that the hook
// loads on its own.
#include <cstddef>
#include <cstdint>

struct TShareData {
    // The hook handle for CallNextHookEx; 0 until the first installation.
    uint32_t HookHandle;
    // The window that receives the notifications.
    uint32_t HostWindow;
    uint32_t ProcessId;
    uint32_t ThreadId;
    // The notification's window-message number; 0 until the first installation.
    uint32_t MessageId;
    // Call-key pairs: 0 Shift+Control, 1 Control+Alt, 2 Shift+Alt, -1 none.
    int32_t CallLauncherMenu;
    int32_t CallClipboardMenu;
    // 1 = the Katakana/Hiragana key turns the input method on; the No-convert key turns it off.
    uint8_t ImeOpen;
    uint8_t ImeClose;
    // Never written by the program.
    uint8_t Reserved[2];
};

// The size of the shared area, and of the part of it that the record's fields occupy.
constexpr std::size_t ShareAreaSize = 32;
constexpr std::size_t ShareRecordSize = 30;

// The system-wide name of the shared area: a running copy and the hook library find it by it.
inline constexpr char MappingName[] = "It's a TEMMI text Launcher DLL!";

static_assert(sizeof(MappingName) == 31 + 1);
static_assert(sizeof(TShareData) == ShareAreaSize);
static_assert(offsetof(TShareData, HookHandle) == 0);
static_assert(offsetof(TShareData, HostWindow) == 4);
static_assert(offsetof(TShareData, ProcessId) == 8);
static_assert(offsetof(TShareData, ThreadId) == 12);
static_assert(offsetof(TShareData, MessageId) == 16);
static_assert(offsetof(TShareData, CallLauncherMenu) == 20);
static_assert(offsetof(TShareData, CallClipboardMenu) == 24);
static_assert(offsetof(TShareData, ImeOpen) == 28);
static_assert(offsetof(TShareData, ImeClose) == 29);
static_assert(offsetof(TShareData, Reserved) == ShareRecordSize);
static_assert(alignof(TShareData) == 4);
