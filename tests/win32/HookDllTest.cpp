#include <gtest/gtest.h>

#include "TestFolder.h"

#include <windows.h>

#include <imm.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/Mapping.h"

namespace {

using TGetId = UINT(WINAPI*)();

class TLibrary {
public:
    explicit TLibrary(const std::string& name) {
        FModule = LoadLibraryA((BuiltProgramsFolder() + "\\" + name).c_str());
    }
    ~TLibrary() {
        if (FModule != nullptr) FreeLibrary(FModule);
    }
    HMODULE Module() const { return FModule; }
    template <class T = void (*)()> T Find(const char* name) const {
        return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(FModule, name)));
    }

private:
    HMODULE FModule;
};

// Pumps the thread's messages until the predicate holds or a generous time has passed.
template <class Predicate> bool PumpUntil(Predicate done) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// The program's part, played by the test: a hidden window that receives the notifications, the
// shared area, and a focused window that the keys go to. The hook runs in this thread while it
// takes the key messages from its queue. The focused window is shared by the tests, as closing a
// window that has the focus is slow under Wine.
class HookDll : public testing::Test {
protected:
    static inline HWND Focus = nullptr;

    TLibrary Library{"Mirto.dll"};
    TMappingArea Area;
    HWND Host = nullptr;
    HHOOK Hook = nullptr;
    UINT MessageId = 0;

    std::vector<WPARAM> Notifications;
    int KeyMessages = 0;

    static void SetUpTestSuite() {
        Focus = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(Focus); }

    static HWND CreateHost() {
        return CreateWindowExA(0, "STATIC", "hook host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    void SetUp() override {
        ASSERT_NE(Library.Module(), nullptr)
            << "cannot load " << BuiltProgramsFolder() << "\\Mirto.dll";
        MessageId = Library.Find<TGetId>("_GetID")();
        Host = CreateHost();
        ASSERT_NE(Host, nullptr);
        ASSERT_NE(Focus, nullptr);
        ASSERT_TRUE(Area.CreateMappingArea(Host)) << "another program holds the shared area";
        SetForegroundWindow(Focus);
        SetFocus(Focus);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Focus; }))
            << "the test window did not come to the front";
    }

    void TearDown() override {
        if (Hook != nullptr) UnhookWindowsHookEx(Hook);
        // A test that stopped half-way must not leave a modifier held for the next one.
        for (WORD key : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
            if ((GetAsyncKeyState(key) & 0x8000) == 0) continue;
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(1, &input, sizeof input);
        }
        TakeMessages();
        if (Host != nullptr) DestroyWindow(Host);
    }

    // Installs the hook and publishes the record as the program does.
    void Install(int32_t launcher, int32_t clipboard, uint8_t imeOpen = 0, uint8_t imeClose = 0) {
        auto proc = Library.Find<HOOKPROC>("_HookProc");
        ASSERT_NE(proc, nullptr);
        Hook = SetWindowsHookExA(WH_KEYBOARD, proc, Library.Module(), 0);
        ASSERT_NE(Hook, nullptr) << GetLastError();
        Publish(launcher, clipboard, imeOpen, imeClose);
    }

    void Publish(int32_t launcher, int32_t clipboard, uint8_t imeOpen = 0, uint8_t imeClose = 0) {
        TShareData share{};
        ASSERT_TRUE(Area.GetMappingData(share));
        share.HookHandle = HandleToULong(Hook);
        share.MessageId = MessageId;
        share.CallLauncherMenu = launcher;
        share.CallClipboardMenu = clipboard;
        share.ImeOpen = imeOpen;
        share.ImeClose = imeClose;
        ASSERT_TRUE(Area.SetMappingData(share));
    }

    // Presses (down = true) and releases keys, then takes messages until every key's message has
    // arrived. The hook posts while the thread takes a key message, and posted messages are taken
    // before the next key message, so by then every notification is in.
    void Type(const std::vector<std::pair<WORD, bool>>& strokes) {
        std::vector<INPUT> inputs;
        for (auto [key, down] : strokes) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
        const int expected = KeyMessages + static_cast<int>(inputs.size());
        ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
                  inputs.size());
        ASSERT_TRUE(PumpUntil([&] {
            TakeMessages();
            return KeyMessages >= expected;
        })) << "only "
            << KeyMessages << " of " << expected << " key messages arrived";
        TakeMessages();
    }

    // Takes what is queued now, counting key messages and notifications. Everything is dispatched,
    // so that painting and the like are done and do not come back.
    void TakeMessages() {
        MSG msg;
        for (int taken = 0; taken < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++taken) {
            if (msg.message == MessageId && msg.hwnd == Host) Notifications.push_back(msg.wParam);
            if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP ||
                msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP)
                ++KeyMessages;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    bool ImeOpenInFocus() {
        HIMC context = ImmGetContext(Focus);
        const bool open = context != nullptr && ImmGetOpenStatus(context);
        if (context != nullptr) ImmReleaseContext(Focus, context);
        return open;
    }
};

