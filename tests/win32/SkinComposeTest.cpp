#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "GdiCount.h"
#include "TestFolder.h"
#include "menu/SkinCompose.h"
#include "menu/ListImage.h"

// The skin composer on GDI: tiny bitmap files written here, a small definition read by the
// portable reader, and the composed picture, marks and region checked at chosen pixels.

namespace {

constexpr COLORREF Navy = 0x800000;
constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Red = 0x0000FF;
constexpr COLORREF Lime = 0x00FF00;
constexpr COLORREF Blue = 0xFF0000;
constexpr COLORREF Yellow = 0x00FFFF;
constexpr COLORREF Aqua = 0xFFFF00;
constexpr COLORREF Fuchsia = 0xFF00FF;
constexpr COLORREF Grey = 0x808080;
constexpr COLORREF Teal = 0x808000;
constexpr COLORREF Green = 0x008000;

using TPixelOf = std::function<COLORREF(int x, int y)>;

void PutWord(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void PutDWord(std::string& out, std::uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

// A 24 bits-per-pixel BMP file, bottom-up as the format stores it.
std::string Bmp24(int width, int height, const TPixelOf& pixel) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string file = "BM";
    PutDWord(file, static_cast<std::uint32_t>(54 + stride * height));
    PutDWord(file, 0);
    PutDWord(file, 54);
    PutDWord(file, 40);
    PutDWord(file, static_cast<std::uint32_t>(width));
    PutDWord(file, static_cast<std::uint32_t>(height));
    PutWord(file, 1);
    PutWord(file, 24);
    for (int i = 0; i < 6; ++i)
        PutDWord(file, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            file += static_cast<char>(GetBValue(c));
            file += static_cast<char>(GetGValue(c));
            file += static_cast<char>(GetRValue(c));
        }
        file.append(static_cast<std::size_t>(stride - width * 3), '\0');
    }
    return file;
}

std::string Solid(int width, int height, COLORREF color) {
    return Bmp24(width, height, [color](int, int) { return color; });
}

class SkinCompose : public ::testing::Test {
protected:
    TTestFolder Folder{"MirtoSkinCompose"};

    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteTextFile(Folder / name, bytes)) << name;
    }
    // The definition's text as a skin file holds it, one line per key.
    TSkinDefinition Read(std::string_view text) {
        TStringList lines;
        lines.SetText(text);
        TIniStringList ini;
        ini.SetItems(lines);
        TSkinInfo info;
        info.Path = Folder / "skin.ini";
        return ReadSkinDefinition(ini, info);
    }
    static COLORREF MonoPixel(HBITMAP mono, int x, int y) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, mono);
        const COLORREF color = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return color;
    }
};

struct TPixelCase {
    const char* What;
    int X, Y;
    COLORREF Expected;
};

