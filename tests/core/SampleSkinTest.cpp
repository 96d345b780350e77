#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "frame/Platform.h"
#include "menu/SkinDefinition.h"

// The skins shipped in res/Skin: each definition reads cleanly into the window, parts and marks
// it was drawn for, and every picture it names is a 24-bit BMP of the drawn size.

namespace {

const std::string Folder = MIRTO_SAMPLE_SKINS;

struct TBmp {
    bool Valid = false;
    int Width = 0, Height = 0;
    std::string Bytes;
    // The colour (0x00BBGGRR) of a pixel counted from the top-left corner.
    std::uint32_t Pixel(int x, int y) const {
        const int stride = (Width * 3 + 3) / 4 * 4;
        const std::size_t at = 54 + static_cast<std::size_t>(Height - 1 - y) * stride + x * 3;
        const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(Bytes[i]); };
        return byte(at) << 16 | byte(at + 1) << 8 | byte(at + 2);
    }
};

std::uint32_t Le(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// An uncompressed bottom-up 24-bit BMP with a 40-byte info header and nothing between the
// headers and the pixels, whose sizes agree with its length.
TBmp ReadBmp(const std::string& name) {
    TBmp bmp;
    if (!Platform().ReadWholeFile(Folder + name, bmp.Bytes) || bmp.Bytes.size() < 54) return bmp;
    const std::string& b = bmp.Bytes;
    bmp.Width = static_cast<std::int32_t>(Le(b, 18, 4));
    bmp.Height = static_cast<std::int32_t>(Le(b, 22, 4));
    if (bmp.Width <= 0 || bmp.Height <= 0) return bmp;
    const std::size_t stride = (bmp.Width * 3 + 3) / 4 * 4;
    bmp.Valid = b.compare(0, 2, "BM") == 0 && Le(b, 2, 4) == b.size() && Le(b, 10, 4) == 54 &&
                Le(b, 14, 4) == 40 && Le(b, 26, 2) == 1 && Le(b, 28, 2) == 24 &&
                Le(b, 30, 4) == 0 && b.size() == 54 + stride * bmp.Height;
    return bmp;
}

TSkinDefinition ReadSample(const std::string& name) {
    TIniStringList ini;
    ini.LoadFromFile(Folder + name);
    TSkinInfo info;
    info.Path = "C:\\Mirto\\Skin\\" + name;
    TSkinDefinition skin = ReadSkinDefinition(ini, info);
    EXPECT_TRUE(skin.Ok) << name << ": " << skin.Error;
    EXPECT_EQ(skin.Warnings, std::vector<std::string>{}) << name;
    EXPECT_EQ(std::make_pair(info.Width, info.Height), std::make_pair(skin.Width, skin.Height));
    return skin;
}

using TSizes = std::map<std::string, std::pair<int, int>>;

// Every picture the definition names is one of the drawn ones, of its drawn size, and every
// drawn one is named.
void ExpectPictures(const TSkinDefinition& skin, const TSizes& drawn) {
    std::set<std::string> named;
    if (!skin.Bitmap.empty()) named.insert(skin.Bitmap);
    for (const auto& part : skin.Parts) {
        if (!part.Bitmap.empty()) named.insert(part.Bitmap);
        for (const auto& edge : part.Edges)
            if (!edge.empty()) named.insert(edge);
    }
    for (const auto& mark : skin.Marks)
        if (!mark.Bitmap.empty()) named.insert(mark.Bitmap);
    std::set<std::string> expected;
    for (const auto& [name, size] : drawn)
        expected.insert(name);
    EXPECT_EQ(named, expected);
    for (const auto& [name, size] : drawn) {
        const TBmp bmp = ReadBmp(name);
        EXPECT_TRUE(bmp.Valid) << name;
        EXPECT_EQ(std::make_pair(bmp.Width, bmp.Height), size) << name;
    }
}

std::vector<std::string> MarkBitmaps(const TSkinDefinition& skin) {
    std::vector<std::string> names;
    for (const auto& mark : skin.Marks)
        names.push_back(mark.Bitmap);
    return names;
}

constexpr std::uint32_t Fuchsia = 0xFF00FF;
constexpr std::uint32_t Lime = 0x00FF00;

} // namespace

