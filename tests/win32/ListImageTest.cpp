#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "GdiCount.h"
#include "menu/GdiMetrics.h"
#include "menu/ListImage.h"

// The menu's list control on the real platform: what it draws where (read back as pixels), how
// keys reach the owner and the menu, and which rectangles a new choice copies to the screen.
// The menu is set up as an empty skin gives it: a 720 x 480 black window, a 400 x 220 menu area
// at (64, 32), blue for the chosen line and aqua for the others.

namespace {

constexpr COLORREF Blue = 0xFF0000;
constexpr COLORREF Aqua = 0xFFFF00;
constexpr COLORREF Red = 0x0000FF;
constexpr COLORREF Green = 0x00FF00;
constexpr COLORREF Magenta = 0xFF00FF;
constexpr COLORREF Grey = 0x404040;

const char HostClassName[] = "ListImageTestHost";

// System commands sent on this thread (an Alt key that nobody took ends up as one, asking for
// the keyboard menu).
int SystemCommands = 0;

LRESULT CALLBACK CountSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_SYSCOMMAND)
        ++SystemCommands;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TStringList JapaneseLines() {
    TStringList lines;
    const char* const names[] = {"メモ帳",       "電卓",
                                 "ペイント",     "コマンド プロンプト",
                                 "Mirto 設定",   "エクスプローラー",
                                 "ワードパッド", "タスク マネージャー",
                                 "二行の\n名前", "Excel 2003",
                                 "ｶﾀｶﾅ ﾃｷｽﾄ",    "フォルダー\t(タブ)",
                                 "ペイント 3D",  "メール",
                                 "カレンダー",   "地図",
                                 "写真",         "音楽",
                                 "動画",         "天気",
                                 "ニュース",     "辞書 ABC",
                                 "時計",         "カメラ",
                                 "設定",         "ヘルプ"};
    for (const char* name : names)
        lines.Add(name);
    return lines;
}

// A captured image, 32 bits per pixel, read as 0x00BBGGRR.
struct TCapture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    COLORREF At(int x, int y) const {
        const std::uint32_t p = Pixels[static_cast<std::size_t>(y) * Width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of exactly this colour inside [left, right) x [top, bottom).
    int Count(COLORREF color, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = std::max(0, top); y < std::min(Height, bottom); ++y)
            for (int x = std::max(0, left); x < std::min(Width, right); ++x)
                n += At(x, y) == color;
        return n;
    }
    int Count(COLORREF color, const RECT& r) const {
        return Count(color, r.left, r.top, r.right, r.bottom);
    }
};

// Draws through a callback into a 32-bit device-independent bitmap and reads it back.
template <typename TDraw> TCapture Capture(int width, int height, TDraw draw) {
    TCapture capture;
    capture.Width = width;
    capture.Height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    capture.Pixels.assign(p, p + static_cast<std::size_t>(width) * height);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return capture;
}