TEST_F(SkinCompose, PartsChildrenFramesTransparencyAndRecolouring) {
    Write("bg.bmp", Solid(4, 4, Green));
    Write("l.bmp", Solid(2, 3, Red));
    Write("t.bmp", Solid(3, 2, Lime));
    Write("c.bmp", Solid(2, 2, Yellow));
    Write("pic.bmp", Bmp24(6, 4, [](int x, int) { return x < 3 ? Grey : Red; }));
    Write("tp.bmp", Bmp24(4, 4, [](int x, int) { return x < 2 ? Fuchsia : Aqua; }));
    const TSkinDefinition skin = Read(R"(
[Size]
Def_Width=40
Def_Height=30
[Basic]
Color=clNavy
Bitmap=bg.bmp
PositionX=2
PositionY=0
[Option-1]
Width=20
Height=12
Color=clWhite
Left=2
Top=2
Child=Kid,Over,
Frame=1
Line_L=l.bmp
Line_T=t.bmp
Corner_LT=c.bmp
Corner_RB=c.bmp
[Kid]
Width=4
Height=4
Color=clBlue
Left=Middle
Top=Center
[Over]
Width=2
Height=2
Color=clAqua
Left=8
Top=4
[Option-2]
Bitmap=pic.bmp
FromColor1=clRed
ToColor1=clFuchsia
FromColor2=clGray
ToColor2=clTeal
Left=-2
Top=-1
[Option-3]
Bitmap=tp.bmp
Transparent=1
TransparentColor=clFuchsia
Left=24
Top=20
[Option-4]
Width=5
Height=5
Color=clRed
Transparent=1
Left=2
Top=20
[Option-5]
Bitmap=missing.bmp
Child=Cover
[Cover]
Width=40
Height=30
Color=clRed
)");
    ASSERT_TRUE(skin.Ok) << skin.Error;
    const TSkinComposeResult result = ComposeSkin(skin);
    ASSERT_TRUE(result.Ok) << result.Error;
    const TMemoryBitmap& picture = result.Picture->Background;
    EXPECT_EQ(picture.Width, 40);
    EXPECT_EQ(picture.Height, 30);
    const TPixelCase cases[] = {
        {"background colour", 1, 1, Navy},
        {"background bitmap at the right edge, top", 38, 1, Green},
        {"below the background bitmap", 38, 5, Navy},
        {"plain part", 8, 12, White},
        {"child in the middle of its part", 13, 9, Blue},
        {"the later child over the earlier", 11, 7, Aqua},
        {"left line, third tile", 2, 10, Red},
        {"left edge: last tile left for a corner", 3, 12, White},
        {"top line, fourth tile", 12, 3, Lime},
        {"top edge: last tile left for a corner", 21, 2, White},
        {"left-top corner over the lines", 2, 2, Yellow},
        {"right-bottom corner", 21, 13, Yellow},
        {"recoloured second colour", 33, 26, Teal},
        {"recoloured first colour", 36, 27, Fuchsia},
        {"transparent pixels leave the background", 24, 21, Navy},
        {"opaque pixels of a transparent part", 26, 21, Aqua},
        {"transparent part without a colour is not drawn", 3, 21, Navy},
        {"children of a part whose bitmap is missing", 0, 29, Navy},
    };
    for (const TPixelCase& c : cases)
        EXPECT_EQ(SkinPixel(picture, c.X, c.Y), c.Expected) << c.What;
    EXPECT_FALSE(result.Picture->Region) << "not a shaped skin";
    EXPECT_TRUE(result.Picture->Palette);

    // A part reaching beyond the window's left and bottom edges is made only as far as it
    // shows: what shows is what the whole part would give there.
    const auto shade = [](int x, int y) { return RGB(x * 16, y * 16, 0x40); };
    Write("grad.bmp", Bmp24(12, 12, shade));
    const TSkinDefinition clipped = Read(R"(
[Size]
Def_Width=40
Def_Height=30
[Basic]
Color=clNavy
[Option-1]
Bitmap=grad.bmp
Left=-34
Top=24
Child=Dot
Frame=1
Corner_LT=c.bmp
Corner_RT=c.bmp
Line_B=t.bmp
[Dot]
Width=2
Height=2
Color=clAqua
Left=7
Top=3
)");
    const TSkinComposeResult part = ComposeSkin(clipped);
    ASSERT_TRUE(part.Ok) << part.Error;
    // The part's top-left is at (40 - 34 - 12, 24) = (-6, 24).
    const TPixelCase edges[] = {
        {"the part's first column that shows", 0, 29, shade(6, 5)},
        {"its last column", 5, 28, shade(11, 4)},
        {"beside it", 6, 25, Navy},
        {"its child at (7, 3) of the part", 1, 27, Aqua},
        {"beside the child", 0, 27, shade(6, 3)},
        {"its right-top corner", 4, 24, Yellow},
        {"below the corner", 4, 26, shade(10, 2)},
    };
    for (const TPixelCase& c : edges)
        EXPECT_EQ(SkinPixel(part.Picture->Background, c.X, c.Y), c.Expected) << c.What;
}

