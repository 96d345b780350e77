#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <atomic>
#include <cctype>
#include <map>
#include <string>

#include "DialogDriver.h"
#include "dialogs/TabAppearanceIds.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SettingsDialogIds.h"

// The settings dialog as a whole: each page's access keys, the version page's lettering, and the
// input method it leaves closed.

namespace {

// The access key of a caption ("&&" is a plain "&"); 0 for none.
char AccessKey(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return static_cast<char>(std::toupper(caption[i + 1]));
        ++i;
    }
    return 0;
}

LOGFONTA FontOf(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

} // namespace

TEST(SettingsFrame, NoPageRepeatsAnAccessKeyButTheFontPagesItalicAndInputMethodCaptions) {
    TSettingsDialogData data;
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 4, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    int pages = 0;
    for (HWND page = GetWindow(frame, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(page, name, sizeof name);
        if (std::string(name) != "#32770") continue;
        ++pages;
        // The page's controls and the dialog's own buttons, reached from every page.
        std::map<char, int> uses;
        for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (const char key = AccessKey(WindowText(c))) ++uses[key];
        for (int id : {IDOK, IDCANCEL, IDC_BUTTON3, IDC_BUTTON4})
            if (const char key = AccessKey(ControlText(frame, id))) ++uses[key];
        const bool fontPage = GetDlgItem(page, IDC_LISTBOX1) != nullptr;
        for (const auto& [key, count] : uses) {
            if (fontPage && key == 'I') {
                EXPECT_EQ(count, 2) << "the font page's Alt+I";
                continue;
            }
            EXPECT_EQ(count, 1) << "Alt+" << key << " on the page of control "
                                << GetDlgCtrlID(GetWindow(page, GW_CHILD));
        }
    }
    EXPECT_EQ(pages, 8);
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), IDCANCEL);
}

TEST(SettingsFrame, TheVersionPageLettersItsNameAndVersionBoldAndUnderlinesTheAddress) {
    TSettingsDialogData data;
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 4, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int id : {IDC_LABEL36, IDC_LABEL38}) {
        const LOGFONTA font = FontOf(Descendant(frame, id));
        EXPECT_EQ(font.lfWeight, FW_BOLD) << id;
        EXPECT_EQ(font.lfHeight, -MulDiv(16, dpi, 96)) << id;
    }
    EXPECT_TRUE(FontOf(Descendant(frame, IDC_LABEL44)).lfUnderline);
    EXPECT_FALSE(FontOf(Descendant(frame, IDC_LABEL37)).lfUnderline);
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), IDCANCEL);
}

TEST(SettingsFrame, TheVersionPagesAddressIsATabStopThatEnterAndAClickOpen) {
    TSettingsDialogData data;
    std::atomic<int> opens{0};
    std::string opened;
    data.OpenAddress = [&](const char* address) {
        opened = address;
        ++opens;
    };
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 4, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND address = Descendant(frame, IDC_LABEL44), button = Descendant(frame, IDC_BUTTON15);
    // Shift+Tab from the button reaches the address.
    EXPECT_EQ(GetNextDlgTabItem(frame, button, TRUE), address);
    SendMessageA(frame, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(address), TRUE);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(WaitFor([&] {
        return GetGUIThreadInfo(run.ThreadId(), &info) && info.hwndFocus == address;
    })) << "the address cannot take the focus";
    PostMessageA(address, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(address, WM_KEYUP, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([&] { return opens == 1; })) << "Enter did not open the address";
    EXPECT_TRUE(IsWindowVisible(frame)) << "Enter pressed the dialog's default button";
    PostMessageA(address, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(address, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(WaitFor([&] { return opens == 2; })) << "a click did not open the address";
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), IDCANCEL);
    EXPECT_EQ(opened, "https://mirto.example/");
}

TEST(SettingsFrame, TheInputMethodTurnedOnInTheDialogIsClosedWithIt) {
    TSettingsDialogData data;
    TSettingsDialog dialog(data);
    // The input method's state belongs to the dialog's thread: it is turned on there (from a
    // hook on the messages its windows are sent) and read there once the dialog has closed.
    static std::atomic<bool> turnOn{false};
    static std::atomic<bool> turnedOn{false};
    std::atomic<int> openAfter{-1};
    TModalRun run([&] {
        HHOOK hook = SetWindowsHookExA(
            WH_CALLWNDPROC,
            [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
                const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
                if (code == HC_ACTION && sent->message == WM_NULL && turnOn.exchange(false)) {
                    HIMC context = ImmGetContext(sent->hwnd);
                    ImmSetOpenStatus(context, TRUE);
                    turnedOn = ImmGetOpenStatus(context) != FALSE;
                    ImmReleaseContext(sent->hwnd, context);
                }
                return CallNextHookEx(nullptr, code, wParam, lParam);
            },
            nullptr, GetCurrentThreadId());
        const int result = static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452));
        UnhookWindowsHookEx(hook);
        HWND probe = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        HIMC context = ImmGetContext(probe);
        openAfter = context ? (ImmGetOpenStatus(context) ? 1 : 0) : -2;
        ImmReleaseContext(probe, context);
        DestroyWindow(probe);
        return result;
    });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND name = Descendant(frame, IDC_MEMO3);
    turnOn = true;
    SendMessageA(name, WM_NULL, 0, 0);
    ASSERT_FALSE(turnOn) << "the dialog's thread did not take the request";
    ASSERT_TRUE(turnedOn) << "the input method could not be turned on";
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), IDCANCEL);
    EXPECT_EQ(openAfter, 0) << "the input method was left open (1) or had no context (-2)";
}
