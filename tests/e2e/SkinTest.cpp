// Skins as the user sees them: the sample skins' pictures, marks and shape on the screen, the
// tray pictures a skin brings, and what a skin that cannot be made does.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "E2eFixture.h"
#include "LaunchHarness.h"
#include "dialogs/TabAppearanceIds.h"

namespace {

const std::string SampleSkins = MIRTO_SAMPLE_SKINS;
constexpr COLORREF Cut = RGB(255, 0, 255); // the sample skins' see-through colour

// Whether the screen shows rows [top, top + height) of a sample skin's picture with the row top
// at (x, y): every pixel that is not see-through (the picture read with the system's loader).
bool Shows(const TScreenShot& shot, const char* file, int top, int height, int x, int y) {
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, (SampleSkins + file).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    int drawn = 0, wrong = 0;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < info.bmWidth; ++column) {
            const COLORREF pixel = GetPixel(dc, column, top + row);
            if (pixel == Cut) continue;
            ++drawn;
            if (shot.Pixel(x + column, y + row) != pixel) ++wrong;
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return drawn > 0 && wrong == 0;
}

// An 8 bits-per-pixel run-length compressed BMP of the size whose rows are all left at the
// first colour (each ends at once): about 1 KB whatever the size it declares.
std::string CompressedBitmap(std::int32_t width, std::int32_t height) {
    std::string runs;
    for (int row = 0; row < 64; ++row)
        runs += std::string("\0\0", 2); // end of line
    runs += std::string("\0\1", 2);     // end of bitmap
    const std::uint32_t offBits = 14 + 40 + 256 * 4;
    std::string file = "BM";
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(offBits + static_cast<std::uint32_t>(runs.size()), 4);
    put(0, 4);
    put(offBits, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(8, 2);
    put(BI_RLE8, 4);
    put(static_cast<std::uint32_t>(runs.size()), 4);
    for (int i = 0; i < 4; ++i)
        put(0, 4); // resolution, colours used and important
    file.append(256 * 4, '\0');
    return file + runs;
}

bool IsColour(const TScreenShot& shot, const RECT& rect, COLORREF colour) {
    const int area = (rect.right - rect.left) * (rect.bottom - rect.top);
    return shot.Count(rect, [&](COLORREF c) { return c == colour; }) == area;
}

class Skin : public MirtoTest {
protected:
    Skin() : MirtoTest("Mirto.dll", "Skin.dll") {}

    void SetUp() override {
        MirtoTest::SetUp();
        ASSERT_TRUE(Folder.CopySkins(SampleSkins)) << "cannot copy the skins of " << SampleSkins;
    }

    void StartSkin(const std::string& settings) {
        ASSERT_NO_FATAL_FAILURE(StartWithSettings(settings));
    }
    void HoldMenu(WORD first, WORD second) {
        ASSERT_TRUE(HoldUntilMenu(Form(), first, second, [&] { FocusKeyWindow(); }))
            << "the call key showed no menu";
    }
    void Release(WORD first, WORD second) {
        KeyUp(second);
        KeyUp(first);
        EXPECT_TRUE(WaitMenuHidden());
    }

    // Takes pictures of the menu until one passes the check (painting follows the keys a
    // little later); a failing one is kept for whoever looks into it.
    bool WaitShot(TScreenShot& shot, const std::function<bool(const TScreenShot&)>& check,
                  const char* name) {
        if (WaitFor([&] { return shot.Take(Form()) && check(shot); })) return true;
        shot.Save(ShotFolder() + name + "-failed.bmp");
        return false;
    }
};

} // namespace

TEST_F(Skin, KiriPaintsItsPartsFrameAndChosenLineAndItsPageMarksFollowThePage) {
    // Two pages in use (a page counts from its last entry with a path); line A, the one chosen
    // here, has no path on either page, so the release starts nothing.
    StartSkin(IniText({"[Setting]", "Skin=Skin\\Kiri.ini", "[Page.1-A]", "Name=one", "[Page.2-Z]",
                       "Name=last", "Path=C:\\windows\\notepad.exe"}));
    HoldMenu(VK_CONTROL, VK_MENU);
    const RECT rect = WindowRect(Form());
    EXPECT_EQ(rect.right - rect.left, 560);
    EXPECT_EQ(rect.bottom - rect.top, 380);

    // The marks of the definition: Page-1 at (560 - 84 - 20, 10), Page-2 24 pixels further
    // right, Page-3 another 24; frames of 20 x 16, the first for the shown page.
    const auto pageMarks = [](int shown) {
        return [shown](const TScreenShot& s) {
            for (int page = 1; page <= 2; ++page)
                if (!Shows(s, page == 1 ? "kiri-page1.bmp" : "kiri-page2.bmp",
                           page == shown ? 0 : 16, 16, 456 + 24 * (page - 1), 10))
                    return false;
            // Page 3 is not in use: the title bar shows there.
            return IsColour(s, RECT{504, 10, 524, 26}, RGB(76, 90, 104));
        };
    };
    TScreenShot shot;
    ASSERT_TRUE(WaitShot(shot, pageMarks(1), "kiri-page1")) << "page 1's marks";
    // The background colour, the title bar (Option-2), the panel (Option-1) and its child rule
    // 8 pixels below its top edge, the panel's frame corners from their pictures.
    EXPECT_EQ(shot.Pixel(5, 200), RGB(91, 107, 122));
    EXPECT_EQ(shot.Pixel(300, 18), RGB(76, 90, 104));
    EXPECT_EQ(shot.Pixel(24, 200), RGB(68, 82, 95));
    EXPECT_EQ(shot.Pixel(100, 52), RGB(92, 107, 121));
    EXPECT_TRUE(Shows(shot, "kiri-corner-lt.bmp", 0, 6, 16, 44));
    EXPECT_TRUE(Shows(shot, "kiri-corner-rb.bmp", 0, 6, 16 + 528 - 6, 44 + 280 - 6));
    // The hill band at the foot (centred, at the bottom).
    EXPECT_TRUE(Shows(shot, "kiri-band.bmp", 0, 48, 0, 332));
    // No line is chosen yet: nothing in the chosen line's colour.
    const COLORREF chosen = RGB(255, 217, 138);
    const RECT menuArea{32, 56, 528, 312};
    EXPECT_EQ(shot.Count(menuArea, [&](COLORREF c) { return c == chosen; }), 0);

    PressKeys({'A'});
    EXPECT_TRUE(WaitShot(
        shot,
        [&](const TScreenShot& s) {
            return s.Count(menuArea, [&](COLORREF c) { return c == chosen; }) > 20;
        },
        "kiri-chosen"))
        << "the chosen line is not drawn in the skin's colour";
    PressKeys({'2'});
    EXPECT_TRUE(WaitShot(shot, pageMarks(2), "kiri-page2")) << "page 2's marks";
    Release(VK_CONTROL, VK_MENU);
}

TEST_F(Skin, MaruIsCutOutOfItsRectangleAndShowsTheProtectMarkInTheClipboardMenu) {
    StartSkin(IniText({"[Setting]", "Skin=Skin\\Maru.ini", "[Window]", "Position=0"}));
    // What lies behind the menu: a window of a colour of its own where the menu appears.
    const int width = 520, height = 340;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const COLORREF behind = RGB(20, 160, 60);
    TTestWindow backdrop("behind", WS_POPUP | WS_VISIBLE, left, top, width, height, behind);

    // The protect mark (16 x 16 frames, the first while protected) in the middle, 12 down.
    // With the empty history only page 1 is in use: its dot (14 x 14 frames, the first for the
    // shown page) at (233, 340 - 12 - 14), none at page 2's place (253) on the body.
    const auto protect = [](bool on) {
        return [on](const TScreenShot& s) {
            return Shows(s, "maru-protect.bmp", on ? 0 : 16, 16, (520 - 16) / 2, 12) &&
                   Shows(s, "maru-page.bmp", 0, 14, 233, 314) &&
                   IsColour(s, RECT{253, 314, 267, 328}, RGB(244, 235, 221));
        };
    };
    HoldMenu(VK_SHIFT, VK_MENU);
    const RECT rect = WindowRect(Form());
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
    TScreenShot shot;
    ASSERT_TRUE(WaitShot(shot, protect(false), "maru-unprotected")) << "the open padlock";
    // Outside the round corners the window behind shows; inside, the body and the inner panel.
    EXPECT_EQ(shot.Pixel(0, 0), behind);
    EXPECT_EQ(shot.Pixel(width - 1, height - 1), behind);
    EXPECT_EQ(shot.Pixel(12, 170), RGB(244, 235, 221));
    EXPECT_EQ(shot.Pixel(30, 170), RGB(251, 246, 238));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(Form(), region), COMPLEXREGION) << "the window has no shape";
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
    DeleteObject(region);