TEST_F(SkinCompose, MarksComposeTheirFramesOverTheBackground) {
    // Frame 0: two transparent columns, then blue; frame 1: lime.
    Write("page.bmp", Bmp24(4, 8, [](int x, int y) {
              return y >= 4 ? Lime : x < 2 ? Fuchsia : Blue;
          }));
    Write("protect.bmp", Solid(3, 5, Aqua));
    const TSkinDefinition skin = Read(R"(
[Size]
Def_Width=40
Def_Height=30
[Basic]
Color=clNavy
[Option-1]
Width=1
Height=1
Color=clRed
Left=10
Top=10
[Page-1]
Bitmap=page.bmp
Left=10
Top=10
Transparent=1
TransparentColor=clFuchsia
[MenuProtect]
Bitmap=protect.bmp
Left=-1
Top=Middle
)");
    ASSERT_TRUE(skin.Ok) << skin.Error;
    const TSkinComposeResult result = ComposeSkin(skin);
    ASSERT_TRUE(result.Ok) << result.Error;

    const TSkinMarkPicture& page = result.Picture->Marks[1];
    ASSERT_TRUE(page.Loaded);
    EXPECT_EQ(page.Left, 10);
    EXPECT_EQ(page.Top, 10);
    EXPECT_EQ(page.Width, 4);
    EXPECT_EQ(page.Height, 4);
    EXPECT_EQ(page.Composed.Width, 8);
    EXPECT_EQ(page.Composed.Height, 12);
    const TPixelCase composed[] = {
        {"loaded frame kept on the left", 0, 0, Fuchsia},
        {"transparent pixel shows the part under it", 4, 0, Red},
        {"transparent pixel shows the background", 5, 1, Navy},
        {"opaque pixel of frame 0", 6, 0, Blue},
        {"frame 1", 4, 5, Lime},
    };
    for (const TPixelCase& c : composed)
        EXPECT_EQ(SkinPixel(page.Composed, c.X, c.Y), c.Expected) << c.What;
    ASSERT_TRUE(page.Mask);
    EXPECT_EQ(MonoPixel(page.Mask.Get(), 1, 2), White) << "transparent colour";
    EXPECT_EQ(MonoPixel(page.Mask.Get(), 2, 2), 0u) << "picture";
    EXPECT_EQ(MonoPixel(page.Mask.Get(), 0, 6), 0u) << "frame 1";

    const TSkinMarkPicture& protect = result.Picture->Marks[0];
    ASSERT_TRUE(protect.Loaded);
    EXPECT_EQ(protect.Height, 2) << "a 5-pixel bitmap gives two frames of 2 rows";
    EXPECT_EQ(protect.Left, 36);
    EXPECT_EQ(protect.Top, 14);
    EXPECT_EQ(SkinPixel(protect.Composed, 4, 3), Aqua) << "an opaque mark repeats its frames";
    EXPECT_FALSE(protect.Mask);
    EXPECT_FALSE(result.Picture->Marks[2].Loaded);
    EXPECT_FALSE(result.Picture->Marks[3].Loaded);
}

TEST_F(SkinCompose, LoadingGivesTheControlItsLookOrKeepsTheOneItHad) {
    Write("page.bmp", Bmp24(4, 8, [](int x, int) { return x < 2 ? Fuchsia : Blue; }));
    const char* const good = R"(
[Size]
Def_Width=40
Def_Height=30
[Basic]
Color=clNavy
Transparent=1
TransparentColor=clNavy
[Menu]
Font_SelectColor=clLime
LineSpace=7
[Option-1]
Width=4
Height=4
Color=clRed
Left=20
Top=20
[Page-3]
Bitmap=page.bmp
Left=20
Top=20
Transparent=1
TransparentColor=clFuchsia
)";
    // Fails after the font's height was asked at the definition's line space (a menu area that
    // follows the window's height), at the area's malformed position.
    const char* const broken = "[Menu]\nLineSpace=2\nResize=2\nTop=-x\n";
    auto load = [&](const char* text, TListImage& list, std::string& error, HRGN* region) {
        TStringList lines;
        lines.SetText(text);
        TSkinInfo info;
        info.Path = Folder / "skin.ini";
        const bool loaded = list.LoadSkinData(info, lines, error, region);
        EXPECT_EQ(info.Width, loaded ? 40 : 720);
        return loaded;
    };
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(host);
    {
        TListImage list;
        ASSERT_TRUE(list.Create(host, 640, 480));
        std::string error;
        HRGN region = nullptr;
        ASSERT_TRUE(load(good, list, error, &region)) << error;
        // The shaped skin's region (the navy background left out) goes to the caller.
        ASSERT_TRUE(region);
        EXPECT_FALSE(PtInRegion(region, 1, 1));
        EXPECT_TRUE(PtInRegion(region, 21, 21));
        DeleteObject(region);
        EXPECT_TRUE(list.GetPalette());
        EXPECT_EQ(list.Menu().SelectColor(), Lime);
        EXPECT_EQ(list.LineSpace(), 7);
        const TPageImage& mark = list.Mark(3);
        EXPECT_EQ(mark.Left(), 20);
        EXPECT_EQ(mark.Top(), 20);
        EXPECT_EQ(mark.Width(), 4);
        EXPECT_EQ(mark.Height(), 4);
        EXPECT_TRUE(mark.Transparent());
        EXPECT_EQ(mark.TransparentColor(), Fuchsia);
        RECT client{};
        GetClientRect(list, &client);
        EXPECT_EQ(client.right, 40);
        EXPECT_EQ(client.bottom, 30);

        list.Mark(3).SetImageIndex(0);
        auto expectLook = [&](const char* when) {
            TMemoryBitmap shot;
            ASSERT_TRUE(shot.Create24(40, 30));
            list.RenderTo(shot.Dc());
            const TPixelCase cases[] = {
                {"background", 1, 1, Navy},
                {"part under the mark's transparent pixels", 21, 21, Red},
                {"the mark's picture", 22, 21, Blue},
            };
            for (const TPixelCase& c : cases)
                EXPECT_EQ(SkinPixel(shot, c.X, c.Y), c.Expected) << c.What << ", " << when;
        };
        expectLook("loaded");

        // A definition that cannot be made changes nothing, the line space included.
        EXPECT_FALSE(load(broken, list, error, nullptr));
        EXPECT_NE(error.find("[Menu] Top"), std::string::npos) << error;
        EXPECT_EQ(list.LineSpace(), 7);
        EXPECT_EQ(list.Menu().SelectColor(), Lime);
        expectLook("after a failed load");

        // Every picture, mask and palette of a load is freed by the next one.
        ASSERT_TRUE(load(good, list, error, nullptr));
        const int afterOne = GdiObjectCount();
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(load(good, list, error, nullptr));
        EXPECT_EQ(GdiObjectCount(), afterOne);
    }
    DestroyWindow(host);
}

