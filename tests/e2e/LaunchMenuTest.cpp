// The launch menu end to end: Control + Alt shows the registered names of a page in two columns
// of lettered lines, letters, arrows and the page keys move the choice and the page, and
// releasing the pair starts the chosen entry. What the menu shows is read from the screen and
// compared with the menu geometry of the program's own core; what was started is read from the
// notes of the recorder program (tests/win32/recorder).
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "E2eFixture.h"
#include "LaunchHarness.h"
#include "frame/StringList.h"
#include "launcher/LaunchItem.h"
#include "menu/GdiMetrics.h"
#include "menu/MenuGeometry.h"
#include "system/PathsWin.h"
#include "system/ShellLink.h"

namespace {

// The colours of the standard background: aqua lines, the chosen one blue, on black.
bool IsAqua(COLORREF c) {
    // Anti-aliased edges of the glyphs count too: green and blue alike, little red.
    return GetRValue(c) < 0x40 && GetGValue(c) >= 0x40 &&
           std::abs(GetGValue(c) - GetBValue(c)) <= 0x20;
}
bool IsBlue(COLORREF c) {
    return GetRValue(c) < 0x40 && GetGValue(c) < 0x40 && GetBValue(c) >= 0x40;
}
bool IsPureBlue(COLORREF c) {
    return c == RGB(0, 0, 255);
}
bool IsLit(COLORREF c) {
    return c != RGB(0, 0, 0);
}

// One launcher entry as the settings file registers it.
struct TEntry {
    int Page = 1;
    char Letter = 'A';
    std::string Name; // as shown; a line feed is written as "\n"
    std::string Path;
    std::string Option; // double quotes are written as \"
    std::string WorkDir;
    int Size = 0;
};

std::string Escaped(const std::string& text, char special, const char* replacement) {
    std::string result;
    for (char c : text) {
        if (c == special)
            result += replacement;
        else
            result += c;
    }
    return result;
}

// The settings file: the font of the menu lines spelt out (the geometry below measures with the
// same one), the entries, and more lines of the test's own.
std::string SettingsText(const std::vector<TEntry>& entries,
                         std::initializer_list<const char*> more = {}) {
    std::string text = IniText({"[Font]", "Name=ＭＳ Ｐゴシック", "Size=9", "Bold=0", "Italic=0"});
    for (const TEntry& e : entries) {
        text += "[Page." + std::to_string(e.Page) + "-" + std::string(1, e.Letter) + "]\r\n";
        text += "Name=" + Escaped(e.Name, '\n', "\\n") + "\r\n";
        if (!e.Path.empty()) text += "Path=" + e.Path + "\r\n";
        text += "Size=" + std::to_string(e.Size) + "\r\n";
        if (!e.Option.empty()) text += "Opt.=" + Escaped(e.Option, '"', "\\\"") + "\r\n";
        if (!e.WorkDir.empty()) text += "WDir=" + e.WorkDir + "\r\n";
    }
    for (const char* line : more)
        text += std::string(line) + "\r\n";
    return text;
}

// Where the menu window draws each line: the program's own menu geometry, fed with the layout
// of the standard background (a 400 x 220 menu area at (64, 32)) and measured in the same font
// on this machine.
class TExpectedMenu {
public:
    TExpectedMenu(const std::vector<TEntry>& entries, int maxLines = 1) {
        Menu.SetLeft(64);
        Menu.SetTop(32);
        Menu.SetWidth(400);
        Menu.SetHeight(220);
        Menu.UpdateColumnWidth();
        TMenuFont font;
        font.Name = "ＭＳ Ｐゴシック";
        font.Size = 9;
        font.Bold = false;
        font.Italic = false;
        Menu.SetFont(font);
        Menu.SetMaxLines(maxLines);
        std::vector<std::string> names(LauncherItemCount);
        for (const TEntry& e : entries)
            names[static_cast<std::size_t>((e.Page - 1) * 26 + (e.Letter - 'A'))] = e.Name;
        TStringList lines;
        for (const std::string& name : names)
            lines.Add(name);
        Menu.SetPageCount(3);
        Menu.SetItems(lines);
        Fonts.Update(font, 96); // the runs are at 96 dots per inch
        Dc = CreateCompatibleDC(nullptr);
    }
    ~TExpectedMenu() { DeleteDC(Dc); }
    TExpectedMenu(const TExpectedMenu&) = delete;
    TExpectedMenu& operator=(const TExpectedMenu&) = delete;

    const TMenuImage& Model() const { return Menu; }

