// The program on a display scaled to 150 % (144 dots per inch): the test command runs this suite
// a second time in a Wine prefix of that scale; on a display of another scale it is skipped.
#include <windows.h>

#include <string>

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
    // The first taking of the keyboard after a start may read the pair as released.
    HoldUntilMenu(Form(), VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); });
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    ASSERT_TRUE(WaitMenuHidden());
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
