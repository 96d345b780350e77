#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "menu/SkinBitmapHeader.h"
#include "menu/SkinPlan.h"

// The plan of a composition: clipping, edge tiles, the limits, and the header check that gives
// the plan its sizes.

namespace {

TSkinDefinition Read(const std::vector<std::string>& lines) {
    TStringList list;
    for (const auto& line : lines)
        list.Add(line);
    TIniStringList ini;
    ini.SetItems(list);
    TSkinInfo info;
    info.Path = "C:\\Mirto\\Skin\\test.ini";
    return ReadSkinDefinition(ini, info);
}

// Bitmaps of fixed sizes; any other name is missing. Records every name asked.
struct TFakeBitmaps {
    std::map<std::string, std::pair<int, int>> Sizes;
    std::vector<std::string> Asked;
    TSkinBitmapProber Prober() {
        return [this](const std::string& name) {
            Asked.push_back(name);
            TSkinBitmapProbe probe;
            const auto found = Sizes.find(name);
            if (found != Sizes.end()) {
                probe.Kind = TSkinBitmapProbe::Loadable;
                probe.Width = found->second.first;
                probe.Height = found->second.second;
            }
            return probe;
        };
    }
};

// A part with n children named Kid.
std::vector<std::string> ManyChildren(int n) {
    std::string child = "Child=";
    for (int i = 0; i < n; ++i)
        child += "Kid,";
    return {"[Option-1]", "Width=2", "Height=2", "Color=clRed", child};
}

// A 3968 x 2114 window with five full-window layers and a 1 x `line` layer, then the parts of
// `more`: the window and its palette, each layer made and drawn, 2 x (6 x 3968 x 2114 + line)
// pixels of work, the limit exactly when the line is 1536 long.
std::vector<std::string> AtTheWorkLimit(int line, const std::vector<std::string>& more = {}) {
    std::vector<std::string> lines = {"[Size]", "Def_Width=3968", "Def_Height=2114"};
    for (int i = 1; i <= 6; ++i)
        for (std::string part : {"[Option-" + std::to_string(i) + "]", std::string("Color=clRed"),
                                 "Width=" + std::to_string(i < 6 ? 3968 : 1),
                                 "Height=" + std::to_string(i < 6 ? 2114 : line)})
            lines.push_back(part);
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

} // namespace

TEST(SkinPlan, ThingsAreClippedToWhatTheirSurfaceShows) {
    const struct {
        TSkinRect Visible;
        int X, Y, W, H;
        TSkinRect Expected;
    } cases[] = {
        {{0, 0, 100, 50}, 10, 5, 20, 10, {0, 0, 20, 10}},       // whole inside
        {{0, 0, 100, 50}, -5, 45, 20, 10, {5, 0, 20, 5}},       // over the left and bottom edges
        {{0, 0, 2, 2}, 0, 0, 6000, 6000, {0, 0, 2, 2}},         // a huge child of a tiny part
        {{0, 0, 2, 2}, 2, 0, 6000, 6000, {}},                   // starts where the part ends
        {{10, 10, 20, 20}, 15, -100, 3, 200, {0, 110, 3, 120}}, // a partly shown parent
        {{0, 0, 100, 50}, -8192, -8192, 8192, 8192, {}},        // wholly beyond the top-left
        {{0, 0, 100, 50}, 10, 10, 0, 5, {}},                    // no area
    };
    for (const auto& c : cases)
        EXPECT_EQ(VisibleSkinRect(c.Visible, c.X, c.Y, c.W, c.H), c.Expected)
            << c.X << "," << c.Y << " " << c.W << "x" << c.H;

    // Tiles at 0, 3, 6 of a line 10 long (the last place is the corner's).
    const struct {
        int Length, Tile, Start, End;
        TSkinTileRange Expected;
    } tiles[] = {
        {10, 3, 0, 10, {0, 3}},          {10, 3, 4, 5, {1, 2}}, {10, 3, 9, 10, {}},
        {10, 3, 2, 7, {0, 3}},           {3, 3, 0, 3, {}},      {10, 0, 0, 10, {}},
        {8192, 1, 100, 200, {100, 200}}, {9, 3, 0, 9, {0, 2}}, // 6 is the corner's
    };
    for (const auto& c : tiles)
        EXPECT_EQ(VisibleSkinTiles(c.Length, c.Tile, c.Start, c.End), c.Expected)
            << c.Length << "/" << c.Tile << " [" << c.Start << "," << c.End << ")";
}

TEST(SkinPlan, PartsAndPiecesThatCannotBeSeenCostNothing) {
    // 500 children of 6000 x 6000 on a 2 x 2 part: each shows at most the 2 x 2 pixels.
    std::vector<std::string> lines = ManyChildren(500);
    for (const char* line : {"[Kid]", "Width=6000", "Height=6000", "Color=clBlue", "Child=Sub",
                             "[Sub]", "Bitmap=sub.bmp", "Left=2"})
        lines.push_back(line);
    // A frame of one-pixel tiles along a part 8192 high that shows 480 pixels of it.
    for (const char* line : {"[Option-2]", "Width=100", "Height=8192", "Color=clRed", "Frame=1",
                             "Line_L=dot.bmp", "Corner_LB=corner.bmp", "Left=5"})
        lines.push_back(line);
    const TSkinDefinition skin = Read(lines);
    ASSERT_TRUE(skin.Ok) << skin.Error;
    TFakeBitmaps bitmaps;
    bitmaps.Sizes = {{"sub.bmp", {6000, 6000}}, {"dot.bmp", {1, 1}}, {"corner.bmp", {9, 9}}};
    const TSkinPlan plan = PlanSkin(skin, bitmaps.Prober());
    ASSERT_TRUE(plan.Ok) << plan.Error;
    // 720 x 480 twice (the window and the palette); the part's and every child's 2 x 2 pieces
    // made and drawn, at least 1024 each; the child's child just beside its parent, neither
    // decoded nor drawn; the 100 x 480 piece of the framed part made and drawn, its one-pixel
    // tile decoded and drawn at the 480 rows that show (1024 each); the corner below the window
    // not at all.
    EXPECT_EQ(plan.DrawPixels,
              2 * 720 * 480 + 2 * 1024 + 500 * 2 * 1024 + 2 * 100 * 480 + 1024 + 480 * 1024);
    EXPECT_EQ(plan.BitmapPixels, 1);
    EXPECT_EQ(bitmaps.Asked, (std::vector<std::string>{"sub.bmp", "dot.bmp", "corner.bmp"}))
        << "each name asked once";
    const std::size_t kid = static_cast<std::size_t>(skin.Parts[0].Children.at(0));
    const std::size_t sub = static_cast<std::size_t>(skin.Parts[kid].Children.at(0));
    EXPECT_EQ(plan.Parts[kid].Visible, (TSkinRect{0, 0, 2, 2}));
    EXPECT_FALSE(plan.Parts[sub].Drawn) << "the child's child";
    const TSkinPartPlan& frame = plan.Parts.back();
    EXPECT_EQ(frame.Visible, (TSkinRect{0, 0, 100, 480}));
    EXPECT_EQ(frame.Edges[0], (std::array<int, 2>{1, 1}));
    EXPECT_EQ(frame.Edges[6], (std::array<int, 2>{0, 0})) << "the corner below the window";
}

TEST(SkinPlan, SkinsBeyondTheLimitsAreRefusedNamingWhatWasTooLarge) {
    const struct {
        const char* What;
        std::vector<std::string> Lines;
        std::map<std::string, std::pair<int, int>> Sizes;
        const char* Named; // in the refusal; nullptr: accepted
    } cases[] = {
        {"a compressed file declaring 7000 x 7000",
         {"[Basic]", "Bitmap=huge.bmp", "[MenuProtect]", "Bitmap=huge.bmp"},
         {{"huge.bmp", {7000, 7000}}},
         "C:\\Mirto\\Skin\\huge.bmp\" を読み込めませんでした。画像の大きさ 7000 x 7000"},
        {"two backgrounds' worth of bitmaps",
         {"[Size]", "Def_Width=4096", "Def_Height=2304", "[Basic]", "Bitmap=a.bmp", "[Option-1]",
          "Bitmap=b.bmp"},
         {{"a.bmp", {4096, 2304}}, {"b.bmp", {4096, 2304}}},
         "b.bmp\" を読み込めませんでした。画像の大きさ 4096 x 2304 は大きすぎます"},
        {"a window larger than a 4K screen",
         {"[Size]", "Def_Width=8192", "Def_Height=8192"},
         {},
         "ウィンドウの大きさ 8192 x 8192 は大きすぎます"},
        {"a thousand full-window layers",
         [] {
             std::vector<std::string> lines = {"[Size]", "Def_Width=3840", "Def_Height=2160"};
             for (int i = 1; i <= 1000; ++i)
                 for (std::string line :
                      {"[Option-" + std::to_string(i) + "]", std::string("Width=3840"),
                       std::string("Height=2160"), std::string("Color=clRed")})
                     lines.push_back(line);
             return lines;
         }(),
         {},
         "[Option-6] で描く量が大きすぎます"},
        {"exactly the limit of work", AtTheWorkLimit(1536), {}, nullptr},
        {"a pixel beyond the limit of work", AtTheWorkLimit(1537), {}, "で描く量が大きすぎます"},
        {"a transparent layer with its colour beyond the limit",
         AtTheWorkLimit(1536, {"[Option-7]", "Width=3968", "Height=2114", "Color=clRed",
                               "Transparent=1", "TransparentColor=clRed"}),
         {},
         "[Option-7] で描く量が大きすぎます"},
    };
    for (const auto& c : cases) {
        const TSkinDefinition skin = Read(c.Lines);
        ASSERT_TRUE(skin.Ok) << c.What << ": " << skin.Error;
        TFakeBitmaps bitmaps;
        bitmaps.Sizes = c.Sizes;
        const TSkinPlan plan = PlanSkin(skin, bitmaps.Prober());
        EXPECT_EQ(plan.Ok, !c.Named) << c.What << ": " << plan.Error;
        if (c.Named)
            EXPECT_NE(plan.Error.find(c.Named), std::string::npos) << c.What << ": " << plan.Error;
    }
}

TEST(SkinPlan, ASkinOfA4KScreenWithSeveralLayersComposes) {
    std::vector<std::string> lines = {"[Size]",   "Def_Width=3840", "Def_Height=2160",
                                      "[Basic]",  "Bitmap=bg.bmp",  "Transparent=1",
                                      "[Page-1]", "Bitmap=mark.bmp"};
    for (int i = 1; i <= 3; ++i)
        for (std::string line : {"[Option-" + std::to_string(i) + "]", std::string("Width=3840"),
                                 std::string("Height=2160"), std::string("Color=clRed")})
            lines.push_back(line);
    const TSkinDefinition skin = Read(lines);
    TFakeBitmaps bitmaps;
    bitmaps.Sizes = {{"bg.bmp", {3840, 2160}}, {"mark.bmp", {64, 128}}};
    const TSkinPlan plan = PlanSkin(skin, bitmaps.Prober());
    EXPECT_TRUE(plan.Ok) << plan.Error;
    EXPECT_TRUE(plan.Background);
    EXPECT_TRUE(plan.Marks[1].Loaded);
    EXPECT_EQ(plan.Marks[1].Height, 64);
}

TEST(SkinPlan, HeadersGiveTheDeclaredSizeOrTheFault) {
    // A 40-byte information header: width, height, planes, bits, compression, image size.
    const auto header = [](std::int32_t width, std::int32_t height, int bits, int compression,
                           std::uint32_t imageSize, std::uint32_t offBits) {
        std::vector<std::uint8_t> h(54 + 1024, 0);
        const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                h[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        };
        h[0] = 'B';
        h[1] = 'M';
        put(10, offBits, 4);
        put(14, 40, 4);
        put(18, static_cast<std::uint32_t>(width), 4);
        put(22, static_cast<std::uint32_t>(height), 4);
        put(26, 1, 2);
        put(28, static_cast<std::uint32_t>(bits), 2);
        put(30, static_cast<std::uint32_t>(compression), 4);
        put(34, imageSize, 4);
        return h;
    };
    // 2 x 2 at 24 bits (16 bytes of pixels) with an information header of `size` bytes.
    const auto sized = [&](std::uint8_t size) {
        std::vector<std::uint8_t> h = header(2, 2, 24, 0, 0, 14u + size);
        h[14] = size;
        return h;
    };
    // 4 x 1 at 8 bits declaring `colours` colours, its pixels after a table of 256.
    const auto coloured = [&](std::uint32_t colours) {
        std::vector<std::uint8_t> h = header(4, 1, 8, 0, 0, 54 + 1024);
        h[46] = static_cast<std::uint8_t>(colours);
        h[47] = static_cast<std::uint8_t>(colours >> 8);
        return h;
    };
    // The 12-byte core header of 2 x 2 at 24 bits, nothing after it.
    const std::vector<std::uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0,  0,
                                            0,   12,  0, 0, 0, 2, 0, 2, 0, 1, 0,  24, 0};
    const struct {
        const char* What;
        std::vector<std::uint8_t> Bytes;
        std::uint64_t FileSize;
        int Width, Height; // when acceptable
        const char* Fault; // in the fault; nullptr: acceptable
    } cases[] = {
        {"RLE of 1 KB declaring 7000 x 7000", header(7000, 7000, 8, 1, 100, 54 + 1024),
         54 + 1024 + 100, 7000, 7000, nullptr},
        {"24 bits, top-down", header(3, -2, 24, 0, 0, 54), 54 + 24, 3, 2, nullptr},
        {"wider than the limit", header(9000, 1, 24, 0, 0, 54), 54 + 27000, 0, 0, "9000 x 1"},
        {"pixels beyond the end", header(100, 100, 24, 0, 0, 54), 54 + 100, 0, 0, "30000 バイト"},
        {"too short", {'B', 'M', 0}, 3, 0, 0, "短いファイル"},
        {"a core header a byte short", {core.begin(), core.end() - 1}, 25, 0, 0, "短いファイル"},
        {"a core header", core, 26 + 16, 2, 2, nullptr},
        {"a 40-byte header", sized(40), 54 + 16, 2, 2, nullptr},
        {"a 56-byte header", sized(56), 70 + 16, 2, 2, nullptr},
        {"a 108-byte header", sized(108), 122 + 16, 2, 2, nullptr},
        {"a 124-byte header", sized(124), 138 + 16, 2, 2, nullptr},
        {"a 16-byte header", sized(16), 30 + 16, 0, 0, "16 バイトのビットマップ"},
        {"a 52-byte header", sized(52), 66 + 16, 0, 0, "52 バイトのビットマップ"},
        {"a 64-byte header", sized(64), 78 + 16, 0, 0, "64 バイトのビットマップ"},
        {"a 100-byte header", sized(100), 114 + 16, 0, 0, "100 バイトのビットマップ"},
        {"a 125-byte header", sized(125), 139 + 16, 0, 0, "125 バイトのビットマップ"},
        {"all 256 colours", coloured(256), 54 + 1024 + 4, 4, 1, nullptr},
        {"257 colours", coloured(257), 54 + 1028 + 4, 0, 0, "カラーテーブルが長すぎます"},
        {"a colour table a byte short", coloured(256), 54 + 1023, 0, 0, "カラーテーブルの途中"},
        {"a colour table and no pixels", coloured(256), 54 + 1024, 0, 0, "4 バイト要りますが、0"},
        // 9 bytes of pixels and 3 of padding a row.
        {"padded rows a byte short", header(3, -2, 24, 0, 0, 54), 54 + 23, 0, 0, "24 バイト"},
        {"RLE, top-down", header(4, -2, 8, 1, 100, 54 + 1024), 54 + 1024 + 100, 0, 0, "上下の向き"},
    };
    for (const auto& c : cases) {
        const TSkinBitmapHeader h =
            CheckSkinBitmapHeader(c.Bytes.data(), c.Bytes.size(), c.FileSize);
        if (!c.Fault) {
            EXPECT_EQ(h.Fault, "") << c.What;
            EXPECT_EQ(h.Width, c.Width) << c.What;
            EXPECT_EQ(h.Height, c.Height) << c.What;
        } else {
            EXPECT_NE(h.Fault.find(c.Fault), std::string::npos) << c.What << ": " << h.Fault;
        }
    }
}