    TItemLayout Layout(int page, char letter) {
        Menu.SetPageIndex(page);
        TItemLayout layout;
        const TGdiTextMetrics metrics(Dc, Fonts);
        EXPECT_TRUE(LayoutItem(Menu, metrics, (page - 1) * 26 + (letter - 'A'), layout));
        return layout;
    }
    // The band of a line's text: from the text start to the line's right edge, one text line
    // high, above where its underline goes.
    RECT TextArea(int page, char letter) {
        const TItemLayout layout = Layout(page, letter);
        return RECT{layout.TextStart, layout.Rect.Top, layout.Rect.Right,
                    layout.Rect.Top + layout.Unit - 3};
    }
    RECT LabelArea(int page, char letter) {
        const TItemLayout layout = Layout(page, letter);
        return RECT{layout.Rect.Left, layout.Rect.Top, layout.TextStart,
                    layout.Rect.Top + layout.Unit - 3};
    }
    // The underline of a chosen one-line entry: a line of one pixel from its left end up to,
    // not including, its right end.
    TMenuRect Underline(int page, char letter) {
        const std::vector<TMenuRect> lines = Underlines(Layout(page, letter), false);
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? TMenuRect{} : lines.front();
    }

private:
    TMenuImage Menu;
    TMenuFonts Fonts;
    HDC Dc = nullptr;
};

// The row of pixels an underline covers.
RECT UnderlineRow(const TMenuRect& u) {
    return RECT{u.Left, u.Top, u.Right, u.Top + 1};
}

class LaunchMenu : public MirtoTest {
protected:
    void SetUp() override {
        MirtoTest::SetUp();
        ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
        ASSERT_TRUE(CopyBuiltProgram("Support.exe", Folder.FilePath("Support.exe")));
        ASSERT_TRUE(CreateDirectoryA(Folder.FilePath("空白 あり").c_str(), nullptr));
        ASSERT_TRUE(CopyBuiltProgram("testing\\recorder.exe", Recorder()));
        // The recorder inherits the program's environment, which is this one's.
        ASSERT_TRUE(SetEnvironmentVariableA("MIRTO_RECORD", RecordFile().c_str()));
    }

    void TearDown() override {
        MirtoTest::TearDown();
        // Whatever the launches started from the folder (the recorder, Support.exe) has ended
        // before the folder goes.
        EXPECT_TRUE(EndProcessesIn(Folder.Path())) << "a started program was still running";
        SetEnvironmentVariableA("MIRTO_RECORD", nullptr);
    }

    std::string Recorder() const { return Folder.FilePath("空白 あり\\recorder.exe"); }
    std::string RecordFile() const { return Folder.FilePath("record.txt"); }

    HWND List() const { return FindWindowExA(Form(), nullptr, "TListImage", nullptr); }

    // Whether the menu's list has the keyboard focus in the program's thread.
    bool ListFocused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const DWORD thread = GetWindowThreadProcessId(Form(), nullptr);
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr &&
               info.hwndFocus == List();
    }

    // Holds Control + Alt in the test's window until the menu is up in front with its list
    // focused: from then on the keys go to the list.
    void HoldCallPair() {
        FocusKeyWindow();
        KeyDown(VK_CONTROL);
        KeyDown(VK_MENU);
        ASSERT_TRUE(WaitFor([&] { return MenuVisible(); })) << "the call key showed no menu";
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == Form() && ListFocused(); }))
            << "the menu did not take the keyboard";
    }

    void ReleaseCallPair() {
        KeyUp(VK_MENU);
        KeyUp(VK_CONTROL);
    }

    // Waits until the menu is hidden and the program is done hiding it.
    bool WaitHidden() { return WaitFor([&] { return !MenuVisible(); }) && RoundTrip(Form()); }

    static void Tap(WORD key) {
        KeyDown(key);
        KeyUp(key);
    }

    // Takes pictures of the menu until one satisfies the check; the last one stays in Shot.
    bool WaitShot(const std::function<bool(const TScreenShot&)>& check,
                  DWORD timeoutMs = DefaultTimeout) {
        if (WaitFor([&] { return Shot.Take(Form()) && check(Shot); }, timeoutMs)) return true;
        // The picture that did not pass, for whoever looks into the failure.
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name() +
                                 std::string("-") + std::to_string(++FailedShots) + "-failed.bmp";
        SaveShot(name.c_str());
        return false;
    }

    void SaveShot(const char* name) {
        const std::string path = ShotFolder() + name;
        EXPECT_TRUE(Shot.Save(path)) << "cannot write " << path;
    }

    // The recorder's notes once it has written them; the file is removed for the next launch.
    std::map<std::string, std::string> WaitRecord() {
        const std::string file = RecordFile();
        if (!WaitFor([&] { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }))
            return {};
        auto record = ReadRecord(file);
        WaitFor([&] { return DeleteFileA(file.c_str()) != FALSE; }, 5000);
        return record;
    }

    // Calls the menu, chooses the line by its letter (on page 1) and releases the pair.
    void LaunchLine(char letter) {
        ASSERT_NO_FATAL_FAILURE(HoldCallPair());
        Tap(static_cast<WORD>(letter));
        // The choice shows as the line's underline; only then is the release sure to find it.
        const bool chosen = WaitShot([&](const TScreenShot& s) {
            const TMenuRect u = Expected->Underline(1, letter);
            return s.Count(UnderlineRow(u), IsPureBlue) == u.Right - u.Left;
        });
        ReleaseCallPair();
        ASSERT_TRUE(chosen) << "line " << letter << " was not chosen";
        ASSERT_TRUE(WaitHidden()) << "the menu stayed after the release";
    }

    void Start(const std::vector<TEntry>& entries, std::initializer_list<const char*> more = {},
               int maxLines = 1) {
        Expected = std::make_unique<TExpectedMenu>(entries, maxLines);
        ASSERT_NO_FATAL_FAILURE(StartWithSettings(SettingsText(entries, more)));
    }

    static bool SamePath(const std::string& a, const std::string& b) {
        return SameText(ExpandLongPath(a), ExpandLongPath(b));
    }
    static bool EndsWith(const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }

    TScreenShot Shot;
    int FailedShots = 0;
    std::unique_ptr<TExpectedMenu> Expected;
};

