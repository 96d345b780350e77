// The menu as an accessibility client finds it: a list named after the menu and its page, 26
// lettered list items of the page shown, the chosen one selected and focused, and the changes a
// screen reader speaks (the popup, a new choice, a new page) heard as system events.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "E2eFixture.h"
#include "frame/AccessibleValues.h"

namespace {

struct THeardEvent {
    DWORD Event;
    HWND Window;
    LONG Object;
    LONG Child;
};
std::vector<THeardEvent> Heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    Heard.push_back({event, window, object, child});
}

std::wstring Text(BSTR text) {
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    return result;
}

VARIANT Child(long id) {
    VARIANT child;
    SetLongVariant(&child, id);
    return child;
}

class MenuAccessibility : public MirtoTest {
protected:
    void SetUp() override {
        MirtoTest::SetUp();
        ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        Heard.clear();
    }
    void TearDown() override {
        for (HWINEVENTHOOK hook : Hooks)
            UnhookWinEvent(hook);
        if (Accessible) Accessible->Release();
        MirtoTest::TearDown();
        CoUninitialize();
    }

    // Listens to the program's menu and object events from now on.
    void Listen() {
        const DWORD process = Mirto->ProcessId();
        for (auto range : {std::pair{EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPEND},
                           std::pair{EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE}}) {
            HWINEVENTHOOK hook = SetWinEventHook(range.first, range.second, nullptr, &Hear, process,
                                                 0, WINEVENT_OUTOFCONTEXT);
            ASSERT_NE(hook, nullptr);
            Hooks.push_back(hook);
        }
    }

    HWND List() const { return FindWindowExA(Form(), nullptr, "TListImage", nullptr); }

    // Whether the list told of the event on the child since the mark (an index into Heard).
    bool Told(DWORD event, LONG child, std::size_t since = 0) const {
        for (std::size_t i = since; i < Heard.size(); ++i)
            if (Heard[i].Event == event && Heard[i].Window == List() &&
                Heard[i].Object == OBJID_CLIENT && Heard[i].Child == child)
                return true;
        return false;
    }
    bool WaitTold(DWORD event, LONG child, std::size_t since = 0) const {
        return WaitFor([&] { return Told(event, child, since); }, 10000);
    }

    // The menu window's accessible object, as a screen reader gets it.
    IAccessible* Read() {
        if (Accessible) Accessible->Release();
        Accessible = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(Form(), OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&Accessible)),
                  S_OK);
        return Accessible;
    }
    std::wstring Name(long id) {
        BSTR name = nullptr;
        return SUCCEEDED(Accessible->get_accName(Child(id), &name)) ? Text(name) : L"(failed)";
    }
    long Role(long id) {
        VARIANT role;
        VariantInit(&role);
        return SUCCEEDED(Accessible->get_accRole(Child(id), &role)) && role.vt == VT_I4 ? role.lVal
                                                                                        : -1;
    }
    long State(long id) {
        VARIANT state;
        VariantInit(&state);
        return SUCCEEDED(Accessible->get_accState(Child(id), &state)) && state.vt == VT_I4
                   ? state.lVal
                   : -1;
    }
    long Focus() {
        VARIANT focus;
        VariantInit(&focus);
        return Accessible->get_accFocus(&focus) == S_OK && focus.vt == VT_I4 ? focus.lVal : -1;
    }
    RECT Location(long id) {
        long x = 0, y = 0, w = 0, h = 0;
        EXPECT_EQ(Accessible->accLocation(&x, &y, &w, &h, Child(id)), S_OK) << id;
        return RECT{x, y, x + w, y + h};
    }

    // Listens, and holds the call pair, pressed in beforePress's window, until the menu's list
    // has the keyboard.
    void HoldMenu(WORD first, WORD second, const std::function<void()>& beforePress) {
        ASSERT_NO_FATAL_FAILURE(Listen());
        ASSERT_TRUE(HoldUntilMenu(Form(), first, second, beforePress))
            << "the menu did not take the keyboard";
        ASSERT_TRUE(WaitFor([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(GetWindowThreadProcessId(Form(), nullptr), &info) &&
                   info.hwndFocus == List();
        })) << "the list did not get the keyboard";
    }

    static void Tap(WORD key) {
        KeyDown(key);
        KeyUp(key);
    }

    IAccessible* Accessible = nullptr;
    std::vector<HWINEVENTHOOK> Hooks;
};

constexpr long Chosen = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;

} // namespace