TEST_F(SkinCompose, AScaleChangeShowsTheSamePicturesAsALoadAtThatScale) {
    // A background whose every pixel differs from its neighbours, so that a picture scaled from
    // anything but the composed background shows.
    Write("back.bmp", Bmp24(48, 36, [](int x, int y) {
        return RGB(x * 5 % 256, y * 7 % 256, (x * y) % 256);
    }));
    const char* const text = "[Size]\nDef_Width=48\nDef_Height=36\n[Basic]\nBitmap=back.bmp\n";
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 48, 36, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(host);
    {
        auto load = [&](TListImage& list, int dpi) {
            ASSERT_TRUE(list.Create(host, 48, 36));
            TSkinInfo info;
            list.SetDpi(dpi, info, nullptr);
            TStringList lines;
            lines.SetText(text);
            info.Path = Folder / "skin.ini";
            std::string error;
            ASSERT_TRUE(list.LoadSkinData(info, lines, error, nullptr)) << error;
        };
        // Every pixel of what the control shows.
        auto shot = [](TListImage& list) {
            RECT client{};
            GetClientRect(list, &client);
            TMemoryBitmap bitmap;
            std::vector<COLORREF> pixels;
            if (!bitmap.Create24(client.right, client.bottom)) return pixels;
            list.RenderTo(bitmap.Dc());
            for (int y = 0; y < client.bottom; ++y)
                for (int x = 0; x < client.right; ++x)
                    pixels.push_back(SkinPixel(bitmap, x, y));
            return pixels;
        };
        TListImage moved, at96, at144;
        load(moved, 96);
        load(at96, 96);
        load(at144, 144);
        const std::vector<COLORREF> design = shot(at96);
        ASSERT_EQ(design.size(), 48u * 36u);
        EXPECT_EQ(design[2 * 48 + 13], RGB(65, 14, 26)) << "the bitmap at (13, 2)";

        TSkinInfo info;
        ASSERT_TRUE(moved.SetDpi(144, info, nullptr));
        EXPECT_EQ(info.Width, 72);
        EXPECT_EQ(info.Height, 54);
        EXPECT_TRUE(shot(moved) == shot(at144)) << "at 144 dots per inch after 96";
        ASSERT_TRUE(moved.SetDpi(96, info, nullptr));
        EXPECT_EQ(info.Width, 48);
        EXPECT_TRUE(shot(moved) == design) << "back at 96 dots per inch";
        ASSERT_TRUE(moved.SetDpi(120, info, nullptr));
        ASSERT_TRUE(at144.SetDpi(120, info, nullptr));
        EXPECT_TRUE(shot(moved) == shot(at144)) << "at 120 dots per inch";
    }
    DestroyWindow(host);
}

