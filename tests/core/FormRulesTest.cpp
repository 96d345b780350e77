#include <gtest/gtest.h>

#include "core/FormRules.h"

TEST(MenuPosition, CentresOnTheMonitorAndUsesItsWorkAreaCorners) {
    const TRectI screen{0, 0, 1280, 1024}, work{0, 30, 1280, 994};
    // Centre ignores the work area and rounds the halves toward zero.
    EXPECT_EQ(MenuPosition(0, screen, work, 721, 481), (TPointI{279, 271}));
    EXPECT_EQ(MenuPosition(1, screen, work, 720, 480), (TPointI{0, 30}));
    EXPECT_EQ(MenuPosition(2, screen, work, 720, 480), (TPointI{0, 514}));
    EXPECT_EQ(MenuPosition(3, screen, work, 720, 480), (TPointI{560, 30}));
    EXPECT_EQ(MenuPosition(4, screen, work, 720, 480), (TPointI{560, 514}));
    EXPECT_EQ(MenuPosition(7, screen, work, 720, 480), (TPointI{0, 0}));
    // A menu larger than the screen goes to a negative corner rather than being clipped.
    EXPECT_EQ(MenuPosition(0, {0, 0, 640, 480}, work, 721, 481), (TPointI{-40, 0}));
    // A monitor left of the primary one, its taskbar on the left.
    const TRectI left{-1920, -200, 0, 880}, leftWork{-1860, -200, 0, 880};
    EXPECT_EQ(MenuPosition(0, left, leftWork, 720, 480), (TPointI{-1320, 100}));
    EXPECT_EQ(MenuPosition(1, left, leftWork, 720, 480), (TPointI{-1860, -200}));
    EXPECT_EQ(MenuPosition(4, left, leftWork, 720, 480), (TPointI{-720, 400}));
    EXPECT_EQ(MenuPosition(9, left, leftWork, 720, 480), (TPointI{-1920, -200}));
}

TEST(MenuMonitor, TakesTheMonitorHoldingMostOfTheWindowThenThePointerThenThePrimary) {
    // A laptop panel at 150 % in the middle, a tall monitor to its left, a small one to its right
    // whose top is lower.
    const std::vector<TMonitor> three{
        {{-1080, -400, 0, 1520}, {-1080, -400, 0, 1480}, 96, false},
        {{0, 0, 2880, 1800}, {0, 0, 2880, 1740}, 144, true},
        {{2880, 600, 4160, 1624}, {2880, 600, 4160, 1624}, 96, false}};
    struct TCase {
        const char* What;
        bool HasWindow;
        TRectI Window;
        TPointI Pointer;
        int Expected;
    };
    const TCase cases[] = {
        {"inside the left one", true, {-900, 0, -100, 600}, {3000, 700}, 0},
        {"spanning two, more on the right one", true, {2500, 700, 3700, 1300}, {10, 10}, 2},
        {"spanning two, more on the middle one", true, {2000, 700, 3000, 1300}, {3000, 700}, 1},
        {"spanning all three", true, {-100, 700, 3200, 900}, {-500, 0}, 1},
        {"minimised off every screen", true, {-32000, -32000, -31840, -31970}, {3000, 700}, 2},
        {"none: under the pointer", false, {}, {-1, 1519}, 0},
        {"none, pointer in the gap above the right one", false, {}, {3000, 100}, 1},
        {"none, pointer on the edge the middle and right ones share", false, {}, {2880, 700}, 2},
        {"none, pointer on the edge the left and middle ones share", false, {}, {0, 10}, 1},
        {"empty window rectangle", true, {100, 100, 100, 100}, {3000, 700}, 2},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MenuMonitor(three, c.HasWindow ? &c.Window : nullptr, c.Pointer), c.Expected)
            << c.What;
    // Two monitors, the primary listed second: equal shares go to the first listed; nothing
    // found goes to the primary one.
    const std::vector<TMonitor> two{{{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, 96, false},
                                    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true}};
    const TRectI middle{1820, 100, 2020, 300};
    EXPECT_EQ(MenuMonitor(two, &middle, {0, 0}), 0);
    EXPECT_EQ(MenuMonitor(two, nullptr, {5000, 5000}), 1);
    EXPECT_EQ(MenuMonitor({}, nullptr, {0, 0}), -1);
}

TEST(DialogPosition, CentresOnTheMenuAndStaysInsideTheWorkArea) {
    const TRectI work{0, 30, 1280, 994};
    // 720 x 480 menu at (280, 272): a 461 x 453 dialog centred, halves toward zero.
    EXPECT_EQ(DialogPosition({280, 272, 1000, 752}, 461, 453, work), (TPointI{409, 285}));
    // A menu in the top-left corner pushes the dialog to the work area's edges.
    EXPECT_EQ(DialogPosition({0, 0, 300, 200}, 460, 452, work), (TPointI{0, 30}));
    EXPECT_EQ(DialogPosition({1100, 900, 1280, 1000}, 460, 452, work), (TPointI{820, 542}));
    // Larger than the work area: aligned to its right and bottom edges.
    EXPECT_EQ(DialogPosition({280, 272, 1000, 752}, 1400, 1000, work), (TPointI{-120, -6}));
}

TEST(CallPairKeys, MapsPairsToModifierKeysAndUnknownPairsToNone) {
    EXPECT_EQ(CallPairKeys(0), (std::array<int, 2>{16, 17}));
    EXPECT_EQ(CallPairKeys(1), (std::array<int, 2>{17, 18}));
    EXPECT_EQ(CallPairKeys(2), (std::array<int, 2>{16, 18}));
    EXPECT_EQ(CallPairKeys(-1), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(CallPairKeys(3), (std::array<int, 2>{0, 0}));
}

TEST(SteppedRect, MovesWholeRectOrOnlyTheRightAndBottomEdges) {
    const TRectI r{100, 100, 400, 300};
    EXPECT_EQ(SteppedRect(r, 0, 32, false), (TRectI{68, 100, 368, 300}));
    EXPECT_EQ(SteppedRect(r, 3, 32, false), (TRectI{100, 132, 400, 332}));
    // Resizing left makes the window narrower with its left edge fixed.
    EXPECT_EQ(SteppedRect(r, 0, 32, true), (TRectI{100, 100, 368, 300}));
    EXPECT_EQ(SteppedRect(r, 1, 32, true), (TRectI{100, 100, 400, 268}));
    EXPECT_EQ(SteppedRect(r, 2, 32, true), (TRectI{100, 100, 432, 300}));
}

TEST(HideMenuOnClose, CountsMinusWWithAnyValueButZero) {
    using Args = std::vector<std::string>;
    for (const Args& given : {Args{"-w"}, Args{"-o;x.ini", "-wide"}, Args{"-w\"\""}})
        EXPECT_TRUE(HideMenuOnClose(given)) << given.back();
    for (const Args& absent : {Args{"-w0"}, Args{"-W", "/w"}, Args{}})
        EXPECT_FALSE(HideMenuOnClose(absent));
}