// Entries on all three pages, so that every page is in use. Page 1 has a vacant line F between
// used ones and a line in the second column; page 2 uses line A only, page 3 line B only.
std::vector<TEntry> ThreePages(const std::string& program) {
    return {
        {1, 'A', "メモ帳", program, "-line A", "", 0},
        {1, 'B', "電卓 Calc 2", program, "-line B", "", 0},
        {1, 'C', "ペイント", program, "-line C", "", 0},
        {1, 'D', "ワード\nパッド", program, "-line D", "", 0},
        {1, 'E', "表計算ソフト", program, "-line E", "", 0},
        {1, 'G', "端末", program, "-line G", "", 0},
        {1, 'N', "ブラウザ（二列目）", program, "-line N", "", 0},
        {2, 'A', "二ページ目の項目", program, "-page 2", "", 0},
        {3, 'B', "三ページ目", program, "-page 3", "", 0},
    };
}

} // namespace

TEST_F(LaunchMenu, ShowsTheNamesOfPageOneAndUnderlinesTheChosenLine) {
    const auto entries = ThreePages(Recorder());
    ASSERT_NO_FATAL_FAILURE(Start(entries));
    TExpectedMenu& menu = *Expected;

    // The documented rows of a 220-pixel-high area: 4, 20, 36 and 53 pixels below its top; the
    // columns begin a gap (26) in, less 2, and a column and a gap further.
    EXPECT_EQ(RowTop(menu.Model(), 0), 32 + 4);
    EXPECT_EQ(RowTop(menu.Model(), 1), 32 + 20);
    EXPECT_EQ(RowTop(menu.Model(), 2), 32 + 36);
    EXPECT_EQ(RowTop(menu.Model(), 3), 32 + 53);
    EXPECT_EQ(menu.Layout(1, 'C').Rect.Left, 64 + 26 - 2);
    EXPECT_EQ(menu.Layout(1, 'N').Rect.Left, 64 + 2 * 26 + 148 - 2);
    EXPECT_EQ(menu.Layout(1, 'N').Rect.Top, 32 + 4);
    EXPECT_EQ(menu.Underline(1, 'C').Left, 88);
    EXPECT_EQ(menu.Underline(1, 'C').Right, 88 + 148 - 1);

    // Page 1: the used lines show their names in aqua, in both columns; a vacant line (F) and
    // positions without an entry (O, Z) show their letter only; nothing is chosen, so nothing
    // is blue. (Checked once the picture has settled; the checks below tell what differs.)
    const auto pageOneShown = [&](const TScreenShot& s) {
        for (char letter : {'A', 'B', 'C', 'D', 'E', 'G', 'N'})
            if (s.Count(menu.TextArea(1, letter), IsAqua) <= 20) return false;
        for (char letter : {'F', 'O', 'Z'})
            if (s.Count(menu.TextArea(1, letter), IsLit) != 0 ||
                s.Count(menu.LabelArea(1, letter), IsAqua) <= 5)
                return false;
        return s.Count(RECT{0, 0, s.Width(), s.Height()}, IsBlue) == 0;
    };
    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    EXPECT_TRUE(WaitShot(pageOneShown)) << "page 1 did not show as expected";
    for (char letter : {'A', 'B', 'C', 'D', 'E', 'G', 'N'})
        EXPECT_GT(Shot.Count(menu.TextArea(1, letter), IsAqua), 20) << "line " << letter;
    for (char letter : {'F', 'O', 'Z'}) {
        EXPECT_EQ(Shot.Count(menu.TextArea(1, letter), IsLit), 0) << "line " << letter;
        EXPECT_GT(Shot.Count(menu.LabelArea(1, letter), IsAqua), 5) << "letter " << letter;
    }
    EXPECT_EQ(Shot.Count(RECT{0, 0, Shot.Width(), Shot.Height()}, IsBlue), 0);
    SaveShot("launch-page1.bmp");

    const auto underlined = [&](const TScreenShot& s, char letter) {
        const TMenuRect u = menu.Underline(1, letter);
        return s.Count(UnderlineRow(u), IsPureBlue) == u.Right - u.Left;
    };
    const auto onlyUnderlined = [&](char letter) {
        return [&, letter](const TScreenShot& s) {
            if (!underlined(s, letter)) return false;
            for (char other : {'A', 'B', 'C', 'D', 'E', 'G', 'N'})
                if (other != letter &&
                    (s.Count(menu.TextArea(1, other), IsBlue) > 0 ||
                     s.Count(UnderlineRow(menu.Underline(1, other)), IsBlue) > 0))
                    return false;
            return true;
        };
    };

    // C chosen: its underline is one blue pixel high where the geometry puts it, and its text
    // turns blue while the other lines stay aqua.
    const TMenuRect u = menu.Underline(1, 'C');
    const RECT belowUnderline{u.Left - 2, u.Top + 1, u.Right + 2, u.Top + 3};
    const auto chosenC = [&](const TScreenShot& s) {
        return onlyUnderlined('C')(s) && s.Count(belowUnderline, IsBlue) == 0 &&
               s.Pixel(u.Left - 1, u.Top) == RGB(0, 0, 0) &&
               s.Pixel(u.Right, u.Top) == RGB(0, 0, 0) &&
               s.Count(menu.TextArea(1, 'C'), IsBlue) > 20 &&
               s.Count(menu.TextArea(1, 'C'), IsAqua) == 0 &&
               s.Count(menu.TextArea(1, 'B'), IsAqua) > 20;
    };
    Tap('C');
    EXPECT_TRUE(WaitShot(chosenC)) << "C was not shown chosen as expected";
    EXPECT_TRUE(underlined(Shot, 'C')) << "no underline where the geometry puts C's";
    EXPECT_EQ(Shot.Count(belowUnderline, IsBlue), 0)
        << "the underline is thicker or lower than the geometry says";
    EXPECT_EQ(Shot.Pixel(u.Left - 1, u.Top), RGB(0, 0, 0)) << "the underline starts early";
    EXPECT_EQ(Shot.Pixel(u.Right, u.Top), RGB(0, 0, 0)) << "the underline ends late";
    EXPECT_GT(Shot.Count(menu.TextArea(1, 'C'), IsBlue), 20);
    EXPECT_EQ(Shot.Count(menu.TextArea(1, 'C'), IsAqua), 0);
    EXPECT_GT(Shot.Count(menu.TextArea(1, 'B'), IsAqua), 20);
    EXPECT_FALSE(underlined(Shot, 'A'));
    SaveShot("launch-page1-C.bmp");

    // Down moves to the next line; a letter of a vacant line leaves the choice where it was (the
    // Down after it goes on from D, not from F); Down skips the vacant F; from the last line of
    // the first column it goes on to the second column.
    Tap(VK_DOWN);
    ASSERT_TRUE(WaitShot(onlyUnderlined('D'))) << "Down from C did not choose D";
    Tap('F');
    Tap(VK_DOWN);
    ASSERT_TRUE(WaitShot(onlyUnderlined('E'))) << "F or Down moved the choice elsewhere";
    Tap(VK_DOWN);
    ASSERT_TRUE(WaitShot(onlyUnderlined('G'))) << "Down from E did not skip the vacant F";
    Tap(VK_DOWN);
    ASSERT_TRUE(WaitShot(onlyUnderlined('N'))) << "Down from G did not go on to N";
    SaveShot("launch-page1-N.bmp");
    // Down from the last used line wraps to the first; Up wraps back.
    Tap(VK_DOWN);
    ASSERT_TRUE(WaitShot(onlyUnderlined('A'))) << "Down from the last line did not wrap";
    Tap(VK_UP);
    ASSERT_TRUE(WaitShot(onlyUnderlined('N'))) << "Up from the first line did not wrap";
    // Left from the second column goes to the same row of the first.
    Tap(VK_LEFT);
    ASSERT_TRUE(WaitShot(onlyUnderlined('A'))) << "Left from N did not choose A";

    // Released with B chosen, B is what starts.
    Tap('B');
    ASSERT_TRUE(WaitShot(onlyUnderlined('B')));
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());
    auto record = WaitRecord();
    ASSERT_FALSE(record.empty()) << "releasing the keys started nothing";
    EXPECT_TRUE(EndsWith(record["commandline"], " -line B")) << record["commandline"];
}

