#include <gtest/gtest.h>

#include "core/FormRules.h"

TEST(MenuPosition, CentresOnTheFullScreenAndUsesWorkAreaCorners) {
    const TRectI work{0, 30, 1280, 994};
    // Centre ignores the work area and rounds the halves toward zero.
    EXPECT_EQ(MenuPosition(0, 1280, 1024, work, 721, 481), (TPointI{279, 271}));
    EXPECT_EQ(MenuPosition(1, 1280, 1024, work, 720, 480), (TPointI{0, 30}));
    EXPECT_EQ(MenuPosition(2, 1280, 1024, work, 720, 480), (TPointI{0, 514}));
    EXPECT_EQ(MenuPosition(3, 1280, 1024, work, 720, 480), (TPointI{560, 30}));
    EXPECT_EQ(MenuPosition(4, 1280, 1024, work, 720, 480), (TPointI{560, 514}));
    EXPECT_EQ(MenuPosition(7, 1280, 1024, work, 720, 480), (TPointI{0, 0}));
    // A menu larger than the screen goes to a negative corner rather than being clipped.
    EXPECT_EQ(MenuPosition(0, 640, 480, work, 721, 481), (TPointI{-40, 0}));
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
