#include <gtest/gtest.h>

#include <string>

#include "menu/SkinDefinition.h"
#include "skinlib/StandardSkin.h"

namespace {

// The standard background built from the settings lines, read back as the menu reads a skin.
TSkinDefinition Build(std::initializer_list<std::string> settingsLines, TSkinInfo& info,
                      bool highContrast = false) {
    TIniStringList settings;
    settings.SetItems(TStringList(settingsLines));
    TStringList lines;
    lines.SetText(BuildStandardSkin(settings, highContrast));
    TIniStringList definition;
    definition.SetItems(lines);
    return ReadSkinDefinition(definition, info);
}

TSkinDefinition Read(const TStringList& lines, TSkinInfo& info) {
    TIniStringList definition;
    definition.SetItems(lines);
    return ReadSkinDefinition(definition, info);
}

// The system colours as the skin's colour numbers name them: window, window text, highlight.
constexpr std::uint32_t Window = 0x80000005, WindowText = 0x80000008, Highlight = 0x8000000D;

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

TEST(StandardSkin, HighContrastTakesTheSystemColoursOverTheSettingsOnes) {
    const std::initializer_list<std::string> coloured = {"[Color]",         "Background=clRed",
                                                         "Panel=clGreen",   "Text=clBlue",
                                                         "Selected=clLime", "Shadow=clGray"};
    const struct {
        bool highContrast;
        std::uint32_t background, panel, text, selected;
        bool shadow;
    } cases[] = {
        {false, 0x0000FFu, 0x008000u, 0xFF0000u, 0x00FF00u, true},
        {true, Window, Window, WindowText, Highlight, false},
    };
    for (const auto& c : cases) {
        TSkinInfo info;
        const TSkinDefinition skin = Build(coloured, info, c.highContrast);
        ASSERT_TRUE(skin.Ok) << skin.Error;
        EXPECT_EQ(skin.Color, c.background) << c.highContrast;
        ASSERT_EQ(skin.Options.size(), 2u);
        EXPECT_EQ(skin.Parts[skin.Options[0]].Color, c.panel) << c.highContrast;
        EXPECT_EQ(skin.Parts[skin.Options[1]].Color, c.panel) << c.highContrast;
        EXPECT_EQ(skin.NormalColor, c.text) << c.highContrast;
        EXPECT_EQ(skin.SelectColor, c.selected) << c.highContrast;
        EXPECT_EQ(skin.Relation, c.shadow) << c.highContrast;
        // The geometry does not change with the colours.
        EXPECT_EQ(skin.Width, 560);
        EXPECT_EQ(skin.MenuTop, 48);
    }
}

TEST(StandardSkin, ThePlainLookTakesTheSystemColoursInHighContrastAndSkinsStayAsDesigned) {
    const struct {
        TStringList definition;
        bool highContrast;
        std::uint32_t background, text, selected;
    } cases[] = {
        // The empty definition's own look: black, aqua lines, the chosen one blue.
        {TStringList(), false, 0x000000u, 0xFFFF00u, 0xFF0000u},
        {TStringList(), true, Window, WindowText, Highlight},
        {TStringList({"", "[Basic]"}), true, Window, WindowText, Highlight},
        // A definition with keys of its own is a designed skin.
        {TStringList({"[Basic]", "Color=clRed"}), true, 0x0000FFu, 0xFFFF00u, 0xFF0000u},
    };
    for (const auto& c : cases) {
        TSkinInfo info;
        const TSkinDefinition skin = Read(PlainLookLines(c.definition, c.highContrast), info);
        ASSERT_TRUE(skin.Ok) << skin.Error;
        EXPECT_EQ(skin.Color, c.background) << c.definition.Count() << c.highContrast;
        EXPECT_EQ(skin.NormalColor, c.text) << c.definition.Count() << c.highContrast;
        EXPECT_EQ(skin.SelectColor, c.selected) << c.definition.Count() << c.highContrast;
        // The plain look keeps its size.
        EXPECT_EQ(skin.Width, 720);
        EXPECT_EQ(skin.Height, 480);
    }
}