TEST_F(LaunchMenu, NameWithALineBreakTakesTwoTextLinesEachUnderlinedWhenChosen) {
    const auto entries = ThreePages(Recorder());
    ASSERT_NO_FATAL_FAILURE(Start(entries, {"[Window]", "Line=2"}, 2));
    TExpectedMenu& menu = *Expected;
    // "ワード\nパッド" on line D: "パッド" goes to a second text line at the text start, and the
    // chosen line gets an underline under each text line, the second one indented to the text.
    const TItemLayout d = menu.Layout(1, 'D');
    ASSERT_EQ(d.LinesUsed, 2);
    const std::vector<TMenuRect> lines = Underlines(d, false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].Left, d.TextStart);
    EXPECT_EQ(lines[1].Top, lines[0].Top + d.Unit);
    const RECT secondLine{d.TextStart, d.Rect.Top + d.Unit, d.Rect.Right,
                          d.Rect.Top + 2 * d.Unit - 3};

    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    Tap('D');
    const auto chosenD = [&](const TScreenShot& s) {
        for (const TMenuRect& u : lines)
            if (s.Count(UnderlineRow(u), IsPureBlue) != u.Right - u.Left) return false;
        // Nothing blue left of the second underline's start: it is indented.
        return s.Count(RECT{d.Rect.Left, lines[1].Top, lines[1].Left - 1, lines[1].Top + 1},
                       IsBlue) == 0 &&
               s.Count(secondLine, IsBlue) > 20;
    };
    EXPECT_TRUE(WaitShot(chosenD)) << "D was not shown on two underlined text lines";
    for (const TMenuRect& u : lines)
        EXPECT_EQ(Shot.Count(UnderlineRow(u), IsPureBlue), u.Right - u.Left)
            << "no underline at row " << u.Top;
    EXPECT_GT(Shot.Count(secondLine, IsBlue), 20) << "the text after the break is not below";
    SaveShot("launch-two-lines.bmp");
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());
    auto record = WaitRecord();
    EXPECT_TRUE(EndsWith(record["commandline"], " -line D")) << record["commandline"];
}

