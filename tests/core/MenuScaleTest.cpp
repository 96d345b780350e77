#include <gtest/gtest.h>

#include "menu/MenuScale.h"

TEST(MenuScale, LengthsAndPlacesFollowTheScaleAndTouchingRectanglesStillTouch) {
    struct TCase {
        int Value, Dpi, Scaled, Design;
    };
    // Design: the design length that covers the scaled one again (rounded up).
    const TCase cases[] = {
        {560, 96, 560, 560}, {560, 144, 840, 374}, {380, 120, 475, 304}, {7, 144, 10, 5},
        {1, 144, 1, 1},      {-3, 144, -5, -2},    {-1, 120, -2, 0},     {0, 192, 0, 0},
        {33, 192, 66, 17},   {100, 72, 75, 134},   {5, 0, 5, 5},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ScaleToDpi(c.Value, c.Dpi), c.Scaled) << c.Value << " at " << c.Dpi;
        EXPECT_EQ(DesignLengthAt(c.Value, c.Dpi), c.Design) << c.Value << " at " << c.Dpi;
    }

    // Two one-pixel runs of a region, one under the other, and one that shrinks to nothing.
    const std::vector<TScaleRect> runs{{3, 3, 9, 4}, {2, 4, 10, 5}, {0, 0, 1, 1}};
    EXPECT_EQ(ScaleRects(runs, 144),
              (std::vector<TScaleRect>{{4, 4, 13, 6}, {3, 6, 15, 7}, {0, 0, 1, 1}}));
    // At 75 %: the first run keeps a row, the second shrinks to none (3 to 3), the dot too.
    EXPECT_EQ(ScaleRects(runs, 72), (std::vector<TScaleRect>{{2, 2, 6, 3}}));
    EXPECT_EQ(ScaleRects(runs, 96), runs);
}

TEST(MenuScale, SkinGeometryScalesTheWindowTheMenuAreaByItsEdgesAndTheLineSpace) {
    TSkinDefinition skin;
    skin.Width = 560;
    skin.Height = 380;
    skin.MenuLeft = 31;
    skin.MenuTop = 45;
    skin.MenuWidth = 497;
    skin.MenuHeight = 291;
    skin.LineSpace = 3;
    skin.SelectColor = 0x123456;
    const TSkinDefinition at150 = ScaledSkinGeometry(skin, 144);
    EXPECT_EQ(at150.Width, 840);
    EXPECT_EQ(at150.Height, 570);
    EXPECT_EQ(at150.MenuLeft, 46);
    EXPECT_EQ(at150.MenuTop, 67);
    // Right edge 528 -> 792, bottom 336 -> 504.
    EXPECT_EQ(at150.MenuWidth, 746);
    EXPECT_EQ(at150.MenuHeight, 437);
    EXPECT_EQ(at150.LineSpace, 4);
    EXPECT_EQ(at150.SelectColor, 0x123456u);
    const TSkinDefinition same = ScaledSkinGeometry(skin, 96);
    EXPECT_EQ(same.MenuWidth, 497);
    EXPECT_EQ(same.Height, 380);
}

TEST(MenuScale, AStoredDialogSizeComesBackFromItsScaleUnchanged) {
    // The settings dialog opens at ScaleToDpi of the stored size and stores DesignLengthAt of the
    // size it closes at: at any scale from 100 % up, an unchanged dialog stores what it read.
    struct TCase {
        int Stored, Dpi, Shown;
    };
    const TCase cases[] = {{460, 144, 690}, {452, 144, 678}, {460, 120, 575}, {453, 120, 566},
                           {461, 168, 806}, {452, 101, 475}, {999, 192, 1998}};
    for (const TCase& c : cases) {
        EXPECT_EQ(ScaleToDpi(c.Stored, c.Dpi), c.Shown) << c.Stored << " at " << c.Dpi;
        EXPECT_EQ(DesignLengthAt(c.Shown, c.Dpi), c.Stored) << c.Shown << " at " << c.Dpi;
    }
}