    PressKeys({VK_PAUSE});
    EXPECT_TRUE(WaitShot(shot, protect(true), "maru-protected")) << "the closed padlock";
    Release(VK_SHIFT, VK_MENU);
}

TEST_F(Skin, KiriTrayPicturesShowTheWorkingAndThePausedState) {
    StartWithSettings(IniText({"[Setting]", "Skin=Skin\\Kiri.ini"}));
    // Wine shows the notification area as a window of its own; the two pictures are told by
    // their tile colours.
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    ASSERT_NE(tray, nullptr) << "no notification area window";
    const auto tiles = [&](COLORREF colour) {
        return [colour](const TScreenShot& s) {
            return s.Count(RECT{0, 0, s.Width(), s.Height()},
                           [&](COLORREF c) { return c == colour; });
        };
    };
    const auto working = tiles(RGB(232, 217, 168));
    const auto paused = tiles(RGB(132, 150, 168));
    TScreenShot shot;
    EXPECT_TRUE(WaitFor([&] { return shot.Take(tray) && working(shot) > 50 && paused(shot) == 0; }))
        << "the working picture is not in the tray";
    const int PauseCommand = 109;
    PostMessageA(Form(), WM_COMMAND, PauseCommand, 0);
    EXPECT_TRUE(WaitFor([&] { return shot.Take(tray) && paused(shot) > 50 && working(shot) == 0; }))
        << "the paused picture is not in the tray";
}

