#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "frame/Subclass.h"

// The program's own subclasses of controls: the order in which they see a message, what they
// pass on, and what a subclass removed or a message sent while another is on its way does.

namespace {

constexpr UINT Probe = WM_APP, RemoveFirst = WM_APP + 1, Nested = WM_APP + 2;

std::vector<std::string>* Log = nullptr;

// Logs "<id>:<data>:<message offset>"; the subclass with id 1 removes itself at RemoveFirst,
// the one with id 2 sends a Probe of its own at Nested before passing the message on.
LRESULT CALLBACK Logged(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                        DWORD_PTR data) {
    if (message == WM_SETTEXT) {
        Log->push_back(std::to_string(id) + ":text:" +
                       std::to_string(lstrlenW(reinterpret_cast<const wchar_t*>(lParam))));
    } else if (message >= WM_APP && message <= Nested) {
        Log->push_back(std::to_string(id) + ":" + std::to_string(data) + ":" +
                       std::to_string(message - WM_APP));
        if (message == RemoveFirst && id == 1) RemoveSubclass(window, Logged, 1);
        if (message == Nested && id == 2) SendMessageW(window, Probe, 0, 0);
    }
    return DefSubclass(window, message, wParam, lParam);
}

std::vector<std::string> Sent(HWND window, UINT message) {
    std::vector<std::string> log;
    Log = &log;
    SendMessageW(window, message, 0, 0);
    Log = nullptr;
    return log;
}

using TLines = std::vector<std::string>;

TEST(Subclass, TheLastAddedSeesFirstAndEachPassesOnToTheControl) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR own = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    ASSERT_TRUE(SetSubclass(edit, Logged, 1, 10));
    ASSERT_TRUE(SetSubclass(edit, Logged, 2, 20));
    EXPECT_EQ(Sent(edit, Probe), (TLines{"2:20:0", "1:10:0"}));

    // A text reaches the subclasses as the control's own (wide) text and the control keeps it.
    std::vector<std::string> log;
    Log = &log;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"テキスト"));
    Log = nullptr;
    EXPECT_EQ(log, (TLines{"2:text:4", "1:text:4"}));
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"テキスト");

    // Set again, a subclass keeps its place and takes its new data.
    ASSERT_TRUE(SetSubclass(edit, Logged, 1, 11));
    EXPECT_EQ(Sent(edit, Probe), (TLines{"2:20:0", "1:11:0"}));
    // A message sent while another is on its way runs the whole chain, and the first goes on.
    EXPECT_EQ(Sent(edit, Nested), (TLines{"2:20:2", "2:20:0", "1:11:0", "1:11:2"}));
    // Removed while it handles a message, a subclass sees no further one.
    EXPECT_EQ(Sent(edit, RemoveFirst), (TLines{"2:20:1", "1:11:1"}));
    EXPECT_EQ(Sent(edit, Probe), (TLines{"2:20:0"}));
    EXPECT_FALSE(RemoveSubclass(edit, Logged, 1));

    // Without subclasses the control has its own procedure back.
    ASSERT_TRUE(RemoveSubclass(edit, Logged, 2));
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
    EXPECT_TRUE(Sent(edit, Probe).empty());
    EXPECT_TRUE(SetSubclass(edit, Logged, 3, 30));
    EXPECT_EQ(Sent(edit, Probe), (TLines{"3:30:0"}));
    DestroyWindow(edit);
}

} // namespace