// Writes the capture as a 24-bit BMP file (to look at the menu as a user would see it).
void SaveBmp(const TCapture& c, const std::string& path) {
    const int stride = (c.Width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = c.Width;
    info.biHeight = c.Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * c.Height;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::vector<unsigned char> row(static_cast<std::size_t>(stride));
    for (int y = c.Height - 1; y >= 0; --y) {
        for (int x = 0; x < c.Width; ++x) {
            const COLORREF p = c.At(x, y);
            row[x * 3] = GetBValue(p);
            row[x * 3 + 1] = GetGValue(p);
            row[x * 3 + 2] = GetRValue(p);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
}

// A bitmap of frames stacked vertically, each filled with its colour; a border of the given
// width in another colour when asked.
HBITMAP MakeFrames(int width, int height, std::vector<COLORREF> colors, int border = 0,
                   COLORREF borderColor = 0) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateCompatibleBitmap(screen, width, height * static_cast<int>(colors.size()));
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (std::size_t f = 0; f < colors.size(); ++f) {
        const int top = static_cast<int>(f) * height;
        auto fill = [&](RECT r, COLORREF color) {
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        };
        fill(RECT{0, top, width, top + height}, border ? borderColor : colors[f]);
        if (border)
            fill(RECT{border, top + border, width - border, top + height - border}, colors[f]);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// One host window for all cases: a top-level window takes seconds to go away under Wine
// without a window manager, its children do not.
class ListImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = HostClassName;
        RegisterClassExA(&wc);
        Host = CreateWindowExA(0, HostClassName, "ListImage", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 720,
                               480, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(Host, SW_SHOW);
        SetForegroundWindow(Host);
    }

    static void TearDownTestSuite() {
        if (Host) DestroyWindow(Host);
        Host = nullptr;
        Pump();
    }

    void SetUp() override {
        ASSERT_NE(Host, nullptr);
        ASSERT_TRUE(List.Create(Host, 720, 480));

        TMenuImage& menu = List.Menu();
        menu.SetLeft(64);
        menu.SetTop(32);
        menu.SetWidth(400);
        menu.SetHeight(220);
        menu.UpdateColumnWidth();
        menu.SetSelectColor(Blue);
        menu.SetNormalColor(Aqua);
        // Launcher fashion: three pages whatever the lines, page marks of 16 x 16 (red for the
        // shown page, green for a page that exists).
        for (int k = 1; k <= 3; ++k) {
            TPageImage& mark = List.Mark(k);
            mark.SetBounds(600 + 20 * k, 440, 16, 16);
            HBITMAP frames = MakeFrames(16, 16, {Red, Green});
            List.SetMarkBitmap(k, frames);
            DeleteObject(frames);
            mark.SetImageCount(2);
        }
        List.SetPicture(nullptr);
        menu.SetPageCount(3);
        menu.SetItems(JapaneseLines());
        menu.SetPageIndex(1);

        SetFocus(List);
        UpdateWindow(Host);
        Pump();
    }

    void TearDown() override {
        List.Destroy();
        Pump();
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // What the control shows, drawn through WM_PRINTCLIENT.
    TCapture Render() {
        return Capture(720, 480, [&](HDC dc) {
            SendMessageA(List, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        });
    }

    // What the window has on the screen.
    TCapture Screen() {
        return Capture(720, 480, [&](HDC dc) {
            HDC window = GetDC(List);
            BitBlt(dc, 0, 0, 720, 480, window, 0, 0, SRCCOPY);
            ReleaseDC(List, window);
        });
    }

    // Where the geometry puts a line, measured with the menu font as the control does.
    TItemLayout Layout(int index) {
        Fonts.Update(List.Menu().Font(), List.Dpi());
        HDC dc = CreateCompatibleDC(nullptr);
        TItemLayout layout;
        EXPECT_TRUE(LayoutItem(List.Menu(), TGdiTextMetrics(dc, Fonts), index, layout));
        DeleteDC(dc);
        return layout;
    }

    RECT LineRect(int index) {
        const TMenuRect r = Layout(index).Rect;
        return RECT{r.Left, r.Top, r.Right, r.Bottom};
    }

    // The chosen line's underline as a one-pixel-high rectangle.
    RECT UnderlineRect(int index) {
        const auto lines = Underlines(Layout(index), false);
        EXPECT_EQ(lines.size(), 1u);
        if (lines.empty()) return RECT{};
        return RECT{lines[0].Left, lines[0].Top, lines[0].Right, lines[0].Top + 1};
    }

    void Key(UINT message, WPARAM key, LPARAM data = 0) { SendMessageA(List, message, key, data); }

    static inline HWND Host = nullptr;
    TListImage List;
    TMenuFonts Fonts;
};

constexpr LPARAM AltHeld = 1 << 29;

} // namespace

TEST_F(ListImage, DrawsTheChosenLineUnderlinedWhereTheGeometrySays) {
    ASSERT_EQ(GetFocus(), static_cast<HWND>(List));
    Key(WM_KEYDOWN, 'C');
    ASSERT_EQ(List.Menu().ItemIndex(), 2);
    const TCapture shot = Render();
    if (const char* folder = std::getenv("MIRTO_SHOT_DIR"))
        SaveBmp(shot, std::string(folder) + "\\listimage.bmp");

    // The underline: a blue line across the column at the computed row, nearly all of it.
    const RECT underline = UnderlineRect(2);
    const int length = underline.right - underline.left;
    EXPECT_GE(shot.Count(Blue, underline), length - 2);
    // Blue nowhere but on the chosen line and its underline.
    RECT chosen = LineRect(2);
    chosen.bottom = std::max(chosen.bottom, underline.bottom);
    const int allBlue = shot.Count(Blue, 0, 0, 720, 480);
    EXPECT_EQ(allBlue, shot.Count(Blue, chosen));
    // A row above or below the underline is not a line.
    EXPECT_LT(shot.Count(Blue, underline.left, underline.top - 1, underline.right, underline.top),
              length / 2);

    // The other lines are aqua text (line 0 is "メモ帳"), with no underline of their own.
    const RECT first = LineRect(0);
    EXPECT_GT(shot.Count(Aqua, first), 20);
    const RECT firstUnderline{first.left, first.top + Layout(0).Unit - 3, first.right,
                              first.top + Layout(0).Unit - 2};
    EXPECT_LT(shot.Count(Aqua, firstUnderline), (first.right - first.left) / 2);
    // Outside the menu area and the marks, the background stays black.
    EXPECT_EQ(shot.Count(0, 0, 0, 720, 30), 720 * 30);
}

TEST_F(ListImage, JapaneseGlyphsAndLatinLettersBothLeaveInk) {
    const TCapture shot = Render();
    // "メモ帳" is three double-byte glyphs; each draws inside its advance.
    const TItemLayout memo = Layout(0);
    ASSERT_EQ(memo.Glyphs.size(), 3u);
    for (const TMenuGlyph& glyph : memo.Glyphs) {
        EXPECT_EQ(glyph.Charset, ShiftJisCharset);
        EXPECT_GT(
            shot.Count(Aqua, glyph.X, memo.Rect.Top, glyph.X + glyph.Extent.Cx, memo.Rect.Bottom),
            3)
            << glyph.Text;
    }
    // "Mirto 設定": Latin letters in ANSI, the blank and the kanji in Shift_JIS.
    const TItemLayout mixed = Layout(4);
    ASSERT_GE(mixed.Glyphs.size(), 7u);
    EXPECT_EQ(mixed.Glyphs[0].Charset, AnsiCharset);
    EXPECT_EQ(mixed.Glyphs[5].Charset, ShiftJisCharset);
    EXPECT_TRUE(mixed.Glyphs[6].DoubleByte);
    EXPECT_GT(shot.Count(Aqua, mixed.Glyphs[0].X, mixed.Rect.Top,
                         mixed.Glyphs[0].X + mixed.Glyphs[0].Extent.Cx, mixed.Rect.Bottom),
              3);
    // Half-width katakana keep the Shift_JIS font: in ANSI they would be Latin-1 signs.
    const TItemLayout kana = Layout(10);
    ASSERT_FALSE(kana.Glyphs.empty());
    EXPECT_EQ(kana.Glyphs[0].Text, "ｶ");
    EXPECT_EQ(kana.Glyphs[0].Charset, ShiftJisCharset);
}

TEST_F(ListImage, ShadowedTextAndABarForTheChosenLine) {
    TMenuImage& menu = List.Menu();
    menu.SetRelation(true);
    menu.SetRelationColor(Red);
    menu.SetMaxLines(2);
    Key(WM_KEYDOWN, 'C');
    const TCapture shot = Render();
    if (const char* folder = std::getenv("MIRTO_SHOT_DIR"))
        SaveBmp(shot, std::string(folder) + "\\listimage-shadow.bmp");

    // The bar: outlined in the shadow colour, three rows high, filled with the chosen colour.
    const auto bars = Underlines(Layout(2), true);
    ASSERT_EQ(bars.size(), 1u);
    const TMenuRect bar = bars[0];
    const int inner = bar.Right - 1 - (bar.Left + 1) - 1;
    EXPECT_EQ(shot.Count(Blue, bar.Left + 1, bar.Top + 1, bar.Right - 2, bar.Top + 2), inner);
    EXPECT_EQ(shot.Count(Red, bar.Left, bar.Top, bar.Right - 1, bar.Top + 1),
              bar.Right - 1 - bar.Left);
    EXPECT_EQ(shot.Count(Red, bar.Left, bar.Top + 2, bar.Right - 1, bar.Top + 3),
              bar.Right - 1 - bar.Left);
    // Every other line's text has its shadow up and to the left of the aqua glyphs.
    const RECT first = LineRect(0);
    EXPECT_GT(shot.Count(Red, first), 10);
    EXPECT_GT(shot.Count(Aqua, first), 10);
    // The line with a line feed now shows two text lines: ink below the first one's unit.
    const TItemLayout twoLines = Layout(8);
    EXPECT_EQ(twoLines.LinesUsed, 2);
    EXPECT_GT(shot.Count(Aqua, twoLines.TextStart, twoLines.Rect.Top + twoLines.Unit,
                         twoLines.Rect.Right, twoLines.Rect.Bottom),
              10);
}

TEST_F(ListImage, AReleasedSurfaceIsComposedAgainWithTheChoiceMadeMeanwhile) {
    Key(WM_KEYDOWN, 'C');
    const TCapture composed = Render();
    const int objects = GdiObjectCount();
    List.ReleaseSurface();
    EXPECT_LT(GdiObjectCount(), objects);
    EXPECT_EQ(Render().Pixels, composed.Pixels);

    // A choice made while there is no surface shows in the next one.
    List.ReleaseSurface();
    Key(WM_KEYDOWN, 'D');
    const TCapture shot = Render();
    const RECT now = UnderlineRect(3);
    EXPECT_GE(shot.Count(Blue, now), now.right - now.left - 2);
    EXPECT_EQ(shot.Count(Blue, UnderlineRect(2)), 0);
}

TEST_F(ListImage, PageMarksFollowThePage) {
    TCapture shot = Render();
    auto markRect = [&](int k) {
        const TMenuRect r = MarkRect(List.Mark(k));
        return RECT{r.Left, r.Top, r.Right, r.Bottom};
    };
    EXPECT_EQ(shot.Count(Red, markRect(1)), 256);
    EXPECT_EQ(shot.Count(Green, markRect(2)), 256);
    EXPECT_EQ(shot.Count(Green, markRect(3)), 256);

    // The full-stop key shows page 2: the marks change at once, on the screen too.
    Key(WM_KEYDOWN, VK_OEM_PERIOD);
    EXPECT_EQ(List.Menu().GetPageIndex(), 2);
    shot = Screen();
    EXPECT_EQ(shot.Count(Green, markRect(1)), 256);
    EXPECT_EQ(shot.Count(Red, markRect(2)), 256);
    // Page 2 has no lines: its positions show their letters only, the texts of page 1 are gone.
    const TItemLayout first = Layout(26);
    EXPECT_EQ(first.Label, "A.");
    EXPECT_FALSE(first.HasText);
    EXPECT_EQ(
        shot.Count(Aqua, first.TextStart, first.Rect.Top, first.Rect.Right, first.Rect.Bottom), 0);
    EXPECT_GT(shot.Count(Aqua, first.Rect.Left, first.Rect.Top, first.TextStart, first.Rect.Bottom),
              3);
}

TEST_F(ListImage, TransparentMarkShowsTheBackgroundThroughItsTransparentColour) {
    List.SetColor(Grey);
    TPageImage& protect = List.Mark(ProtectMark);
    protect.SetBounds(8, 8, 12, 12);
    HBITMAP frames = MakeFrames(12, 12, {Red, Green}, 3, Magenta);
    List.SetMarkBitmap(ProtectMark, frames);
    DeleteObject(frames);
    protect.SetImageCount(2);
    protect.SetTransparent(true);
    protect.SetTransparentColor(Magenta);
    List.SetPicture(nullptr); // composes the marks' frames again
    protect.SetImageIndex(0);
    const TCapture shot = Render();
    EXPECT_EQ(shot.Count(Red, 11, 11, 17, 17), 36);
    EXPECT_EQ(shot.Count(Grey, 8, 8, 20, 20), 144 - 36);
    EXPECT_EQ(shot.Count(Magenta, 0, 0, 720, 480), 0);
}

TEST_F(ListImage, FocusDecidesTheChosenLinesColour) {
    Key(WM_KEYDOWN, 'B');
    const RECT underline = UnderlineRect(1);
    const int length = underline.right - underline.left;
    EXPECT_GE(Screen().Count(Blue, underline), length - 2);
    SetFocus(Host);
    TCapture shot = Screen();
    EXPECT_EQ(shot.Count(Blue, 0, 0, 720, 480), 0);
    EXPECT_GE(shot.Count(Aqua, underline), length - 2);
    SetFocus(List);
    EXPECT_GE(Screen().Count(Blue, underline), length - 2);
}

TEST_F(ListImage, NewChoiceCopiesOnlyTheTwoLinesToTheScreen) {
    std::vector<RECT> copied;
    List.OnScreenUpdate = [&](const RECT& r) { copied.push_back(r); };
    Key(WM_KEYDOWN, 'C');
    copied.clear();
    Key(WM_KEYDOWN, 'F');
    ASSERT_EQ(List.Menu().ItemIndex(), 5);
    ASSERT_EQ(copied.size(), 2u);
    const RECT old = LineRect(2);
    RECT now = LineRect(5);
    now.bottom = std::max(now.bottom, UnderlineRect(5).bottom);
    EXPECT_TRUE(EqualRect(&copied[0], &old));
    EXPECT_TRUE(EqualRect(&copied[1], &now));
    // Nothing waits for a paint: the whole control was not invalidated.
    EXPECT_FALSE(GetUpdateRect(List, nullptr, FALSE));
    // And the screen shows the new choice, not the old one.
    const TCapture shot = Screen();
    EXPECT_EQ(shot.Count(Blue, old), 0);
    EXPECT_GE(shot.Count(Blue, UnderlineRect(5)), UnderlineRect(5).right - now.left - 2);
}

TEST_F(ListImage, OwnerSeesEveryKeyFirstAndMayConsumeIt) {
    std::vector<std::pair<std::uint16_t, TShiftState>> downs, ups;
    List.OnKeyDown = [&](std::uint16_t& key, TShiftState shift) {
        downs.emplace_back(key, shift);
        if (key == 'D' || key == VK_DOWN) key = 0;
    };
    List.OnKeyUp = [&](std::uint16_t& key, TShiftState shift) { ups.emplace_back(key, shift); };

    Key(WM_KEYDOWN, 'C');
    EXPECT_EQ(List.Menu().ItemIndex(), 2);
    Key(WM_KEYDOWN, 'D'); // consumed by the owner: the menu does not move
    Key(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(List.Menu().ItemIndex(), 2);
    Key(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(List.Menu().ItemIndex(), 1);

    // Keys pressed with Alt arrive as system keys and take the same road, Alt included.
    Key(WM_SYSKEYDOWN, 'E', AltHeld);
    EXPECT_EQ(List.Menu().ItemIndex(), 4);
    Key(WM_SYSKEYUP, 'E', AltHeld | (1 << 30) | (1u << 31));
    ASSERT_EQ(downs.size(), 5u);
    EXPECT_EQ(downs[4].first, 'E');
    EXPECT_EQ(downs[4].second & ssAlt, ssAlt);
    EXPECT_EQ(downs[0].second & ssAlt, 0u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].first, 'E');
    EXPECT_EQ(ups[0].second & ssAlt, ssAlt);

    // The character of an Alt key the menu took goes no further; one it left does.
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, CountSystemCommands, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    SystemCommands = 0;
    Key(WM_SYSKEYDOWN, 'F', AltHeld);
    Key(WM_SYSCHAR, 'f', AltHeld);
    EXPECT_EQ(SystemCommands, 0);
    Key(WM_SYSKEYDOWN, '1', AltHeld);
    Key(WM_SYSCHAR, '1', AltHeld);
    EXPECT_EQ(SystemCommands, 1);
    UnhookWindowsHookEx(hook);
}

TEST_F(ListImage, AsksForArrowsAndTabAndNeverErases) {
    const LRESULT code = SendMessageA(List, WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(code & (DLGC_WANTARROWS | DLGC_WANTTAB), DLGC_WANTARROWS | DLGC_WANTTAB);
    // Erasing is refused: the control's pixels stay as drawn.
    const TCapture before = Screen();
    HDC dc = GetDC(List);
    EXPECT_EQ(SendMessageA(List, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(List, dc);
    EXPECT_EQ(Screen().Pixels, before.Pixels);
}

TEST(GdiTextMetrics, GiveTheDeviceContextItsFontBackSoThatAChangedFontCanBeDeleted) {
    // Windows refuses to delete a font still selected into a device context, and the menu's
    // fonts are replaced whenever the font settings change.
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    TMenuFonts fonts;
    fonts.Update(TMenuFont{}, 96);
    {
        const TGdiTextMetrics metrics(dc, fonts);
        metrics.Extent("Aあ", ShiftJisCharset);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fonts.Get(ShiftJisCharset));
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
    DeleteDC(dc);
}

TEST(MenuFonts, ANewDescriptionDeletesTheFontsItReplacesAndTheSameOneKeepsThem) {
    // The settings dialog may change the menu font any number of times.
    TMenuFonts fonts;
    TMenuFont font;
    font.Size = 9;
    fonts.Update(font, 96);
    HFONT ansi = fonts.Get(AnsiCharset), shiftJis = fonts.Get(ShiftJisCharset);
    fonts.Update(font, 96);
    EXPECT_EQ(fonts.Get(AnsiCharset), ansi);
    for (int size = 10; size < 20; ++size) {
        font.Size = size;
        fonts.Update(font, 96);
        EXPECT_EQ(GetObjectType(ansi), 0u) << size;
        EXPECT_EQ(GetObjectType(shiftJis), 0u) << size;
        ansi = fonts.Get(AnsiCharset);
        shiftJis = fonts.Get(ShiftJisCharset);
        EXPECT_EQ(GetObjectType(ansi), static_cast<DWORD>(OBJ_FONT));
    }
}
