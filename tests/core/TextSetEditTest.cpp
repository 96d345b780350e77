#include <gtest/gtest.h>

#include "MemoryFiles.h"

#include <string>
#include <vector>

#include "dialogs/TextSetEdit.h"
#include "frame/Errors.h"

// The text-set editor's rules: shortened texts, page and entry operations, the history window of
// the four lists, the values a set opens with, new titles, kept selections and the rewrite of
// the saved history's load switch.

TEST(TextSetEdit, ShortensToWholeCharacters) {
    const std::string a95(95, 'a');
    const struct {
        std::string Text;
        std::size_t N;
        std::string Expected;
    } cases[] = {
        {"", 3, ""},
        {"abc", 3, "abc"},
        {"abcd", 3, "abc ..."},
        {"あいう", 6, "あいう"},
        {"あいう", 3, "あ ..."}, // byte 3 begins "い"
        {"あいう", 4, "あい ..."},
        {"aぁb", 2, "a ..."},
        // "ぁ" is 82 9F: its trail byte looks like a lead byte, but byte 2 ends a character.
        {"ぁぁ", 2, "ぁ ..."},
        {"ぁぁぁ", 3, "ぁ ..."},
        {a95 + "漢字", 96, a95 + " ..."},
        {a95 + "b漢字", 96, a95 + "b ..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenText(c.Text, c.N), c.Expected) << c.Text << " / " << c.N;

    TTextSetTexts texts(TextSetSize);
    texts[27] = std::string(40, 'x');
    EXPECT_EQ(TextMenuCaption(texts, 27), "B: " + std::string(32, 'x') + " ...");
    EXPECT_EQ(TextMenuCaption(texts, 77), "Z: ");
    EXPECT_EQ(DeleteTextQuestion('C', "おはよう"),
              "キー 'C'には以下のテキストが登録されています。\n\n　おはよう\n\n"
              "このデータを削除してもよろしいでしょうか？");
    EXPECT_EQ(OverwriteTextQuestion('Z', a95 + "漢字"),
              "キー 'Z'には以下のテキストが登録されています。\n\n　" + a95 +
                  " ...\n\nこのデータに上書きしてもよろしいでしょうか？");
}

TEST(TextSetEdit, PageAndEntryOperations) {
    auto sample = [] {
        TTextSetTexts texts(TextSetSize);
        texts[0] = "1A";
        texts[25] = "1Z";
        texts[26] = "2A";
        texts[52] = "3A";
        texts[77] = "3Z";
        return texts;
    };
    auto pick = [](const TTextSetTexts& t) {
        return std::vector<std::string>{t[0], t[25], t[26], t[51], t[52], t[77]};
    };
    using V = std::vector<std::string>;

    TTextSetTexts texts = sample();
    EXPECT_TRUE(LaterTextPagesHaveText(texts, 0));
    DeleteTextPage(texts, 0, true);
    EXPECT_EQ(pick(texts), (V{"2A", "", "3A", "3Z", "", ""}));
    EXPECT_FALSE(TextPageHasText(texts, 2));
    EXPECT_FALSE(LaterTextPagesHaveText(texts, 1));
    // Texts on the last page alone count as later pages.
    TTextSetTexts lastOnly(TextSetSize);
    lastOnly[77] = "3Z";
    EXPECT_TRUE(LaterTextPagesHaveText(lastOnly, 0));
    EXPECT_TRUE(LaterTextPagesHaveText(lastOnly, 1));

    texts = sample();
    DeleteTextPage(texts, 1, false);
    EXPECT_EQ(pick(texts), (V{"1A", "1Z", "", "", "3A", "3Z"}));

    texts = sample();
    ApplyTextPageOperation(texts, TLauncherEditMode::Exchange, 0, 2);
    EXPECT_EQ(pick(texts), (V{"3A", "3Z", "2A", "", "1A", "1Z"}));
    texts = sample();
    ApplyTextPageOperation(texts, TLauncherEditMode::Copy, 1, 0);
    EXPECT_EQ(pick(texts), (V{"2A", "", "2A", "", "3A", "3Z"}));

    texts = sample();
    ApplyTextEntryOperation(texts, TLauncherEditMode::Copy, 0, 51);
    ApplyTextEntryOperation(texts, TLauncherEditMode::Exchange, 25, 77);
    EXPECT_EQ(pick(texts), (V{"1A", "3Z", "2A", "1A", "3A", "1Z"}));
    EXPECT_EQ(texts.size(), static_cast<std::size_t>(TextSetSize));
}

TEST(TextSetEdit, HistoryWindowOfTheFourLists) {
    const struct {
        TWindowFields Entered, Normalised;
        int Top, Bottom;
    } cases[] = {
        {{1, 2, 0, 25}, {0, 25, 1, 2}, 25, 28}, // page 2 C back to page 1 Z
        {{1, 5, 1, 2}, {1, 2, 1, 5}, 28, 31},     {{0, 0, 2, 25}, {0, 0, 2, 25}, 0, 77},
        {{2, 3, 2, 3}, {2, 3, 2, 3}, 55, 55},     {{}, {}, -1, -1}, // nothing chosen
        {{0, -1, 1, -1}, {0, -1, 1, -1}, -1, 25},
    };
    for (const auto& c : cases) {
        const TWindowFields normalised = NormaliseWindow(c.Entered);
        EXPECT_EQ(normalised, c.Normalised) << c.Top;
        EXPECT_EQ(WindowTop(normalised), c.Top);
        EXPECT_EQ(WindowBottom(normalised), c.Bottom);
    }

    const TWindowFields backwards{1, 2, 0, 25};
    const struct {
        bool History;
        TWindowFields Fields;
        int Position;
        bool Shown;
    } shown[] = {
        {true, backwards, 25, true},   {true, backwards, 28, true},
        {true, backwards, 24, false},  {true, backwards, 29, false},
        {false, backwards, 26, false}, {true, {1, 2, 0, -1}, 26, false},
    };
    for (const auto& s : shown)
        EXPECT_EQ(InHistoryWindow(s.History, s.Fields, s.Position), s.Shown) << s.Position;
}

TEST(TextSetEdit, ASetOpensWithItsWindowOrTheWholeMenu) {
    const struct {
        TTextSetWindow File;
        bool History;
        TWindowFields Fields;
    } cases[] = {
        {{true, 26, 51, false}, true, {1, 0, 1, 25}},
        {{false, 3, 30, false}, false, {0, 3, 1, 4}},
        {{false, -1, -1, false}, false, {0, 0, 2, 25}}, // no window at all
        {{true, -1, 10, false}, false, {0, 0, 0, 10}},  // start missing: off
        {{false, 5, -1, false}, true, {0, 5, 2, 25}},   // end missing: on, to the end
        {{true, 30, 200, false}, true, {1, 4, 2, 25}},  // a hand-edited end past the menu
    };
    for (const auto& c : cases) {
        const TEditorWindow editor = EditorWindowOfSet(c.File);
        EXPECT_EQ(editor.History, c.History) << c.File.Top << "," << c.File.Bottom;
        EXPECT_EQ(editor.Fields, c.Fields) << c.File.Top << "," << c.File.Bottom;
    }
}

TEST(TextSetEdit, NewTitlesAndKeptSelections) {
    EXPECT_EQ(NewTextSetTitle({"（ブランク）", "クリップボード設定1", "クリップボード設定2"}),
              "クリップボード設定3");
    EXPECT_EQ(NewTextSetTitle({"（ブランク）", "クリップボード設定2"}), "クリップボード設定1");

    const TStringList files{"a.ini", "Work.ini"};
    EXPECT_EQ(SelectedSetFile(-1, files, "start.ini"), "start.ini");
    EXPECT_EQ(SelectedSetFile(0, files, "start.ini"), "");
    EXPECT_EQ(SelectedSetFile(2, files, "start.ini"), "Work.ini");
    EXPECT_EQ(LineOfSetFile(files, "WORK.INI"), 2);
    EXPECT_EQ(LineOfSetFile(files, "gone.ini"), 0);
    EXPECT_EQ(LineOfSetFile(files, ""), 0);
}

namespace {
class TUnreadableFiles : public TMemoryFiles {
public:
    bool ReadWholeFile(const std::string& path, std::string& bytes) const override {
        return !Locked && TMemoryFiles::ReadWholeFile(path, bytes);
    }
    void WriteWholeFile(const std::string& path, const std::string& bytes) override {
        if (Full) throw EFileError("full");
        TMemoryFiles::WriteWholeFile(path, bytes);
    }
    bool Locked = false, Full = false;
};
} // namespace

TEST(TextSetEdit, TheLoadSwitchAloneIsRewritten) {
    TUnreadableFiles fs;
    SetPlatform(&fs);
    const std::string path = "C:\\Mirto\\CHistory.ini";
    const std::string entries = "\r\n[Page.1]\r\nA=one\\r\\ntwo\r\nB=\" padded \"\r\nC=\r\n";
    fs.Files[path] = "[Basic]\r\nTitle=Clipboard History\r\nHistory=1\r\nTop=-1\r\nBottom=-1\r\n"
                     "LoadHistory=1\r\n" +
                     entries;
    EXPECT_TRUE(ReadHistoryLoadSwitch(path));
    WriteHistoryLoadSwitch(path, false);
    EXPECT_EQ(fs.Files[path],
              "[Basic]\r\nTitle=Clipboard History\r\nHistory=1\r\nTop=-1\r\nBottom=-1\r\n"
              "LoadHistory=0\r\n" +
                  entries);
    EXPECT_FALSE(ReadHistoryLoadSwitch(path));

    // A file without the value gets it at the end of [Basic], before the blank line.
    fs.Files[path] = "[Basic]\r\nTitle=x\r\n" + entries;
    WriteHistoryLoadSwitch(path, true);
    EXPECT_EQ(fs.Files[path], "[Basic]\r\nTitle=x\r\nLoadHistory=1\r\n" + entries);

    const std::string other = "C:\\Mirto\\none.ini";
    EXPECT_FALSE(ReadHistoryLoadSwitch(other));
    WriteHistoryLoadSwitch(other, true);
    EXPECT_EQ(fs.Files[other], "[Basic]\r\nLoadHistory=1\r\n");

    // A file that cannot be read, or written, keeps its entries.
    const std::string before = fs.Files[path];
    fs.Locked = true;
    EXPECT_THROW(WriteHistoryLoadSwitch(path, false), EFileError);
    fs.Locked = false;
    fs.Full = true;
    EXPECT_THROW(WriteHistoryLoadSwitch(path, false), EFileError);
    EXPECT_EQ(fs.Files[path], before);
    SetPlatform(nullptr);
}

TEST(TextSetEdit, TextsOfAShortOrMissingListArePaddedToTheWholeMenu) {
    const TTextSetTexts texts = TextsOfList({"a", "", "c"});
    ASSERT_EQ(texts.size(), 78u);
    EXPECT_EQ(texts[2], "c");
    EXPECT_EQ(texts[77], "");
    EXPECT_EQ(ListOfTexts(texts).Count(), 78u);
    EXPECT_EQ(TextsOfList({}).size(), 78u);
}