constexpr WORD Shift = VK_SHIFT, Control = VK_CONTROL, Alt = VK_MENU;
// The Katakana/Hiragana key of the Japanese keyboard while an input method is active (ime.h).
constexpr WORD DbeHiragana = 0xF2;
constexpr bool Down = true, Up = false;

} // namespace

TEST(HookLibrary, ExportsTheContractAndAStableRegisteredMessage) {
    TLibrary library("Mirto.dll");
    ASSERT_NE(library.Module(), nullptr)
        << "cannot load " << BuiltProgramsFolder() << "\\Mirto.dll";
    auto getId = library.Find<TGetId>("_GetID");
    ASSERT_NE(getId, nullptr);
    EXPECT_NE(library.Find("_HookProc"), nullptr);
    const UINT id = getId();
    EXPECT_GE(id, 0xC000u);
    EXPECT_LE(id, 0xFFFFu);
    EXPECT_EQ(getId(), id);
}

TEST(HookLibrary, TestLibraryWithoutGetIdHasOnlyTheHookProcedure) {
    TLibrary library("testing\\BadHook.dll");
    ASSERT_NE(library.Module(), nullptr);
    EXPECT_EQ(library.Find("_GetID"), nullptr);
    EXPECT_NE(library.Find("_HookProc"), nullptr);
}

TEST_F(HookDll, HoldingControlAndAltNotifiesTheLauncherOnce) {
    Install(1, 2);
    // Alt pressed again while down is the keyboard's auto-repeat.
    Type({{Control, Down}, {Alt, Down}, {Alt, Down}, {Alt, Down}, {Alt, Up}, {Control, Up}});
    EXPECT_EQ(Notifications, std::vector<WPARAM>({0}));

    Notifications.clear();
    Type({{Alt, Down}, {Control, Down}, {Control, Up}, {Control, Down}, {Control, Up}, {Alt, Up}});
    EXPECT_EQ(Notifications, std::vector<WPARAM>({0, 0}));
}

TEST_F(HookDll, ShiftAndAltNotifiesTheClipboardAndUnsetPairsStayQuiet) {
    Install(-1, 2);
    Type({{Shift, Down}, {Alt, Down}, {Alt, Up}, {Shift, Up}});
    Type({{Control, Down}, {Alt, Down}, {Alt, Up}, {Control, Up}});
    Type({{'A', Down}, {'A', Up}});
    EXPECT_EQ(Notifications, std::vector<WPARAM>({1}));
}

TEST_F(HookDll, FollowsChangedCallKeysAtOnce) {
    Install(1, -1);
    Type({{Shift, Down}, {Alt, Down}, {Alt, Up}, {Shift, Up}});
    Publish(1, 2);
    Type({{Shift, Down}, {Alt, Down}, {Alt, Up}, {Shift, Up}});
    EXPECT_EQ(Notifications, std::vector<WPARAM>({1}));
}

// An application may keep the library loaded while the program ends and starts again: the hook
// must then find the new area instead of notifying the window of the earlier run.
TEST_F(HookDll, FindsTheAreaOfANewRunOfTheProgram) {
    Install(1, -1);
    Type({{Control, Down}, {Alt, Down}, {Alt, Up}, {Control, Up}});
    ASSERT_EQ(Notifications, std::vector<WPARAM>({0}));

    ASSERT_TRUE(Area.CloseMappingArea());
    DestroyWindow(Host);
    Host = CreateHost();
    ASSERT_TRUE(Area.CreateMappingArea(Host)) << "the earlier area is still there";
    Publish(1, -1);
    Notifications.clear();
    Type({{Control, Down}, {Alt, Down}, {Alt, Up}, {Control, Up}});
    EXPECT_EQ(Notifications, std::vector<WPARAM>({0}));
}

TEST_F(HookDll, InputMethodKeysSwitchTheFocusedWindowsInputMethod) {
    Install(1, 2, 1, 1);
    HIMC context = ImmGetContext(Focus);
    if (context == nullptr) GTEST_SKIP() << "no input context for the test window";
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(Focus, context);

    Type({{DbeHiragana, Down}, {DbeHiragana, Up}});
    EXPECT_TRUE(ImeOpenInFocus());
    Type({{VK_NONCONVERT, Down}, {VK_NONCONVERT, Up}});
    EXPECT_FALSE(ImeOpenInFocus());
    Type({{VK_KANA, Down}, {VK_KANA, Up}});
    EXPECT_TRUE(ImeOpenInFocus());
    EXPECT_TRUE(Notifications.empty());
}

TEST_F(HookDll, InputMethodKeysDoNothingWhenNotAsked) {
    Install(1, 2, 0, 0);
    HIMC context = ImmGetContext(Focus);
    if (context == nullptr) GTEST_SKIP() << "no input context for the test window";
    ImmSetOpenStatus(context, TRUE);
    ImmReleaseContext(Focus, context);
    Type({{VK_NONCONVERT, Down}, {VK_NONCONVERT, Up}});
    EXPECT_TRUE(ImeOpenInFocus());
}