TEST_F(LaunchMenu, FirstCallHeldAtAnUnhurriedPaceStartsTheChosenLine) {
    // The first call after the start, the pair held a second and a half before the letter, as a
    // user who is not in a hurry does: past the program's first poll of the keys while the menu
    // is up.
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages(Recorder())));
    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    WaitFor([] { return false; }, 1500);
    EXPECT_TRUE(MenuVisible()) << "the menu hid with the pair held";
    EXPECT_TRUE(ListFocused()) << "the list lost the keyboard while the pair was held";
    Tap('B');
    const bool chosen = WaitShot([&](const TScreenShot& s) {
        const TMenuRect u = Expected->Underline(1, 'B');
        return s.Count(UnderlineRow(u), IsPureBlue) == u.Right - u.Left;
    });
    ReleaseCallPair();
    EXPECT_TRUE(chosen) << "the letter chose nothing";
    ASSERT_TRUE(WaitHidden()) << "the menu stayed after the release";
    auto record = WaitRecord();
    EXPECT_TRUE(EndsWith(record["commandline"], " -line B")) << record["commandline"];
}

TEST_F(LaunchMenu, PageKeysShowTheOtherPages) {
    const auto entries = ThreePages(Recorder());
    ASSERT_NO_FATAL_FAILURE(Start(entries));
    TExpectedMenu& menu = *Expected;
    // Each page is told by which of its lines A and B have text: page 1 both, page 2 only A,
    // page 3 only B.
    const auto page = [&](int number) {
        const bool a = number != 3, b = number != 2;
        return [&, a, b](const TScreenShot& s) {
            return (s.Count(menu.TextArea(1, 'A'), IsAqua) > 20) == a &&
                   (s.Count(menu.TextArea(1, 'B'), IsAqua) > 20) == b &&
                   s.Count(menu.LabelArea(1, 'A'), IsAqua) > 5;
        };
    };

    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    ASSERT_TRUE(WaitShot(page(1))) << "the menu did not open on page 1";
    const TScreenShot first = Shot;

    Tap(VK_OEM_PERIOD);
    // Page 2's line A shows its own name, not page 1's, beside the same letter; its vacant
    // lines, the second column included, show no names.
    const auto pageTwoShown = [&](const TScreenShot& s) {
        if (!page(2)(s) || !s.Differs(first, menu.TextArea(2, 'A')) ||
            s.Differs(first, menu.LabelArea(2, 'A')))
            return false;
        for (char letter : {'C', 'D', 'N'})
            if (s.Count(menu.TextArea(2, letter), IsLit) != 0) return false;
        return true;
    };
    EXPECT_TRUE(WaitShot(pageTwoShown)) << "full stop did not show page 2 as expected";
    ASSERT_TRUE(page(2)(Shot)) << "full stop did not go to page 2";
    EXPECT_TRUE(Shot.Differs(first, menu.TextArea(2, 'A')));
    EXPECT_FALSE(Shot.Differs(first, menu.LabelArea(2, 'A')));
    for (char letter : {'C', 'D', 'N'})
        EXPECT_EQ(Shot.Count(menu.TextArea(2, letter), IsLit), 0) << "line " << letter;
    SaveShot("launch-page2.bmp");

    Tap(VK_OEM_PERIOD);
    ASSERT_TRUE(WaitShot(page(3))) << "full stop did not go to page 3";
    SaveShot("launch-page3.bmp");
    // Full stop on the last page stays there: the comma after it goes back to page 2.
    Tap(VK_OEM_PERIOD);
    Tap(VK_OEM_COMMA);
    ASSERT_TRUE(WaitShot(page(2))) << "comma did not go back to page 2";
    Tap(VK_OEM_COMMA);
    ASSERT_TRUE(WaitShot(page(1))) << "comma did not go back to page 1";
    EXPECT_TRUE(WaitShot([&](const TScreenShot& s) {
        return !s.Differs(first, RECT{0, 0, first.Width(), first.Height()});
    })) << "page 1 looks different the second time";

    // The digits choose a page directly.
    Tap('3');
    ASSERT_TRUE(WaitShot(page(3))) << "3 did not show page 3";
    Tap('1');
    ASSERT_TRUE(WaitShot(page(1))) << "1 did not show page 1";
    Tap('2');
    ASSERT_TRUE(WaitShot(page(2))) << "2 did not show page 2";
    // The page-change key (Tab) goes on, and from the last page back to page 1.
    Tap(VK_TAB);
    ASSERT_TRUE(WaitShot(page(3))) << "Tab did not go on to page 3";
    Tap(VK_TAB);
    ASSERT_TRUE(WaitShot(page(1))) << "Tab on the last page did not go to page 1";

    // A letter chooses its line on the shown page: B of page 3 starts page 3's entry.
    Tap('3');
    ASSERT_TRUE(WaitShot(page(3)));
    Tap('B');
    const TMenuRect u = menu.Underline(3, 'B');
    ASSERT_TRUE(WaitShot([&](const TScreenShot& s) {
        return s.Count(UnderlineRow(u), IsPureBlue) == u.Right - u.Left;
    })) << "B was not chosen on page 3";
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());
    auto record = WaitRecord();
    EXPECT_TRUE(EndsWith(record["commandline"], " -page 3")) << record["commandline"];
}