TEST_F(Skin, ASkinThatCannotBeMadeIsReportedAndTheMenuStillShows) {
    // A picture that is not a bitmap, a skin file that is not there, and a part that names itself
    // as its child (skipped: the skin is made without it).
    ASSERT_TRUE(Folder.Write("Skin\\Broken.ini", IniText({"[Basic]", "Bitmap=broken.bmp"})));
    ASSERT_TRUE(Folder.Write("Skin\\broken.bmp", "BM this is not a picture"));
    ASSERT_TRUE(Folder.Write("Skin\\Loop.ini",
                             IniText({"[Size]", "Def_Width=300", "Def_Height=200", "[Option-1]",
                                      "Width=100", "Height=50", "Color=clRed", "Child=Option-1"})));
    // Skins of a few hundred bytes that would cost gigabytes or minutes if made whole: a 1 KB
    // compressed bitmap declaring 7000 x 7000 pixels as the background and every mark (refused
    // before it is decoded), and a 2 x 2 part with 1,023 children of 6000 x 6000 pixels placed
    // beside it (none of them shows, so none is made).
    ASSERT_TRUE(Folder.Write("Skin\\Huge.ini",
                             IniText({"[Basic]", "Bitmap=huge.bmp", "[MenuProtect]",
                                      "Bitmap=huge.bmp", "[Page-1]", "Bitmap=huge.bmp", "[Page-2]",
                                      "Bitmap=huge.bmp", "[Page-3]", "Bitmap=huge.bmp"})));
    ASSERT_TRUE(Folder.Write("Skin\\huge.bmp", CompressedBitmap(7000, 7000)));
    std::string children = "Child=";
    for (int i = 0; i < 1023; ++i)
        children += "Kid,";
    ASSERT_TRUE(
        Folder.Write("Skin\\Children.ini",
                     IniText({"[Size]", "Def_Width=300", "Def_Height=200", "[Option-1]", "Width=2",
                              "Height=2", "Color=clRed", children.c_str(), "[Kid]", "Width=6000",
                              "Height=6000", "Color=clBlue", "Left=2"})));
    const struct {
        const char* Skin;
        const char* Named; // in the message; nullptr: no message
        int Width, Height;
        RECT Red;    // without a message: all red
        POINT Black; // and black
    } cases[] = {
        {"Skin\\Broken.ini", "broken.bmp", 560, 348, {}, {}},
        {"Skin\\Missing.ini", "Missing.ini", 560, 348, {}, {}},
        {"Skin\\Huge.ini",
         "huge.bmp\" を読み込めませんでした。画像の大きさ 7000 x 7000 は大きすぎます",
         560,
         348,
         {},
         {}},
        // The part's corner, clear of the lines, and black beyond the part.
        {"Skin\\Loop.ini", nullptr, 300, 200, {0, 0, 60, 30}, {150, 100}},
        // The 2 x 2 part, and none of its children beside it.
        {"Skin\\Children.ini", nullptr, 300, 200, {0, 0, 2, 2}, {2, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Skin);
        ASSERT_TRUE(Folder.Write("Mirto.ini",
                                 IniText({"[Setting]", (std::string("Skin=") + c.Skin).c_str()})));
        Mirto = std::make_unique<TMirto>(Folder);
        if (c.Named) {
            const HWND box = Mirto->WaitMessageBox();
            ASSERT_NE(box, nullptr) << "no failure message";
            const std::string text = MessageBoxText(box);
            EXPECT_EQ(
                text.rfind("背景が正しく生成されませんでした。\n設定を見直してくださいね。", 0), 0u)
                << text;
            EXPECT_NE(text.find(c.Named), std::string::npos) << text;
            CloseMessageBox(box);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
            // Then the settings open on the background page; cancelled, the program takes the
            // standard background instead.
            HWND settings = nullptr;
            ASSERT_TRUE(WaitFor([&] {
                return (settings = Mirto->VisibleDialog("詳細設定")) != nullptr;
            })) << "the settings did not open";
            EXPECT_EQ(SendMessageA(GetDlgItem(settings, 2001), TCM_GETCURSEL, 0, 0), 5);
            PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(settings); }));
        }
        ASSERT_TRUE(Mirto->WaitResident()) << "the program did not stay";
        HoldMenu(VK_CONTROL, VK_MENU);
        const RECT rect = WindowRect(Form());
        EXPECT_EQ(rect.right - rect.left, c.Width);
        EXPECT_EQ(rect.bottom - rect.top, c.Height);
        if (!c.Named) {
            TScreenShot shot;
            EXPECT_TRUE(WaitShot(
                shot,
                [&](const TScreenShot& s) {
                    return IsColour(s, c.Red, RGB(255, 0, 0)) &&
                           s.Pixel(c.Black.x, c.Black.y) == RGB(0, 0, 0) &&
                           s.Pixel(150, 100) == RGB(0, 0, 0);
                },
                "parts"))
                << "the parts are not drawn as far as they show";
        }
        Release(VK_CONTROL, VK_MENU);
        Mirto->Stop();
        ASSERT_TRUE(Mirto->WaitExit());
    }
}