TEST_F(SkinCompose, RegionLeavesOutTheTransparentColour) {
    const TSkinDefinition skin = Read(R"(
[Size]
Def_Width=20
Def_Height=20
[Basic]
Color=clFuchsia
Transparent=1
TransparentColor=clFuchsia
[Option-1]
Width=10
Height=10
Color=clRed
Left=5
Top=5
)");
    ASSERT_TRUE(skin.Ok) << skin.Error;
    TSkinComposeResult result = ComposeSkin(skin);
    ASSERT_TRUE(result.Ok) << result.Error;
    ASSERT_TRUE(result.Picture->Region);
    const struct {
        int X, Y;
        bool Inside;
    } points[] = {{6, 6, true}, {14, 14, true}, {2, 2, false}, {15, 15, false}, {5, 4, false}};
    for (const auto& p : points)
        EXPECT_EQ(PtInRegion(result.Picture->Region.Get(), p.X, p.Y) != FALSE, p.Inside)
            << p.X << "," << p.Y;

    // The window takes the region over; taking it off again frees it.
    const int before = GdiObjectCount();
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(window);
    EXPECT_TRUE(result.Picture->ApplyRegion(window, false));
    EXPECT_FALSE(result.Picture->Region);
    ReleaseSkinRegion(window);
    DestroyWindow(window);
    EXPECT_LE(GdiObjectCount(), before);
}

TEST_F(SkinCompose, RegionOfWholeEmptyAndLargeBitmaps) {
    struct TCase {
        const char* What;
        COLORREF Fill;
        int Kind;
        RECT Box;
    } cases[] = {
        {"no pixel of the colour: the whole rectangle", Red, SIMPLEREGION, {0, 0, 30, 20}},
        {"every pixel of the colour: nothing", Fuchsia, NULLREGION, {0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        TMemoryBitmap bitmap;
        ASSERT_TRUE(bitmap.Create24(30, 20));
        HBRUSH brush = CreateSolidBrush(c.Fill);
        RECT all = {0, 0, 30, 20};
        FillRect(bitmap.Dc(), &all, brush);
        DeleteObject(brush);
        TGdiObject<HRGN> region(BitmapToRegion(bitmap, Fuchsia));
        ASSERT_TRUE(region) << c.What;
        RECT box{};
        EXPECT_EQ(GetRgnBox(region.Get(), &box), c.Kind) << c.What;
        if (c.Kind != NULLREGION) {
            EXPECT_TRUE(EqualRect(&box, &c.Box)) << c.What;
        }
    }

    // Full HD in 8-pixel squares: about 130,000 runs, many batches.
    TMemoryBitmap large;
    ASSERT_TRUE(large.Create24(1920, 1080));
    HBRUSH brush = CreateSolidBrush(Fuchsia);
    for (int y = 0; y < 1080; y += 8)
        for (int x = (y / 8 % 2) * 8; x < 1920; x += 16) {
            RECT square = {x, y, x + 8, y + 8};
            FillRect(large.Dc(), &square, brush);
        }
    DeleteObject(brush);
    TGdiObject<HRGN> region(BitmapToRegion(large, Fuchsia));
    ASSERT_TRUE(region);
    const struct {
        int X, Y;
        bool Inside;
    } points[] = {{0, 0, false},      {8, 0, true},        {0, 8, true},    {8, 8, false},
                  {1919, 1079, true}, {1911, 1079, false}, {960, 543, true}};
    for (const auto& p : points)
        EXPECT_EQ(PtInRegion(region.Get(), p.X, p.Y) != FALSE, p.Inside) << p.X << "," << p.Y;
}

TEST_F(SkinCompose, ARegionTheSystemRefusesEndsTheShapeWithoutOverrunningItsBatch) {
    // Single-pixel runs across the widest picture: 4096 runs a row, so a batch that fails leaves
    // thousands of runs of its row still to come.
    TMemoryBitmap stripes;
    ASSERT_TRUE(stripes.Create24(MaxSkinSize, 3));
    HBRUSH brush = CreateSolidBrush(Fuchsia);
    for (int x = 0; x < MaxSkinSize; x += 2) {
        RECT column = {x, 0, x + 1, 3};
        FillRect(stripes.Dc(), &column, brush);
    }
    DeleteObject(brush);
    const int before = GdiObjectCount();
    for (int failing : {1, 2, 3, 31, 32, 95}) {
        int calls = 0;
        DWORD largest = 0;
        TGdiObject<HRGN> region(
            BitmapToRegion(stripes, Fuchsia, [&](const RGNDATA* data, DWORD size) -> HRGN {
                ++calls;
                largest = std::max(largest, data->rdh.nCount);
                EXPECT_EQ(size, sizeof(RGNDATAHEADER) + data->rdh.nCount * sizeof(RECT));
                return calls == failing ? nullptr : ExtCreateRegion(nullptr, size, data);
            }));
        EXPECT_FALSE(region) << "batch " << failing << " failed";
        EXPECT_EQ(calls, failing) << "no batch is made once one failed";
        EXPECT_LE(largest, static_cast<DWORD>(SkinRegionBatch));
    }
    EXPECT_EQ(GdiObjectCount(), before) << "the batches made before the failure are freed";
    // The shape is made again once the system makes regions.
    TGdiObject<HRGN> region(BitmapToRegion(stripes, Fuchsia));
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.Get(), 8190, 2));
    EXPECT_TRUE(PtInRegion(region.Get(), 8191, 2));
}

