#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/SkinDefinition.h"

namespace {

TSkinDefinition Read(std::initializer_list<std::string> lines, TSkinInfo* infoOut = nullptr,
                     const TSkinFontHeight& fontHeight = {}) {
    TIniStringList ini;
    ini.SetItems(TStringList(lines));
    TSkinInfo info;
    info.Path = "C:\\Mirto\\Skin\\test.ini";
    TSkinDefinition skin = ReadSkinDefinition(ini, info, fontHeight);
    if (infoOut) *infoOut = info;
    return skin;
}

TStringList ToList(const std::vector<std::string>& lines) {
    TStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

std::string Repeated(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text.append(piece);
    return text;
}

} // namespace

TEST(SkinDefinition, PositionsPlaceFromEitherEdgeOrCentre) {
    struct Case {
        const char* value;
        int total, size;
        std::optional<int> offset;
    };
    const Case cases[] = {
        {"", 100, 20, 0},
        {"25", 100, 20, 25},
        {"  7", 100, 20, 7},
        {"$10", 100, 20, 16},
        {"Middle", 100, 20, 40},
        {"mIDDLE", 100, 21, 39},
        {"center", 101, 20, 40},
        {"CENTER", 10, 21, -5}, // -11 / 2 truncates toward zero
        {"-10", 100, 20, 70},
        {"-0", 100, 20, 80},
        {"-$10", 100, 20, 64},
        {"--5", 100, 20, 85}, // the integer after the "-" is -5
        {"abc", 100, 20, 0},
        {"12px", 100, 20, 0},
        {"Middle ", 100, 20, 0},
        {"-", 100, 20, std::nullopt},
        {"-abc", 100, 20, std::nullopt},
        {"-12px", 100, 20, std::nullopt},
        // Clamped: offsets to +-8192, N to 8192, the sizes to 0..8192.
        {"99999", 100, 20, 8192},
        {"-99999", 100, 20, 100 - 8192 - 20},
        {"-2147483648", 100, 20, std::nullopt}, // "2147483648" does not fit in 32 bits
        {"Middle", 100000, 0, 4096},
        {"-0", 2147483647, -2147483647, 8192},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetPositionInt(c.value, c.total, c.size), c.offset)
            << "\"" << c.value << "\" " << c.total << " " << c.size;
}

TEST(SkinDefinition, AlignmentCodesOutsideZeroToTwoPlaceAtZero) {
    const int cases[][4] = {{0, 100, 30, 0},  {1, 100, 30, 35}, {1, 10, 31, -10},
                            {2, 100, 30, 70}, {3, 100, 30, 0},  {-1, 100, 30, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(AlignSkinOffset(c[0], c[1], c[2]), c[3]) << c[0];
}

TEST(SkinDefinition, ColoursAreNamesOrIntegers) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> colour;
    };
    const Case cases[] = {
        {"clBlack", 0x000000u},
        {"CLNONE", 0x1FFFFFFFu},
        {"clinfobk", 0x80000018u},
        {"clScrollBar", 0x80000000u},
        {"clBlue", 0xFF0000u},
        {"clRed", 0x0000FFu},
        {"clTeal", 0x808000u},
        {"cl3DDkShadow", 0x80000015u},
        {"clInactiveCaptionText", 0x80000013u},
        {"clBtnFace", 0x8000000Fu},
        {"255", 255u},
        {"$FF0000", 0xFF0000u},
        {"0x80000005", 0x80000005u},
        {"x10", 16u},
        {"  12", 12u},
        {"+3", 3u},
        {"-1", 0xFFFFFFFFu},
        {"clMoneyGreen", std::nullopt},
        {"", std::nullopt},
        {"clBlack ", std::nullopt},
        {"Black", std::nullopt},
        {"12 ", std::nullopt},
        {"0x", std::nullopt},
        {"$1FFFFFFFF", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSkinColor(c.text), c.colour) << "\"" << c.text << "\"";
    EXPECT_STREQ(SkinColorNames.front().Name, "clBlack");
    EXPECT_STREQ(SkinColorNames.back().Name, "clNone");
}

TEST(SkinDefinition, UserDefineLinesOverrideSectionKeys) {
    struct Case {
        std::vector<std::string> lines;
        const char* section;
        const char* key;
        const char* expected; // "-" when the key stays absent
    };
    const Case cases[] = {
        {{"[Basic]", "Color=clBlack", "[UserDefine]", "Basic_Color=clWhite"},
         "Basic",
         "Color",
         "clWhite"},
        {{"[UserDefine]", "Def_Width=800"}, "Def", "Width", "800"},
        {{"[UserDefine]", "Def_Width=800"}, "Size", "Def_Width", "-"},
        {{"[UserDefine]", "[Other]", "Menu_Width=10"}, "Menu", "Width", "10"},
        {{"Menu_Width=10", "[userdefine]"}, "Menu", "Width", "-"},
        {{"[UserDefine]", "Menu_=5"}, "Menu", "", "-"},
        {{"[UserDefine]", "Menu_W=5"}, "Menu", "W", "5"},
        {{"[UserDefine]", "Menu_A=B=C"}, "Menu", "A=B", "C"},
        {{"[UserDefine]", "Menu_Width="}, "Menu", "Width", "-"},
        {{"[UserDefine]", "Menu_Font_NormalColor=clRed"}, "Menu", "Font_NormalColor", "clRed"},
        // The trail byte 5F of the double-byte character is not the separator.
        {{"[UserDefine]", "\x83\x5F"
                          "A_Key=1"},
         "\x83\x5F"
         "A",
         "Key",
         "1"},
        {{"[UserDefine]", "\x83\x5F"
                          "A_Key=1"},
         "\x83",
         "A_Key",
         "-"},
    };
    for (const auto& c : cases) {
        TIniStringList ini;
        ini.SetItems(ToList(c.lines));
        ChangeUserDefineSkin(ini);
        EXPECT_EQ(ini.GetString(c.section, c.key, "-"), c.expected)
            << c.lines.back() << " -> [" << c.section << "] " << c.key;
    }
}

TEST(SkinDefinition, UserDefineSkipsMalformedLinesAndKeysItAdds) {
    TIniStringList ini;
    ini.SetItems(TStringList({"[UserDefine]", "_Width=5", "Menu=1", "plain", "Menu_Font_Size=9"}));
    ChangeUserDefineSkin(ini);
    // Only the last line applies; the key line it adds ("Font_Size=9") is not an override.
    EXPECT_EQ(ini.Items().Items(),
              (std::vector<std::string>{"[UserDefine]", "_Width=5", "Menu=1", "plain",
                                        "Menu_Font_Size=9", "[Menu]", "Font_Size=9"}));
}

TEST(SkinDefinition, ResizeCodesGrowWidthHeightOrBoth) {
    struct Case {
        int code, dx, dy, width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {0, 50, 30, 400, 220, 400, 220},       {1, 50, 30, 400, 220, 450, 220},
        {2, 50, 30, 400, 220, 400, 250},       {3, 50, 30, 400, 220, 450, 250},
        {0x101, 50, 30, 400, 220, 450, 220},   {4, 50, 30, 400, 220, 400, 220},
        {-1, 50, 30, 400, 220, 400, 220},      {3, -500, -300, 400, 220, 0, 0},
        {3, 8000, 8000, 400, 400, 8192, 8192},
    };
    for (const auto& c : cases) {
        int width = c.width, height = c.height;
        ApplySkinResize(c.code, c.dx, c.dy, width, height);
        EXPECT_EQ(width, c.expectedWidth) << c.code;
        EXPECT_EQ(height, c.expectedHeight) << c.code;
    }
}

TEST(SkinDefinition, EmptyDefinitionGivesTheDefaults) {
    TSkinInfo info;
    const TSkinDefinition skin = Read({}, &info);
    EXPECT_TRUE(skin.Ok);
    EXPECT_EQ(skin.Folder, "C:\\Mirto\\Skin\\");
    EXPECT_EQ(info.Width, 720);
    EXPECT_EQ(info.Height, 480);
    EXPECT_FALSE(info.Transparent);
    EXPECT_EQ(skin.Color, 0u);
    EXPECT_EQ(skin.MenuLeft, 64);
    EXPECT_EQ(skin.MenuTop, 32);
    EXPECT_EQ(skin.MenuWidth, 400);
    EXPECT_EQ(skin.MenuHeight, 220);
    EXPECT_EQ(skin.SelectColor, 0xFF0000u);
    EXPECT_EQ(skin.NormalColor, 0xFFFF00u);
    EXPECT_EQ(skin.LineSpace, 4);
    EXPECT_TRUE(skin.Parts.empty());
    for (const auto& mark : skin.Marks)
        EXPECT_TRUE(mark.Bitmap.empty());
    EXPECT_TRUE(skin.Warnings.empty());
}

TEST(SkinDefinition, MenuAreaFollowsTheWindowAndTheFont) {
    // 50 wider and, with Height=0, not taller than designed.
    TSkinDefinition skin = Read({"[Size]", "Def_Width=700", "Width=750", "Height=0", "[Menu]",
                                 "Resize=3", "Left=-10", "Top=Middle"});
    EXPECT_EQ(skin.Height, 480);
    EXPECT_EQ(skin.Dy, 0);
    EXPECT_EQ(skin.MenuWidth, 450);
    EXPECT_EQ(skin.MenuHeight, 220);
    EXPECT_EQ(skin.MenuLeft, 750 - 10 - 450);
    EXPECT_EQ(skin.MenuTop, 130);

    // 100 taller: the area grows by 100, then to the 400 the font needs, and the window with it.
    TSkinInfo info;
    skin = Read({"[Size]", "Height=580", "[Menu]", "Resize=2", "LineSpace=6"}, &info,
                [](int lineSpace) { return lineSpace == 6 ? 400 : 0; });
    EXPECT_EQ(skin.MenuHeight, 400);
    EXPECT_EQ(info.Height, 660);
    EXPECT_EQ(skin.Dy, 180);
}

TEST(SkinDefinition, ColourKeysFallBackPerKey) {
    TSkinInfo info;
    TSkinDefinition skin =
        Read({"[Basic]", "Color=bogus", "TransparentColor=bogus", "Transparent=1", "[Menu]",
              "Font_SelectColor=bogus", "Font_NormalColor=clRed", "Font_Relation=1",
              "Font_RelationColor=nonsense"},
             &info);
    EXPECT_EQ(skin.Color, 0u);
    EXPECT_TRUE(info.Transparent);
    EXPECT_EQ(info.TransparentColor, 0u);
    EXPECT_EQ(skin.SelectColor, 0xFF0000u);
    EXPECT_EQ(skin.NormalColor, 0x0000FFu);
    EXPECT_FALSE(skin.Relation);
    EXPECT_FALSE(skin.RelationColor);

    skin = Read({"[Menu]", "Font_Relation=1", "Font_RelationColor=clWhite", "[UserDefine]",
                 "Basic_Color=clWhite"});
    EXPECT_TRUE(skin.Relation);
    EXPECT_EQ(skin.RelationColor, 0xFFFFFFu);
    EXPECT_EQ(skin.Color, 0xFFFFFFu);
}

TEST(SkinDefinition, AbsurdNumbersAreClamped) {
    TSkinInfo info;
    const TSkinDefinition skin =
        Read({"[Size]", "Def_Width=2147483647", "Width=-5", "Def_Height=-9", "Height=99999999",
              "[Menu]", "LineSpace=100000", "Width=-100", "Height=2147483647", "Resize=3",
              "[Option-1]", "Color=clRed", "Width=-2147483648", "Height=70000"},
             &info);
    EXPECT_TRUE(skin.Ok);
    EXPECT_EQ(skin.DesignWidth, 8192);
    EXPECT_EQ(info.Width, 1);
    EXPECT_EQ(skin.DesignHeight, 1);
    EXPECT_EQ(info.Height, 8192);
    EXPECT_EQ(skin.Dx, 1 - 8192);
    EXPECT_EQ(skin.Dy, 8191);
    EXPECT_EQ(skin.LineSpace, 256);
    EXPECT_EQ(skin.MenuWidth, 0);
    EXPECT_EQ(skin.MenuHeight, 8192);
    ASSERT_EQ(skin.Parts.size(), 1u);
    EXPECT_EQ(skin.Parts[0].Width, 0);
    EXPECT_EQ(skin.Parts[0].Height, 8192);
    EXPECT_FALSE(skin.Warnings.empty());
}

TEST(SkinDefinition, MalformedFarPositionEndsTheReadingWhereItIsAlwaysPlaced) {
    TSkinDefinition skin = Read({"[Menu]", "Top=-top"});
    EXPECT_FALSE(skin.Ok);
    EXPECT_NE(skin.Error.find("[Menu] Top の位置 \"-top\""), std::string::npos) << skin.Error;

    skin = Read({"[Option-1]", "Color=clRed", "Child=A", "[A]", "Color=clBlue", "Left=-x"});
    EXPECT_FALSE(skin.Ok);
    EXPECT_NE(skin.Error.find("[A] Left"), std::string::npos) << skin.Error;

    // Under a bitmap part it counts only once the bitmap has loaded.
    skin = Read({"[Option-1]", "Bitmap=a.bmp", "Child=A", "[A]", "Color=clBlue", "Left=-x"});
    EXPECT_TRUE(skin.Ok);
    ASSERT_EQ(skin.Parts.size(), 2u);
    EXPECT_EQ(skin.Parts[1].Left.Kind, TSkinPosition::Malformed);
}

TEST(SkinDefinition, PartsReadTheirKeysInDrawingSequence) {
    const TSkinDefinition skin =
        Read({"[Size]",       "Def_Width=700",      "Width=750",
              "[Option-1]",   "Color=clRed",        "Width=100",
              "Height=10",    "Resize=1",           "Child=A,B,",
              "Frame=1",      "FrameTransparent=1", "FrameTransparentColor=junk",
              "Line_L=l.bmp", "Corner_RB=rb",       "[A]",
              "Bitmap=a.bmp", "FromColor1=clRed",   "ToColor1=clBlue",
              "FromColor2=1", "Transparent=1",      "[B]",
              "Left=Middle",  "[Option-2]",         "[Option-4]",
              "Color=clRed"});
    ASSERT_EQ(skin.Parts.size(), 4u);
    EXPECT_EQ(skin.Options, (std::vector<int>{0, 3}));
    const TSkinPart& root = skin.Parts[0];
    EXPECT_EQ(root.Width, 150);
    EXPECT_EQ(root.Height, 10);
    EXPECT_EQ(root.Color, 0x0000FFu);
    EXPECT_EQ(root.Children, (std::vector<int>{1, 2}));
    EXPECT_FALSE(root.FrameTransparent);
    EXPECT_EQ(root.Edges[0], "l.bmp");
    EXPECT_EQ(root.Edges[7], "rb");
    const TSkinPart& a = skin.Parts[1];
    EXPECT_EQ(a.Bitmap, "a.bmp");
    EXPECT_TRUE(a.Recolour);
    EXPECT_FALSE(a.RecolourValid); // ToColor2 is missing
    EXPECT_TRUE(a.Transparent);
    EXPECT_FALSE(a.TransparentColor);
    EXPECT_EQ(skin.Parts[2].Left.Kind, TSkinPosition::Centre);
    EXPECT_FALSE(skin.Parts[2].Color); // a plain part without colour is not drawn
    EXPECT_EQ(skin.Parts[3].Section, "Option-2");
}

TEST(SkinDefinition, ChildCyclesDepthAndCountAreBounded) {
    TSkinDefinition skin = Read({"[Option-1]", "Color=clRed", "Child=Option-1,A", "[A]",
                                 "Color=clBlue", "Child=option-1,A,B", "[B]", "Bitmap=b.bmp"});
    ASSERT_EQ(skin.Parts.size(), 3u);
    EXPECT_EQ(skin.Parts[0].Children, (std::vector<int>{1}));
    EXPECT_EQ(skin.Parts[1].Children, (std::vector<int>{2}));
    EXPECT_EQ(skin.Parts[2].Depth, 2);
    EXPECT_EQ(skin.Warnings.size(), 3u);

    // Thousands of names, each a part naming itself.
    skin = Read({"[Option-1]", "Color=clRed", "Child=" + Repeated("X,", 5000), "[X]", "Color=clRed",
                 "Child=X"});
    EXPECT_EQ(skin.Parts.size(), 1024u);
    EXPECT_EQ(skin.Warnings.size(), 64u);

    // A chain deeper than 16 levels.
    std::vector<std::string> chain;
    for (int i = 0; i < 40; ++i)
        for (const std::string& line : {"[P" + std::to_string(i) + "]", std::string("Color=clRed"),
                                        "Child=P" + std::to_string(i + 1)})
            chain.push_back(line);
    chain[0] = "[Option-1]";
    TIniStringList ini;
    ini.SetItems(ToList(chain));
    TSkinInfo info;
    skin = ReadSkinDefinition(ini, info);
    EXPECT_EQ(skin.Parts.size(), 16u);
    EXPECT_EQ(skin.Parts.back().Depth, 15);
}

TEST(SkinDefinition, MarksKeepTheirTextsForTheComposer) {
    const TSkinDefinition skin =
        Read({"[Page-2]", "Bitmap=p2.bmp", "Left=-5", "Top=Center", "TransparentColor=junk",
              "Transparent=1", "[MenuProtect]", "Left=3"});
    EXPECT_EQ(skin.Marks[0].Section, "MenuProtect");
    EXPECT_TRUE(skin.Marks[0].Bitmap.empty());
    const TSkinMark& mark = skin.Marks[2];
    EXPECT_EQ(mark.Section, "Page-2");
    EXPECT_EQ(mark.Bitmap, "p2.bmp");
    EXPECT_EQ(mark.Left, (TSkinPosition{TSkinPosition::FromFar, 5}));
    EXPECT_EQ(mark.Top.Kind, TSkinPosition::Centre);
    EXPECT_EQ(mark.TransparentColor, 0u);
    EXPECT_TRUE(mark.Transparent);
    EXPECT_FALSE(skin.Marks[3].TransparentColor);
}

TEST(SkinDefinition, FolderIsThePathUpToItsLastBackslash) {
    EXPECT_EQ(SkinFolderOf("C:\\Mirto\\Skin\\blue.ini"), "C:\\Mirto\\Skin\\");
    EXPECT_EQ(SkinFolderOf(""), "");
    EXPECT_EQ(SkinFolderOf("blue.ini"), "");
    // 95 5C is one double-byte character whose trail byte is a backslash.
    EXPECT_EQ(SkinFolderOf("C:\\\x95\x5C"
                           "a.ini"),
              "C:\\");
}

TEST(SkinDefinition, PartSectionsAnswerAsTheStoreDoes) {
    // The first of two headers wins; a key below any "[" line is not in the section above it.
    const TSkinDefinition skin = Read({"[Option-1]", "Color=clRed", "Child=a,B,c", "[A]",
                                       "Color=clLime", "[a]", "Color=clBlue", "[b]", "Width=5",
                                       "[bad", "Color=clRed", "[C]", "", "Color=", "Color=clNavy"});
    ASSERT_EQ(skin.Parts.size(), 4u);
    EXPECT_EQ(skin.Parts[1].Section, "a");
    EXPECT_EQ(skin.Parts[1].Color, 0x00FF00u);
    EXPECT_EQ(skin.Parts[2].Width, 5);
    EXPECT_FALSE(skin.Parts[2].Color);
    EXPECT_EQ(skin.Parts[3].Color, 0x800000u); // "Color=" reads as absent, the next line counts
}

TEST(SkinDefinition, OversizedDefinitionsAndOverrideFloodsAreBounded) {
    std::vector<std::string> lines(65537, "x");
    TIniStringList ini;
    ini.SetItems(ToList(lines));
    TSkinInfo info;
    TSkinDefinition skin = ReadSkinDefinition(ini, info);
    EXPECT_FALSE(skin.Ok);
    EXPECT_EQ(skin.Error, "背景の設定が 65536 行を超えています。");
    EXPECT_EQ(info.Width, 720);

    // 1024 overrides apply; the 1025th does not.
    lines.assign(1, "[UserDefine]");
    for (int i = 1; i <= 1025; ++i)
        lines.push_back("Menu_K" + std::to_string(i) + "=1");
    ini.SetItems(ToList(lines));
    ChangeUserDefineSkin(ini);
    EXPECT_EQ(ini.GetString("Menu", "K1024", "-"), "1");
    EXPECT_EQ(ini.GetString("Menu", "K1025", "-"), "-");
}

TEST(SkinDefinition, MenuTakesColoursAndAreaOfADefinitionReadOk) {
    TMenuImage menu;
    menu.SetRelationColor(0x123456);
    ASSERT_TRUE(ApplySkinToMenu(Read({"[Menu]", "Font_Relation=1", "Width=500"}), menu));
    EXPECT_EQ(menu.SelectColor(), 0xFF0000u);
    EXPECT_EQ(menu.NormalColor(), 0xFFFF00u);
    EXPECT_TRUE(menu.Relation());
    EXPECT_EQ(menu.RelationColor(), 0x123456u); // kept: the definition names none
    EXPECT_EQ(menu.Width(), 500);
    EXPECT_EQ(menu.Height(), 220);
    EXPECT_EQ(menu.Left(), 64);
    EXPECT_EQ(menu.Top(), 32);
    EXPECT_EQ(menu.ColumnWidth(), (500 - 4 * 26) / 2);

    ASSERT_TRUE(ApplySkinToMenu(Read({"[Menu]", "Font_RelationColor=clRed", "Left=1"}), menu));
    EXPECT_EQ(menu.RelationColor(), 0x0000FFu);
    EXPECT_FALSE(menu.Relation());
    EXPECT_EQ(menu.Left(), 1);

    EXPECT_FALSE(ApplySkinToMenu(Read({"[Menu]", "Left=-", "Width=10"}), menu));
    EXPECT_EQ(menu.Width(), 400);
}
