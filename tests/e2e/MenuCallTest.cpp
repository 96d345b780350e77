// The launcher call key: Control + Alt pressed in another application shows the menu window at
// its configured place, and releasing the keys hides it (or, with "Hold", the hold time does).
#include <string>

#include "E2eFixture.h"

namespace {

// Where the menu's top-left corner belongs for a "Position" value.
POINT ExpectedCorner(int position, int width, int height) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    switch (position) {
    case 0:
        return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    case 1:
        return {work.left, work.top};
    case 2:
        return {work.left, work.bottom - height};
    case 3:
        return {work.right - width, work.top};
    case 4:
        return {work.right - width, work.bottom - height};
    default:
        return {0, 0};
    }
}

class MenuCall : public MirtoTest {
protected:
    // Holds Control + Alt down in the test's focused window until the menu is up and has
    // taken the foreground (from then on the keys' releases go to the menu).
    void HoldCallPair() {
        FocusKeyWindow();
        KeyDown(VK_CONTROL);
        KeyDown(VK_MENU);
        ASSERT_TRUE(WaitFor([&] { return MenuVisible(); })) << "the call key showed no menu";
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == Form(); }))
            << "the menu did not come to the front";
    }

    void ReleaseCallPair() {
        KeyUp(VK_MENU);
        KeyUp(VK_CONTROL);
    }
};

class MenuPosition : public MenuCall, public testing::WithParamInterface<int> {};

} // namespace

TEST_P(MenuPosition, CallPairShowsTheMenuInItsPlaceAndReleaseHidesIt) {
    const int position = GetParam();
    StartWithSettings(IniText({"[Window]", ("Position=" + std::to_string(position)).c_str()}));
    ASSERT_FALSE(MenuVisible());

    HoldCallPair();
    const RECT rect = WindowRect(Form());
    EXPECT_EQ(rect.right - rect.left, MenuWidth);
    EXPECT_EQ(rect.bottom - rect.top, MenuHeight);
    const POINT corner = ExpectedCorner(position, MenuWidth, MenuHeight);
    EXPECT_EQ(rect.left, corner.x);
    EXPECT_EQ(rect.top, corner.y);

    ReleaseCallPair();
    EXPECT_TRUE(WaitMenuHidden()) << "the menu stayed after the release";
}

// Centred on the whole screen, and two corners of the work area.
INSTANTIATE_TEST_SUITE_P(Positions, MenuPosition, testing::Values(0, 2, 3));

TEST_F(MenuCall, WithHoldTheMenuOutlivesTheReleaseUntilTheHoldTime) {
    StartWithSettings(IniText({"[Menu]", "Hold=1", "HoldTime=2"}));
    HoldCallPair();
    ReleaseCallPair();
    // Let the program's loop take several turns, so that it has handled the releases, which
    // without "Hold" hide the menu at once.
    for (int turn = 0; turn < 5; ++turn)
        ASSERT_TRUE(RoundTrip(Form()));
    EXPECT_TRUE(MenuVisible()) << "the menu hid at the release despite Hold";
    EXPECT_TRUE(WaitMenuHidden()) << "the hold time never ended the menu";
}

TEST_F(MenuCall, TransparentMakesTheMenuLayeredAtItsOpacityAndMinusOneLeavesItOpaque) {
    const struct {
        const char* Setting;
        int Alpha; // -1: not layered
    } levels[] = {{"Transparent=4", 159}, {"Transparent=-1", -1}};
    for (const auto& level : levels) {
        StartWithSettings(IniText({"[Window]", level.Setting}));
        HoldCallPair();
        BYTE alpha = 0;
        DWORD flags = 0;
        const bool layered = (GetWindowLongA(Form(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0 &&
                             GetLayeredWindowAttributes(Form(), nullptr, &alpha, &flags) &&
                             (flags & LWA_ALPHA);
        EXPECT_EQ(layered ? alpha : -1, level.Alpha) << level.Setting;
        ReleaseCallPair();
        EXPECT_TRUE(WaitMenuHidden());
        Mirto->Stop();
        ASSERT_TRUE(Mirto->WaitExit());
    }
}