TEST_F(SkinCompose, PaletteSplitsAlongTheWidestChannel) {
    struct TCase {
        const char* What;
        TPixelOf Pixel;
        std::vector<COLORREF> Entries; // in the sequence the splitting emits them
    } cases[] = {
        {"one colour", [](int, int) { return RGB(200, 100, 48); }, {RGB(200, 100, 48)}},
        {"one cell: its pixels' low bits averaged",
         [](int x, int) { return x < 2 ? RGB(201, 101, 50) : RGB(203, 103, 52); },
         {RGB(202, 102, 51)}},
        {"red and blue split on red, the upper part first",
         [](int x, int) { return x < 2 ? Blue : Red; },
         {Red, Blue}},
        {"green and blue split on green",
         [](int x, int) { return x < 2 ? Blue : Lime; },
         {Lime, Blue}},
    };
    for (const TCase& c : cases) {
        TMemoryBitmap bitmap;
        ASSERT_TRUE(bitmap.Create24(4, 4));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                SetPixel(bitmap.Dc(), x, y, c.Pixel(x, y));
        TGdiObject<HPALETTE> palette(PaletteFromBitmap(bitmap));
        ASSERT_TRUE(palette) << c.What;
        PALETTEENTRY entries[256]{};
        const UINT count = GetPaletteEntries(palette.Get(), 0, 256, entries);
        ASSERT_EQ(count, c.Entries.size()) << c.What;
        for (UINT i = 0; i < count; ++i)
            EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), c.Entries[i])
                << c.What << ", entry " << i;
    }

    // A bitmap of the caller's, selected nowhere.
    const std::uint32_t bits[4] = {0x00C86430, 0x00C86430, 0x00C86430, 0x00C86430};
    TGdiObject<HBITMAP> loose(CreateBitmap(2, 2, 1, 32, bits));
    ASSERT_TRUE(loose);
    TGdiObject<HPALETTE> palette(PaletteFromBitmap(loose.Get()));
    PALETTEENTRY entry{};
    ASSERT_EQ(GetPaletteEntries(palette.Get(), 0, 1, &entry), 1u);
    EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), RGB(0xC8, 0x64, 0x30));
    TGdiObject<HRGN> region(BitmapToRegion(loose.Get(), RGB(0xC8, 0x64, 0x30)));
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.Get(), &box), NULLREGION);
}

