// The program on a display scaled to 150 % (144 dots per inch): the test command runs this suite
// a second time in a Wine prefix of that scale; on a display of another scale it is skipped.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "E2eFixture.h"
#include "LaunchHarness.h"

namespace {

constexpr int Scaled = 144;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The visible windows whose parent is the window.
std::vector<HWND> VisibleChildren(HWND parent) {
    struct TFind {
        HWND Parent;
        std::vector<HWND> Found;
    } find{parent, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<TFind*>(data);
            if (GetParent(child) == f->Parent && IsWindowVisible(child)) f->Found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(HWND window) {
    const RECT r = WindowRect(window);
    char text[128] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return "control " + std::to_string(GetDlgCtrlID(window)) + " \"" + text + "\" at (" +
           std::to_string(r.left) + ", " + std::to_string(r.top) + ") - (" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

class AtScale : public MirtoTest {
protected:
    AtScale() : MirtoTest("Mirto.dll", "Skin.dll") {}

    void SetUp() override {
        if (ScreenDpi() != Scaled)
            GTEST_SKIP() << "the display is at " << ScreenDpi() << " dots per inch, not " << Scaled;
        MirtoTest::SetUp();
        ASSERT_TRUE(Folder.CopySkins(MIRTO_SAMPLE_SKINS));
    }
};

} // namespace

TEST_F(AtScale, TheMenuIsItsSkinOneAndAHalfTimesAsLargeWithItsTextAndShapeAtThatScale) {
    StartWithSettings(IniText({"[Setting]", "Skin=Skin\\Maru.ini", "[Window]", "Position=0",
                               "[Font]", "Name=ＭＳ Ｐゴシック", "Size=9", "Bold=0", "Italic=0",
                               "[Page.1-A]", "Name=Mg", "Path=C:\\windows\\notepad.exe"}));
    ASSERT_TRUE(HoldUntilMenu(Form(), VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); }));

    // Maru is designed at 520 x 340.
    const RECT rect = WindowRect(Form());
    EXPECT_EQ(rect.right - rect.left, 780);
    EXPECT_EQ(rect.bottom - rect.top, 510);
    // Its shape, scaled: the round corners still cut away, the bounds those of the window.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(Form(), region), COMPLEXREGION) << "the window has no shape";
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 780);
    EXPECT_EQ(box.bottom, 510);
    EXPECT_FALSE(PtInRegion(region, 2, 2));
    EXPECT_FALSE(PtInRegion(region, 777, 507));
    EXPECT_TRUE(PtInRegion(region, 390, 255));
    EXPECT_TRUE(PtInRegion(region, 390, 3));
    DeleteObject(region);

    // Line A ("A." and its name) in the skin's text colour, as high as the font at this scale
    // draws it: half again its height at 96 dots per inch.
    const int expected = InkHeight("A. Mg", Scaled);
    EXPECT_GE(expected * 2, InkHeight("A. Mg", 96) * 3 - 2) << "the test's own font did not scale";
    TScreenShot shot;
    int drawn = 0;
    WaitFor([&] {
        return shot.Take(Form()) &&
               (drawn = FirstInkRun(shot, RECT{60, 70, 390, 440}, RGB(251, 246, 238),
                                    RGB(0x4A, 0x3A, 0x2E))) >= expected - 1;
    });
    EXPECT_NEAR(drawn, expected, 1) << "line A's text is " << drawn << " rows high";
    shot.Save(ShotFolder() + "scaled-menu.bmp");
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    EXPECT_TRUE(WaitMenuHidden());
}

TEST_F(AtScale, TheSettingsDialogIsHalfAgainAsLargeWithEveryControlWholeAndStoresItsSizeAt96) {
    StartWithSettings(IniText({"[Page.1-A]", "Name=one", "Path=C:\\windows\\notepad.exe"}));
    constexpr WPARAM KeyConfigCommand = 101;
    constexpr int PageControl = 2001, LauncherTab = 0, FontTab = 4, TabCount = 8;
    PostMessageA(Form(), WM_COMMAND, KeyConfigCommand, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = Mirto->VisibleDialog("詳細設定")) != nullptr; }))
        << "the settings dialog did not open";

    // Its smallest size at 96 dots per inch, 460 x 452, half again.
    const RECT bounds = WindowRect(dialog);
    EXPECT_GE(bounds.right - bounds.left, 690);
    EXPECT_GE(bounds.bottom - bounds.top, 678);
    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (HWND control : VisibleChildren(dialog))
        EXPECT_TRUE(Inside(WindowRect(control), client)) << "cut off: " << Describe(control);

    HWND tabs = GetDlgItem(dialog, PageControl);
    for (int tab = 0; tab < TabCount; ++tab) {
        SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
        // The page is the one visible dialog among the frame's children.
        HWND page = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            page = nullptr;
            for (HWND child : VisibleChildren(dialog)) {
                char name[16] = {};
                GetClassNameA(child, name, sizeof name);
                if (lstrcmpA(name, "#32770") == 0) page = page ? nullptr : child;
            }
            return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab && page != nullptr;
        })) << "tab "
            << tab << " shows no single page";
        ASSERT_TRUE(RoundTrip(dialog));
        const RECT pageRect = WindowRect(page);
        EXPECT_TRUE(Inside(pageRect, client)) << "tab " << tab << ": the page is cut off";
        for (HWND control : VisibleChildren(page))
            EXPECT_TRUE(Inside(WindowRect(control), pageRect))
                << "tab " << tab << ": cut off: " << Describe(control) << " on a page at ("
                << pageRect.left << ", " << pageRect.top << ") - (" << pageRect.right << ", "
                << pageRect.bottom << ")";
        if (tab == LauncherTab || tab == FontTab) {
            RedrawWindow(dialog, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Sleep(300);
            TScreenShot shot;
            if (shot.Take(dialog))
                shot.Save(ShotFolder() + (tab == FontTab ? "scaled-settings-font.bmp"
                                                         : "scaled-settings-launcher.bmp"));
            // The screen shows the page, not the menu kept behind the dialog: the plain look's
            // navy, which the launcher page never shows.
            if (tab == LauncherTab) {
                RECT inShot = pageRect;
                const RECT now = WindowRect(dialog);
                OffsetRect(&inShot, -now.left, -now.top);
                EXPECT_EQ(shot.Count(inShot, [](COLORREF p) { return p == RGB(0, 0, 128); }), 0)
                    << "the menu shows in front of the dialog";
            }
        }
    }

    // Cancelled at its opening size, it stores that size at 96 dots per inch.
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return Mirto->VisibleDialog("詳細設定") == nullptr; }));
    std::string text;
    ASSERT_TRUE(WaitFor([&] {
        text = ReadWholeFile(Folder.FilePath("Mirto.ini"));
        return text.find("WindowHeight=") != std::string::npos;
    })) << "the dialog size was not written";
    EXPECT_NE(text.find("WindowWidth=460\r\nWindowHeight=452\r\n"), std::string::npos) << text;
}