TEST_F(LaunchMenu, WithPageMemoryTheMenuReopensOnItsLastPage) {
    const auto entries = ThreePages(Recorder());
    ASSERT_NO_FATAL_FAILURE(Start(entries, {"[Menu]", "PageMemory=1"}));
    TExpectedMenu& menu = *Expected;
    const auto pageThree = [&](const TScreenShot& s) {
        return s.Count(menu.TextArea(3, 'A'), IsLit) == 0 &&
               s.Count(menu.TextArea(3, 'B'), IsAqua) > 20;
    };
    const auto pageOne = [&](const TScreenShot& s) {
        return s.Count(menu.TextArea(1, 'A'), IsAqua) > 20 &&
               s.Count(menu.TextArea(1, 'B'), IsAqua) > 20;
    };

    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    ASSERT_TRUE(WaitShot(pageOne));
    Tap('3');
    ASSERT_TRUE(WaitShot(pageThree)) << "3 did not show page 3";
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());

    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    EXPECT_TRUE(WaitShot(pageThree)) << "the menu did not reopen on page 3";
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());
    // Nothing was chosen either time: nothing started.
    EXPECT_EQ(GetFileAttributesA(RecordFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LaunchMenu, WithoutPageMemoryTheMenuOpensOnPageOne) {
    const auto entries = ThreePages(Recorder());
    ASSERT_NO_FATAL_FAILURE(Start(entries));
    TExpectedMenu& menu = *Expected;
    const auto pageThree = [&](const TScreenShot& s) {
        return s.Count(menu.TextArea(3, 'A'), IsLit) == 0 &&
               s.Count(menu.TextArea(3, 'B'), IsAqua) > 20;
    };
    const auto pageOne = [&](const TScreenShot& s) {
        return s.Count(menu.TextArea(1, 'A'), IsAqua) > 20 &&
               s.Count(menu.TextArea(1, 'B'), IsAqua) > 20;
    };

    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    Tap('3');
    ASSERT_TRUE(WaitShot(pageThree)) << "3 did not show page 3";
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());

    ASSERT_NO_FATAL_FAILURE(HoldCallPair());
    EXPECT_TRUE(WaitShot(pageOne)) << "the menu did not open on page 1";
    ReleaseCallPair();
    ASSERT_TRUE(WaitHidden());
}