TEST_F(SkinCompose, BadBitmapFilesEndTheCompositionWithoutLeaks) {
    std::string truncated = Solid(8, 8, Red);
    truncated.resize(54 + 30);
    std::string absurd = Solid(2, 2, Red);
    absurd[18] = '\xA0', absurd[19] = '\x86', absurd[20] = '\x01'; // width 100,000
    absurd[22] = '\xA0', absurd[23] = '\x86', absurd[24] = '\x01'; // height 100,000
    std::string notBmp = Solid(2, 2, Red);
    notBmp[0] = 'X';
    std::string depth = Solid(2, 2, Red);
    depth[28] = 7;
    std::string table = Solid(4, 4, Red); // as 8 bits per pixel: 1,024 bytes of table needed
    table[28] = 8;
    const struct {
        const char* Name;
        std::string Bytes;
        const char* Fault;
    } cases[] = {
        {"truncated.bmp", truncated, "ファイルが途中で切れています"},
        {"absurd.bmp", absurd, "100000 x 100000"},
        {"short.bmp", "BM\x10", "短いファイル"},
        {"notbmp.bmp", notBmp, "ビットマップファイルではありません"},
        {"depth.bmp", depth, "7 ビット"},
        {"table.bmp", table, "カラーテーブルの途中"},
    };
    for (const auto& c : cases) {
        Write(c.Name, c.Bytes);
        TMemoryBitmap bitmap;
        std::string error;
        EXPECT_EQ(LoadSkinBitmap(Folder / c.Name, bitmap, error), TSkinBitmapLoad::Invalid)
            << c.Name;
        EXPECT_NE(error.find(c.Name), std::string::npos) << error;
        EXPECT_NE(error.find(c.Fault), std::string::npos) << error;
        EXPECT_TRUE(bitmap.Empty());

        // As a part's edge, after the background and a part were made.
        const int before = GdiObjectCount();
        {
            std::string text = "[Basic]\nColor=clRed\n[Option-1]\nWidth=10\nHeight=10\n";
            text.append("Color=clRed\nFrame=1\nLine_B=").append(c.Name);
            const TSkinDefinition skin = Read(text);
            const TSkinComposeResult result = ComposeSkin(skin);
            EXPECT_FALSE(result.Ok) << c.Name;
            EXPECT_NE(result.Error.find(c.Name), std::string::npos) << result.Error;
            EXPECT_FALSE(result.Picture);
        }
        EXPECT_EQ(GdiObjectCount(), before) << c.Name;
    }
    TMemoryBitmap bitmap;
    std::string error;
    EXPECT_EQ(LoadSkinBitmap(Folder / "none.bmp", bitmap, error), TSkinBitmapLoad::Missing);
}

TEST_F(SkinCompose, FaultsOfTheDefinitionEndTheComposition) {
    Write("pic.bmp", Solid(2, 2, Red));
    const struct {
        const char* What;
        const char* Text;
        const char* Fault;
    } cases[] = {
        {"malformed position of a bitmap part",
         R"(
[Option-1]
Bitmap=pic.bmp
Left=-x
)",
         "[Option-1] Left"},
        {"malformed position of a child's bitmap part",
         R"(
[Option-1]
Width=5
Height=5
Color=clRed
Child=Kid
[Kid]
Bitmap=pic.bmp
Top=-?
)",
         "[Kid] Top"},
        {"recolouring with a colour that is not one",
         R"(
[Option-1]
Bitmap=pic.bmp
FromColor1=clRed
ToColor1=nonsense
)",
         "[Option-1]"},
        {"malformed position of a mark",
         R"(
[Page-2]
Bitmap=pic.bmp
Left=-left
)",
         "[Page-2] Left"},
    };
    for (const auto& c : cases) {
        const TSkinDefinition skin = Read(c.Text);
        const TSkinComposeResult result = ComposeSkin(skin);
        EXPECT_FALSE(result.Ok) << c.What;
        EXPECT_NE(result.Error.find(c.Fault), std::string::npos) << c.What << ": " << result.Error;
    }
}

TEST_F(SkinCompose, PartsNamingThemselvesAsChildrenDoNotHang) {
    const TSkinDefinition skin = Read(R"(
[Size]
Def_Width=20
Def_Height=20
[Basic]
Color=clNavy
[Option-1]
Width=10
Height=10
Color=clRed
Child=Option-1,Loop
[Loop]
Width=4
Height=4
Color=clLime
Child=Loop,Option-1,Loop
)");
    ASSERT_TRUE(skin.Ok) << skin.Error;
    const TSkinComposeResult result = ComposeSkin(skin);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(SkinPixel(result.Picture->Background, 1, 1), Lime);
    EXPECT_EQ(SkinPixel(result.Picture->Background, 8, 8), Red);
    EXPECT_EQ(SkinPixel(result.Picture->Background, 12, 12), Navy);
}

} // namespace