TEST(SampleSkins, TheFolderHoldsKiriAndMaru) {
    std::vector<std::string> names = Platform().ListFiles(Folder, "*.ini");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Kiri.ini", "Maru.ini"}));
}

TEST(SampleSkins, KiriIsARectangleWithAFramedPanelAndATitleBar) {
    const TSkinDefinition skin = ReadSample("Kiri.ini");
    EXPECT_EQ(skin.Name, "霧");
    EXPECT_EQ(std::make_pair(skin.Width, skin.Height), std::make_pair(560, 380));
    EXPECT_FALSE(skin.Transparent);
    EXPECT_EQ(skin.Color, 0x7A6B5Bu);
    EXPECT_EQ(skin.Bitmap, "kiri-band.bmp");
    EXPECT_EQ(skin.PositionY, 2);
    EXPECT_EQ(skin.NormalColor, 0xF2ECE4u);
    EXPECT_EQ(skin.SelectColor, 0x8AD9FFu);
    EXPECT_TRUE(skin.Relation);
    EXPECT_EQ(skin.RelationColor, 0x3C3127u);
    // 26 lines in two columns of 196 pixels, inside the panel at (16, 44) - (544, 324).
    EXPECT_EQ(std::vector<int>({skin.MenuLeft, skin.MenuTop, skin.MenuWidth, skin.MenuHeight}),
              std::vector<int>({32, 56, 496, 256}));

    ASSERT_EQ(skin.Parts.size(), 6u);
    ASSERT_EQ(skin.Options, (std::vector<int>{0, 3}));
    const TSkinPart& panel = skin.Parts[0];
    EXPECT_EQ(panel.Section, "Option-1");
    EXPECT_EQ(panel.Children.size(), 2u);
    EXPECT_TRUE(panel.Frame);
    EXPECT_TRUE(panel.FrameTransparent);
    EXPECT_EQ(panel.FrameTransparentColor, Fuchsia);
    EXPECT_EQ(panel.Edges[0], "kiri-line-l.bmp");
    EXPECT_EQ(panel.Edges[7], "kiri-corner-rb.bmp");
    const TSkinPart& emblem = skin.Parts[4];
    EXPECT_EQ(emblem.Section, "Kiri-Emblem");
    EXPECT_EQ(emblem.Parent, 3);
    EXPECT_TRUE(emblem.Transparent);
    EXPECT_EQ(emblem.TransparentColor, Fuchsia);

    EXPECT_EQ(MarkBitmaps(skin), (std::vector<std::string>{"kiri-protect.bmp", "kiri-page1.bmp",
                                                           "kiri-page2.bmp", "kiri-page3.bmp"}));
    for (const auto& mark : skin.Marks) {
        EXPECT_TRUE(mark.Transparent) << mark.Section;
        EXPECT_EQ(mark.TransparentColor, Fuchsia) << mark.Section;
    }

    ExpectPictures(skin, {{"kiri-band.bmp", {560, 48}},
                          {"kiri-emblem.bmp", {24, 24}},
                          {"kiri-line-l.bmp", {6, 16}},
                          {"kiri-line-r.bmp", {6, 16}},
                          {"kiri-line-t.bmp", {16, 6}},
                          {"kiri-line-b.bmp", {16, 6}},
                          {"kiri-corner-lt.bmp", {6, 6}},
                          {"kiri-corner-rt.bmp", {6, 6}},
                          {"kiri-corner-lb.bmp", {6, 6}},
                          {"kiri-corner-rb.bmp", {6, 6}},
                          {"kiri-protect.bmp", {16, 32}},
                          {"kiri-page1.bmp", {20, 32}},
                          {"kiri-page2.bmp", {20, 32}},
                          {"kiri-page3.bmp", {20, 32}}});
    // The page marks' rounded corners and the edge lines' inner side let the skin through.
    const TBmp page = ReadBmp("kiri-page1.bmp");
    EXPECT_EQ(page.Pixel(0, 0), Fuchsia);
    EXPECT_NE(page.Pixel(1, 0), Fuchsia);
    const TBmp line = ReadBmp("kiri-line-l.bmp");
    EXPECT_NE(line.Pixel(1, 0), Fuchsia);
    EXPECT_EQ(line.Pixel(2, 0), Fuchsia);
}