TEST_F(MenuAccessibility, TheLaunchMenuIsAListOfItsLetteredLinesAndTellsEveryChange) {
    // Two pages in use; the keys are released with no line chosen, so nothing starts.
    StartWithSettings(IniText({"[Page.1-A]", "Name=メモ帳", "Path=C:\\Mirto\\a.exe", "[Page.1-C]",
                               "Name=ワード\\nパッド", "[Page.1-N]", "Name=ブラウザ", "[Page.2-A]",
                               "Name=二ページ目", "Path=C:\\Mirto\\b.exe"}));
    ASSERT_NO_FATAL_FAILURE(HoldMenu(VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); }));
    EXPECT_TRUE(WaitTold(EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF)) << "no popup start";

    ASSERT_NE(Read(), nullptr);
    EXPECT_EQ(Role(CHILDID_SELF), ROLE_SYSTEM_LIST);
    EXPECT_EQ(Name(CHILDID_SELF), L"ランチャ 1/2");
    long count = 0;
    EXPECT_EQ(Accessible->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 26);
    for (long id = 1; id <= 26; ++id)
        EXPECT_EQ(Role(id), ROLE_SYSTEM_LISTITEM) << id;
    EXPECT_EQ(Name(1), L"A. メモ帳");
    EXPECT_EQ(Name(2), L"B.");
    EXPECT_EQ(Name(3), L"C. ワード パッド");
    EXPECT_EQ(Name(14), L"N. ブラウザ");
    EXPECT_EQ(Name(26), L"Z.");
    EXPECT_EQ(State(1) & (STATE_SYSTEM_UNAVAILABLE | Chosen), 0);
    EXPECT_NE(State(2) & STATE_SYSTEM_UNAVAILABLE, 0);

    // From here to the release the list keeps the keyboard: a move of the focus to a window
    // (told without a line) means it lost it for a moment, and a key typed then was lost.
    PumpMessages();
    const std::size_t held = Heard.size();
    // A letter: the line is chosen, and told as the focus and the selection.
    std::size_t mark = Heard.size();
    Tap('C');
    EXPECT_TRUE(WaitTold(EVENT_OBJECT_FOCUS, 3, mark)) << "no focus event for C";
    EXPECT_TRUE(WaitTold(EVENT_OBJECT_SELECTION, 3, mark)) << "no selection event for C";
    ASSERT_TRUE(MenuVisible()) << "the menu went with the letter";
    EXPECT_EQ(Focus(), 3);
    EXPECT_EQ(State(3) & Chosen, Chosen);
    EXPECT_EQ(State(1) & Chosen, 0);
    // Where the lines are on the screen: inside the menu window, the second column to the right
    // of the first, the next line below.
    const RECT window = WindowRect(Form());
    const RECT c = Location(3), d = Location(4), p = Location(16);
    EXPECT_TRUE(c.left >= window.left && c.right <= window.right && c.top >= window.top &&
                c.bottom <= window.bottom && c.right > c.left && c.bottom > c.top)
        << c.left << "," << c.top << " " << c.right << "," << c.bottom;
    EXPECT_EQ(d.left, c.left);
    EXPECT_GE(d.top, c.bottom);
    EXPECT_GE(p.left, c.right);
    EXPECT_EQ(p.top, c.top);
    // An arrow moves the choice and says so.
    mark = Heard.size();
    Tap(VK_DOWN);
    EXPECT_TRUE(WaitTold(EVENT_OBJECT_FOCUS, 14, mark)) << "no focus event for N";
    EXPECT_EQ(Focus(), 14);

    // A new page: the list's name changes and its lines are new.
    mark = Heard.size();
    Tap(VK_OEM_PERIOD);
    EXPECT_TRUE(WaitTold(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF, mark)) << "no name change";
    EXPECT_TRUE(WaitTold(EVENT_OBJECT_REORDER, CHILDID_SELF, mark)) << "no reorder";
    EXPECT_EQ(Name(CHILDID_SELF), L"ランチャ 2/2");
    EXPECT_EQ(Name(1), L"A. 二ページ目");
    EXPECT_EQ(Name(3), L"C.");
    EXPECT_EQ(Focus(), CHILDID_SELF);
    EXPECT_TRUE(RoundTrip(Form()));
    PumpMessages();
    for (std::size_t i = held; i < Heard.size(); ++i)
        EXPECT_FALSE(Heard[i].Event == EVENT_OBJECT_FOCUS && Heard[i].Child == CHILDID_SELF)
            << "the list lost the keyboard for a moment while the pair was held";

    mark = Heard.size();
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    EXPECT_TRUE(WaitMenuHidden());
    EXPECT_TRUE(WaitTold(EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF, mark)) << "no popup end";
}

TEST_F(MenuAccessibility, TheClipboardMenuNamesItsTextsCutToASpokenLength) {
    // A settings file, so that the first start's settings dialog stays closed.
    StartWithSettings(IniText({"[Clipboard]", "SaveHistory=0"}));
    TTarget target("Target64.exe");
    ASSERT_NE(target.Handle(), nullptr);
    TClipboardListener clipboard;
    ASSERT_TRUE(clipboard.CopyAndWaitRead(L"一つ目\r\n二行目"));
    ASSERT_TRUE(clipboard.CopyAndWaitRead(std::wstring(120, L'あ')));
    ASSERT_NO_FATAL_FAILURE(HoldMenu(VK_SHIFT, VK_MENU, [&] { EXPECT_TRUE(target.Focus()); }));
    EXPECT_TRUE(WaitTold(EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF)) << "no popup start";

    ASSERT_NE(Read(), nullptr);
    EXPECT_EQ(Name(CHILDID_SELF).rfind(L"クリップボード 1/", 0), 0u) << Name(CHILDID_SELF);
    EXPECT_EQ(Name(1), L"A. " + std::wstring(80, L'あ') + L"…");
    EXPECT_EQ(Name(2), L"B. 一つ目 二行目");
    EXPECT_NE(State(3) & STATE_SYSTEM_UNAVAILABLE, 0);

    const std::size_t mark = Heard.size();
    Tap('B');
    EXPECT_TRUE(WaitTold(EVENT_OBJECT_FOCUS, 2, mark)) << "no focus event for B";
    EXPECT_EQ(Focus(), 2);
    EXPECT_EQ(State(2) & Chosen, Chosen);
    // The select-cancel key (Space) takes the choice back, so that nothing is pasted.
    Tap(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return Focus() == CHILDID_SELF; })) << "the choice stayed";
    KeyUp(VK_MENU);
    KeyUp(VK_SHIFT);
    EXPECT_TRUE(WaitMenuHidden());
    EXPECT_TRUE(WaitTold(EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF)) << "no popup end";
}
