#include <gtest/gtest.h>

#include <string>

#include "menu/SkinDefinition.h"
#include "skinlib/StandardSkin.h"

namespace {

// The standard background built from the settings lines, read back as the menu reads a skin.
TSkinDefinition Build(std::initializer_list<std::string> settingsLines, TSkinInfo& info) {
    TIniStringList settings;
    settings.SetItems(TStringList(settingsLines));
    TStringList lines;
    lines.SetText(BuildStandardSkin(settings));
    TIniStringList definition;
    definition.SetItems(lines);
    return ReadSkinDefinition(definition, info);
}

} // namespace

TEST(StandardSkin, DefaultsGiveTwoPanelsAnEmblemAndTheMarks) {
    TSkinInfo info;
    const TSkinDefinition skin = Build({}, info);
    ASSERT_TRUE(skin.Ok) << skin.Error;
    EXPECT_TRUE(skin.Warnings.empty());
    // 36 (top panel) + 12 + 13 lines of 16 + 4 + 12 + 28 (bottom panel).
    EXPECT_EQ(skin.Width, 560);
    EXPECT_EQ(skin.Height, 348);
    EXPECT_EQ(skin.MenuLeft, 24);
    EXPECT_EQ(skin.MenuTop, 48);
    EXPECT_EQ(skin.MenuWidth, 512);
    EXPECT_EQ(skin.MenuHeight, 260);
    EXPECT_EQ(skin.LineSpace, 4);
    EXPECT_EQ(skin.Color, 0x800000u);       // clNavy
    EXPECT_EQ(skin.NormalColor, 0xFFFFFFu); // clWhite
    EXPECT_EQ(skin.SelectColor, 0x00FFFFu); // clYellow
    EXPECT_FALSE(skin.Relation);
    ASSERT_EQ(skin.Parts.size(), 3u); // two panels and the emblem on the top one
    EXPECT_EQ(skin.Parts[skin.Options[0]].Height, 36);
    EXPECT_EQ(skin.Parts[skin.Options[1]].Height, 28);
    EXPECT_EQ(skin.Parts[skin.Options[0]].Children.size(), 1u);
    const char* marks[] = {"Protect", "Page1", "Page2", "Page3"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(skin.Marks[i].Bitmap, marks[i]);
    EXPECT_TRUE(info.EnableIcon.empty());
}

TEST(StandardSkin, SettingsChooseTheLookAndAbsurdValuesAreClamped) {
    TSkinInfo info;
    const TSkinDefinition skin = Build(
        {"[Window]", "Width=5000", "LineSpace=100", "TopPanel=0", "BottomPanel=0", "HideGirl=1",
         "ChangeIcon=1", "EnableIcon=on.ico", "DisableIcon=C:\\off.ico", "[Color]",
         "Background=$00112233", "Text=no colour", "Selected=clRed", "Shadow=clBlack"},
        info);
    ASSERT_TRUE(skin.Ok) << skin.Error;
    // No panels: 12 + 13 lines of 16 + 32 + 12.
    EXPECT_EQ(skin.Width, 1600);
    EXPECT_EQ(skin.Height, 648);
    EXPECT_EQ(skin.MenuTop, 12);
    EXPECT_EQ(skin.LineSpace, 32);
    EXPECT_TRUE(skin.Parts.empty());
    EXPECT_EQ(skin.Color, 0x112233u);
    EXPECT_EQ(skin.NormalColor, 0xFFFFFFu); // an invalid colour keeps the default
    EXPECT_EQ(skin.SelectColor, 0x0000FFu);
    EXPECT_TRUE(skin.Relation);
    EXPECT_EQ(skin.RelationColor, 0u);
    EXPECT_EQ(info.EnableIcon, "on.ico");
    EXPECT_EQ(info.DisableIcon, "C:\\off.ico");
}