TEST(SampleSkins, MaruIsCutToRoundCornersByItsTransparentColour) {
    const TSkinDefinition skin = ReadSample("Maru.ini");
    EXPECT_EQ(skin.Name, "丸");
    EXPECT_EQ(std::make_pair(skin.Width, skin.Height), std::make_pair(520, 340));
    EXPECT_TRUE(skin.Transparent);
    EXPECT_EQ(skin.TransparentColor, Fuchsia);
    EXPECT_EQ(skin.Color, Fuchsia);
    EXPECT_EQ(skin.NormalColor, 0x2E3A4Au);
    EXPECT_EQ(skin.SelectColor, 0x2A40B0u);
    EXPECT_FALSE(skin.Relation);
    EXPECT_EQ(std::vector<int>({skin.MenuLeft, skin.MenuTop, skin.MenuWidth, skin.MenuHeight}),
              std::vector<int>({32, 47, 456, 246}));

    ASSERT_EQ(skin.Parts.size(), 2u);
    ASSERT_EQ(skin.Options, (std::vector<int>{0}));
    const TSkinPart& body = skin.Parts[0];
    EXPECT_EQ(std::make_pair(body.Width, body.Height), std::make_pair(520, 340));
    EXPECT_TRUE(body.Frame);
    // The corners copy their rim and the cut outside; their lime inside leaves the inner panel.
    EXPECT_TRUE(body.FrameTransparent);
    EXPECT_EQ(body.FrameTransparentColor, Lime);
    EXPECT_EQ(body.Edges[4], "maru-corner-lt.bmp");
    const TSkinPart& inner = skin.Parts[1];
    EXPECT_EQ(inner.Section, "Maru-Inner");
    EXPECT_EQ(inner.Parent, 0);
    EXPECT_TRUE(inner.Frame);
    EXPECT_FALSE(inner.FrameTransparent);

    EXPECT_EQ(MarkBitmaps(skin), (std::vector<std::string>{"maru-protect.bmp", "maru-page.bmp",
                                                           "maru-page.bmp", "maru-page.bmp"}));
    // The three page dots sit side by side near the foot, 14 pixels wide and 20 apart.
    EXPECT_EQ(skin.Marks[1].Left, (TSkinPosition{TSkinPosition::Offset, 233}));
    EXPECT_EQ(skin.Marks[3].Left, (TSkinPosition{TSkinPosition::Offset, 273}));
    EXPECT_EQ(skin.Marks[2].Top, (TSkinPosition{TSkinPosition::FromFar, 12}));

    ExpectPictures(skin, {{"maru-line-l.bmp", {4, 16}},
                          {"maru-line-r.bmp", {4, 16}},
                          {"maru-line-t.bmp", {16, 4}},
                          {"maru-line-b.bmp", {16, 4}},
                          {"maru-corner-lt.bmp", {48, 48}},
                          {"maru-corner-rt.bmp", {48, 48}},
                          {"maru-corner-lb.bmp", {48, 48}},
                          {"maru-corner-rb.bmp", {48, 48}},
                          {"maru-inner-l.bmp", {1, 16}},
                          {"maru-inner-r.bmp", {1, 16}},
                          {"maru-inner-t.bmp", {16, 1}},
                          {"maru-inner-b.bmp", {16, 1}},
                          {"maru-inner-lt.bmp", {10, 10}},
                          {"maru-inner-rt.bmp", {10, 10}},
                          {"maru-inner-lb.bmp", {10, 10}},
                          {"maru-inner-rb.bmp", {10, 10}},
                          {"maru-protect.bmp", {16, 32}},
                          {"maru-page.bmp", {14, 28}}});
    // Each body corner is cut at its outer tip and leaves what lies under its inner one.
    const std::pair<const char*, std::pair<int, int>> corners[] = {
        {"maru-corner-lt.bmp", {0, 0}},
        {"maru-corner-rt.bmp", {47, 0}},
        {"maru-corner-lb.bmp", {0, 47}},
        {"maru-corner-rb.bmp", {47, 47}}};
    for (const auto& [name, tip] : corners) {
        const TBmp bmp = ReadBmp(name);
        EXPECT_EQ(bmp.Pixel(tip.first, tip.second), Fuchsia) << name;
        EXPECT_EQ(bmp.Pixel(47 - tip.first, 47 - tip.second), Lime) << name;
    }
}