TEST_F(LaunchMenu, ProgramStartsWithItsOptionsWorkingFolderAndWindowState) {
    const std::string work = Folder.FilePath("作業 フォルダ");
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    const std::string options = "-a \"日本 語\" 表 \"x\"";
    ASSERT_NO_FATAL_FAILURE(Start({
        {1, 'A', "記録 通常", Recorder(), options, "", 0},
        {1, 'B', "記録 最小", Recorder(), "", work, 1},
        {1, 'C', "記録 最大", Recorder(), "", "", 2},
        {1, 'D', "記録 そのまま", Recorder(), "", "", 3},
    }));

    // A program in a folder whose name has a blank and Japanese text, with options holding
    // quotes and Japanese text, and no working folder: it starts in its own folder.
    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    auto record = WaitRecord();
    ASSERT_FALSE(record.empty()) << "A started nothing";
    EXPECT_TRUE(SamePath(record["program"], Recorder())) << record["program"];
    EXPECT_TRUE(EndsWith(record["commandline"], " " + options)) << record["commandline"];
    EXPECT_TRUE(SamePath(record["folder"], Folder.FilePath("空白 あり"))) << record["folder"];
    EXPECT_EQ(record["flags"], "1");
    EXPECT_EQ(record["show"], "1");

    // A working folder given; minimised.
    ASSERT_NO_FATAL_FAILURE(LaunchLine('B'));
    record = WaitRecord();
    ASSERT_FALSE(record.empty()) << "B started nothing";
    EXPECT_TRUE(SamePath(record["folder"], work)) << record["folder"];
    EXPECT_EQ(record["show"], "2");

    // Maximised, then a plain show.
    ASSERT_NO_FATAL_FAILURE(LaunchLine('C'));
    record = WaitRecord();
    EXPECT_EQ(record["show"], "3");
    ASSERT_NO_FATAL_FAILURE(LaunchLine('D'));
    record = WaitRecord();
    EXPECT_EQ(record["show"], "5");
}

TEST_F(LaunchMenu, DocumentOpensWithTheProgramOfItsAssociation) {
    // An extension of more than three letters: the short (8.3) name that the launch hands on keeps
    // only three of them, and the file class must still be found.
    TFileAssociation association(".mzdoc", "Mirto.E2eDocument", "\"" + Recorder() + "\" \"%1\"");
    ASSERT_TRUE(association.Registered());
    const std::string document = Folder.FilePath("メモ 書類.mzdoc");
    ASSERT_TRUE(Folder.Write("メモ 書類.mzdoc", "x"));
    ASSERT_NO_FATAL_FAILURE(Start({{1, 'A', "書類", document, "/印刷", "", 2}}));

    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    auto record = WaitRecord();
    ASSERT_FALSE(record.empty()) << "the document's program did not start";
    EXPECT_TRUE(SamePath(record["program"], Recorder())) << record["program"];
    const std::string& commandLine = record["commandline"];
    // The document is handed over (in its short or long form), then the entry's options.
    EXPECT_TRUE(commandLine.find(GetShortFullPath(document)) != std::string::npos ||
                commandLine.find(document) != std::string::npos)
        << commandLine;
    EXPECT_TRUE(EndsWith(commandLine, " /印刷")) << commandLine;
    EXPECT_EQ(record["show"], "3");
}

TEST_F(LaunchMenu, ShortcutOpensItsTargetThroughTheCompanion) {
    const std::string work = Folder.FilePath("リンク 作業");
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    TLinkData link;
    link.Path = Recorder();
    link.Arguments = "-lnk \"表 示\"";
    link.WorkDir = work;
    link.ShowCmd = SW_SHOWMINNOACTIVE;
    const std::string shortcut = Folder.FilePath("起動 リンク.lnk");
    ASSERT_TRUE(WriteShellLink(shortcut, link));
    // The entry's own options and window state do not reach the shortcut's target.
    ASSERT_NO_FATAL_FAILURE(Start({{1, 'A', "リンク", shortcut, "-ignored", "", 2}}));

    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    auto record = WaitRecord();
    ASSERT_FALSE(record.empty()) << "the shortcut's target did not start";
    EXPECT_TRUE(SamePath(record["program"], Recorder())) << record["program"];
    EXPECT_TRUE(EndsWith(record["commandline"], " -lnk \"表 示\"")) << record["commandline"];
    EXPECT_EQ(record["commandline"].find("-ignored"), std::string::npos);
    EXPECT_TRUE(SamePath(record["folder"], work)) << record["folder"];
    EXPECT_EQ(record["show"], std::to_string(SW_SHOWMINNOACTIVE));
    // The companion has done its work and ended.
    EXPECT_TRUE(WaitFor([&] { return ProcessesIn(Folder.Path(), Mirto->ProcessId()).empty(); }));
}