TEST_F(Skin, ABrokenSkinConfirmedKeepsTheShapedLookWholeAndOpensTheBackgroundPageAgain) {
    ASSERT_TRUE(Folder.Write("Skin\\Broken.ini",
                             IniText({"[Basic]", "Name=Broken", "Bitmap=broken.bmp"})));
    ASSERT_TRUE(Folder.Write("Skin\\broken.bmp", "BM this is not a picture"));
    StartSkin(IniText({"[Setting]", "Skin=Skin\\Maru.ini", "[Window]", "Position=0"}));
    const int BackgroundCommand = 106, BackgroundTab = 5;
    PostMessageA(Form(), WM_COMMAND, BackgroundCommand, 0);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = Mirto->VisibleDialog("詳細設定")) != nullptr; }));
    HWND list = FindControl(settings, IDC_LISTBOX2);
    int broken = -1;
    for (int line = 0; line < 5; ++line)
        if (ListLine(list, line) == "Broken") broken = line;
    ASSERT_GE(broken, 0) << "the broken skin is not listed";
    ChooseInList(list, broken);
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    const HWND box = Mirto->WaitMessageBox();
    ASSERT_NE(box, nullptr) << "no failure message";
    // Maru's picture stays on the window, and so do its size and its cut-away corners.
    const RECT rect = WindowRect(Form());
    EXPECT_EQ(rect.right - rect.left, 520);
    EXPECT_EQ(rect.bottom - rect.top, 340);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(Form(), region), COMPLEXREGION) << "the window lost its shape";
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    DeleteObject(region);
    CloseMessageBox(box);
    // Then the settings open again, on the background page.
    ASSERT_TRUE(WaitFor([&] {
        const HWND shown = Mirto->VisibleDialog("詳細設定");
        return shown && shown != settings &&
               SendMessageA(GetDlgItem(shown, 2001), TCM_GETCURSEL, 0, 0) == BackgroundTab;
    })) << "the settings did not open on the background page";
    PostMessageA(Mirto->VisibleDialog("詳細設定"), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return Mirto->VisibleDialog("詳細設定") == nullptr; }));
}