TEST_F(LaunchMenu, FolderOpensInTheShell) {
    const std::string name = "開く フォルダ";
    const std::string folder = Folder.FilePath(name);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(WindowsWithCaption(name).empty());
    ASSERT_NO_FATAL_FAILURE(Start({{1, 'A', "フォルダ", folder, "", "", 0}}));

    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    std::vector<TForeignWindow> windows;
    EXPECT_TRUE(WaitFor([&] { return !(windows = WindowsWithCaption(name)).empty(); }))
        << "no window of the folder appeared";
    for (const TForeignWindow& window : windows)
        CloseForeignWindow(window);
    // The folder's window is the shell's: the menu showed no failure.
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);
}

TEST_F(LaunchMenu, AddressOpensThroughTheShellFromAComApartment) {
    // The shell's program for https addresses is the recorder while the test runs.
    TSchemeHandler handler("https", "\"" + Recorder() + "\" \"%1\"");
    ASSERT_TRUE(handler.Registered());
    const std::string address = "https://example.invalid/a?q=1&r=2";
    const std::vector<TEntry> entries = {{1, 'A', "ウェブ", address, "-x", "", 0}};
    Expected = std::make_unique<TExpectedMenu>(entries, 1);
    ASSERT_NO_FATAL_FAILURE(StartWithSettings(SettingsText(entries, {})));
    // The menu's thread is a single-threaded apartment from the start, for the shell handlers
    // that a launch may start. (Wine's input-method support gives a thread an apartment of its
    // own once one of its windows is activated: so the check comes before the menu first shows.)
    EXPECT_TRUE(ThreadHasComApartment(GetWindowThreadProcessId(Form(), nullptr)));

    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    auto record = WaitRecord();
    ASSERT_FALSE(record.empty()) << "the address's handler did not start: "
                                 << MessageBoxText(Mirto->MessageBoxWindow());
    EXPECT_TRUE(SamePath(record["program"], Recorder())) << record["program"];
    // The address alone: the entry's options go to programs, not to addresses.
    EXPECT_EQ(record["arguments"], "1") << record["commandline"];
    EXPECT_EQ(record["argument1"], address);
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);
}

TEST_F(LaunchMenu, MissingProgramShowsBothFailureMessagesInTurn) {
    const std::string missing = Folder.FilePath("無い プログラム.exe");
    ASSERT_NO_FATAL_FAILURE(Start({{1, 'A', "無いもの", missing, "", "", 0}}));

    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    HWND first = Mirto->WaitMessageBox();
    ASSERT_NE(first, nullptr) << "no message about the missing program";
    const std::string firstText = MessageBoxText(first);
    EXPECT_NE(firstText.find(missing), std::string::npos) << firstText;
    EXPECT_TRUE(EndsWith(firstText, "\n設定を確認してくださいね。")) << firstText;
    char caption[64] = {};
    GetWindowTextA(first, caption, sizeof caption);
    EXPECT_STREQ(caption, "てんみ");
    CloseMessageBox(first);

    HWND second = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        second = Mirto->MessageBoxWindow();
        return second != nullptr && second != first && IsWindow(second);
    })) << "no second message";
    const std::string secondText = MessageBoxText(second);
    EXPECT_TRUE(EndsWith(secondText, "\n\nプロセスの作成に失敗しました。")) << secondText;
    EXPECT_EQ(secondText.find(missing), std::string::npos) << secondText;
    CloseMessageBox(second);
    EXPECT_TRUE(WaitFor([&] { return Mirto->MessageBoxWindow() == nullptr; }));
    EXPECT_TRUE(Mirto->Running());
}

TEST_F(LaunchMenu, EntryWithoutPathStartsNothingAndSaysNothing) {
    ASSERT_NO_FATAL_FAILURE(Start({{1, 'A', "名前だけ", "", "", "", 0}}));

    ASSERT_NO_FATAL_FAILURE(LaunchLine('A'));
    // The one bounded wait: a message would come at once, as the menu hides.
    EXPECT_FALSE(WaitFor([&] { return Mirto->MessageBoxWindow() != nullptr; }, 1500))
        << MessageBoxText(Mirto->MessageBoxWindow());
    EXPECT_TRUE(ProcessesIn(Folder.Path(), Mirto->ProcessId()).empty());
    EXPECT_EQ(GetFileAttributesA(RecordFile().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(Mirto->Running());
}
