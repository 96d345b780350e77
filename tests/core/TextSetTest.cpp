#include <gtest/gtest.h>

#include "MemoryFiles.h"

#include <map>
#include <string>
#include <vector>

#include "clipboard/CHistory.h"
#include "clipboard/TextSet.h"
#include "frame/Platform.h"

namespace {

using TLines = std::vector<std::string>;

// A file system in memory; a folder lists the ".ini" files right inside it, in name order.
class TTextSetPlatform : public TMemoryFiles {
public:
    std::vector<std::string> ListFiles(const std::string& folder,
                                       const std::string&) const override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : Files) {
            const std::string name = path.substr(folder.size());
            if (path.compare(0, folder.size(), folder) == 0 && name.find('\\') == name.npos &&
                name.size() > 4 && name.substr(name.size() - 4) == ".ini")
                names.push_back(name);
        }
        return names;
    }
};

const std::string Folder = "C:\\Mirto\\";
const std::string ListFolder = Folder + "Cliplist\\";

std::string Crlf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

TStringList List(const TLines& lines) {
    TStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

class TextSet : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&Fs);
        History.SetMaxRecord(78);
    }
    void TearDown() override { SetPlatform(nullptr); }
    void Put(const std::string& name, std::initializer_list<std::string> lines) {
        Fs.Files[ListFolder + name] = Crlf(lines);
    }
    // A set with a history window on page 2: C on page 2 is blank.
    void PutWorkSet() {
        Put("work.ini", {"[Basic]", "Title=仕事", "History=1", "Top=26", "Bottom=51", "[Page.1]",
                         "A=p1a", "[Page.2]", "A=p2a", "B=p2b", "D=p2d", "[Page.3]", "A=p3a"});
    }
    std::string Start(const std::string& name) {
        return PrepareClipboardMenu(History, TextSetFile, ListFolder + name, false, Folder);
    }

    TTextSetPlatform Fs;
    THistoryStringList History;
};

} // namespace

TEST_F(TextSet, WritesTheLayoutByteForByte) {
    const std::string text = BuildTextSetText(
        List({"おはよう", "a\tb\\c\r\n", "", " padded ", "\"q\""}), "挨拶", {true, 26, 51, false});
    EXPECT_EQ(text, Crlf({"[Basic]", "Title=挨拶", "History=1", "Top=26", "Bottom=51",
                          "LoadHistory=0", "", "[Page.1]", "A=おはよう", "B=a\\tb\\\\c\\r\\n",
                          "C=", "D=\" padded \"", "E=\"\"q\"\""}));
    TLines page2(27, "");
    page2[26] = "z";
    const std::string two = BuildTextSetText(List(page2), " t", {});
    const std::string head = Crlf({"[Basic]", "Title=\" t\"", "History=0", "Top=-1", "Bottom=-1",
                                   "LoadHistory=0", "", "[Page.1]", "A="});
    const std::string tail = Crlf({"Y=", "Z=", "", "[Page.2]", "A=z"});
    EXPECT_EQ(two.substr(0, head.size()), head);
    EXPECT_EQ(two.substr(two.size() - tail.size()), tail);
}

TEST_F(TextSet, APageTwoWindowKeepsPagesOneAndThreeAndMakesPageTwoTheFirstHistory) {
    PutWorkSet();
    EXPECT_EQ(Start("work.ini"), "仕事");
    EXPECT_EQ(History.HistoryTop(), 26);
    EXPECT_EQ(History.HistoryBottom(), 51);
    EXPECT_EQ(History.History().Items(), (TLines{"p2a", "p2b", "", "p2d"}));
    History.BringTo(26, "new");
    const TStringList& items = History.Items();
    ASSERT_EQ(items.Count(), 53u);
    EXPECT_EQ(items[0], "p1a");
    EXPECT_EQ(items[52], "p3a");
    EXPECT_EQ(TLines(items.begin() + 26, items.begin() + 31),
              (TLines{"new", "p2a", "p2b", "", "p2d"}));
}

TEST_F(TextSet, WindowsThatRunToTheEndOrAreMissing) {
    Put("end.ini", {"[Basic]", "History=1", "Top=26", "[Page.2]", "A=a", "[Page.3]", "Z=z"});
    EXPECT_EQ(Start("end.ini"), "end.ini");
    EXPECT_EQ(History.HistoryBottom(), -1);
    ASSERT_EQ(History.History().Count(), 52u);
    EXPECT_EQ(History.History()[51], "z");
    History.BringTo(60, "w");
    EXPECT_EQ(History.Items()[60], "w");

    // "History" 0: the 78 fixed texts, and copies are never recorded.
    Put("fixed.ini",
        {"[Basic]", "History=0", "Top=0", "[Page.1]", "A=first", "[Page.3]", "Z=last"});
    Start("fixed.ini");
    EXPECT_EQ(History.HistoryTop(), -1);
    History.AssignToHistory(TStringList());
    History.BringTo(0, "copied");
    EXPECT_TRUE(History.History().Empty());
    ASSERT_EQ(History.Items().Count(), 78u);
    EXPECT_EQ(History.Items()[77], "last");

    // A missing file: no fixed texts, no window, no title.
    EXPECT_EQ(Start("missing.ini"), "");
    EXPECT_EQ(History.HistoryTop(), -1);
    EXPECT_TRUE(History.Items().Empty());
}

TEST_F(TextSet, SwitchingKeepsTheHistoryAndTheBlankSwitchKeepsTheFixedTexts) {
    PutWorkSet();
    Put("plain.ini", {"[Basic]", "Title=普通", "[Page.1]", "A=pa", "B=pb", "H=ph"});
    Start("work.ini");
    History.BringTo(26, "copied");
    const TLines kept{"copied", "p2a", "p2b", "", "p2d"};
    ASSERT_EQ(History.History().Items(), kept);
    // A saved history that asks to be loaded at start is not loaded by a switch.
    Fs.Files[Folder + "CHistory.ini"] =
        Crlf({"[Basic]", "Title=Clipboard History", "History=1", "Top=-1", "Bottom=-1",
              "LoadHistory=1", "[Page.1]", "A=saved"});

    std::string current;
    EXPECT_EQ(SwitchTextSet(History, Folder, "Cliplist\\", "plain.ini", current), "普通");
    EXPECT_EQ(current, "plain.ini");
    EXPECT_EQ(History.History().Items(), kept);
    EXPECT_EQ(History.Items().Items(), (TLines{"pa", "pb", "", "", "", "", "", "ph"}));

    EXPECT_EQ(SwitchTextSet(History, Folder, "Cliplist\\", "", current), "");
    EXPECT_EQ(current, "");
    EXPECT_EQ(History.HistoryTop(), 0);
    EXPECT_EQ(History.History().Items(), kept);
    // Page 1 of the previous set shows where the history does not reach.
    EXPECT_EQ(History.Items().Items(), (TLines{"copied", "p2a", "p2b", "", "p2d", "", "", "ph"}));
}

TEST_F(TextSet, AWindowTheHistoryListRefusesIsLeftOut) {
    for (const char* window : {"Top=-5", "Top=26\r\nBottom=79", "Top=0\r\nBottom=-2"}) {
        Fs.Files[ListFolder + "bad.ini"] =
            Crlf({"[Basic]", "Title=b", "History=1", window, "[Page.1]", "A=fixed"});
        THistoryStringList history;
        history.SetMaxRecord(78);
        EXPECT_EQ(PrepareClipboardMenu(history, TextSetFile, ListFolder + "bad.ini", false, Folder),
                  "b")
            << window;
        EXPECT_EQ(history.HistoryTop(), -1) << window;
        EXPECT_EQ(history.HistoryBottom(), -1) << window;
        EXPECT_EQ(history.Items().Items(), (TLines{"fixed"})) << window;
    }
}

TEST_F(TextSet, ListsTitledSetsBesideTheBlankEntry) {
    Put("a.ini", {"[Basic]", "Title=Ａ"});
    Put("b.ini", {"[Basic]", "Title="});
    Put("c.ini", {"[Page.1]", "A=x"});
    Put("d.ini", {"[Basic]", "Title=D"});
    TStringList titles, files;
    ListTextSets(ListFolder, titles, files);
    EXPECT_EQ(titles.Items(), (TLines{"（ブランク）", "Ａ", "D"}));
    EXPECT_EQ(files.Items(), (TLines{"a.ini", "d.ini"}));
}

TEST_F(TextSet, SetFilesAreReadWithinFourMebibytesAndListedByTheirFirstBasicSection) {
    const std::size_t limit = 4 * 1024 * 1024;
    // Files of exactly the limit and one byte more, each with a title and a text; the bulk is in
    // a section nobody reads.
    auto sized = [](const std::string& head, std::size_t size) {
        std::string text = head + "[Page.1]\r\nA=text\r\n[Filler]\r\nX=";
        text.append(size - text.size() - 2, 'x');
        return text + "\r\n";
    };
    Fs.Files[ListFolder + "at.ini"] = sized("[Basic]\r\nTitle=at\r\n", limit);
    Fs.Files[ListFolder + "over.ini"] = sized("[Basic]\r\nTitle=over\r\n", limit + 1);
    // The title as the profile reads it: letter case, blanks and quotes, and only the first
    // section of the name.
    Put("case.ini", {"[Page.1]", "A=x", " [basic] ", " title = 'Case' ", "Title=second"});
    Put("later.ini", {"[Basic]", "History=1", "[Page.1]", "A=x", "[Basic]", "Title=later"});
    TStringList titles, files;
    ListTextSets(ListFolder, titles, files);
    EXPECT_EQ(titles.Items(), (TLines{"（ブランク）", "at", "Case"}));
    EXPECT_EQ(files.Items(), (TLines{"at.ini", "case.ini"}));

    // Loaded for the menu, a set over the limit is a missing set.
    EXPECT_EQ(Start("over.ini"), "");
    EXPECT_EQ(History.Items().Items(), TLines{});
    EXPECT_EQ(Start("at.ini"), "at");
    EXPECT_EQ(History.Items().Items(), TLines{"text"});

    // The saved history is the program's own file and is not bound by it.
    Fs.Files[Folder + "CHistory.ini"] = sized("[Basic]\r\nLoadHistory=1\r\n", limit + 10);
    THistoryStringList next;
    next.SetMaxRecord(78);
    PrepareClipboardMenu(next, TextSetBlank, "", false, Folder);
    EXPECT_EQ(next.History().Items(), TLines{"text"});
}

TEST_F(TextSet, TheSavedHistoryComesBackWholeOnTheNextBlankStart) {
    std::string longText;
    for (int i = 0; i < 1100; ++i)
        longText += i % 10 == 9 ? "ab\\表\r\n" : "0123456789";
    ASSERT_GT(longText.size(), 10000u);
    const TLines entries{longText, "  indented", "\"quoted\"", "", "\x81", "last"};
    History.SetHistoryTop(0);
    History.AssignToHistory(List(entries));
    SaveHistory(History, Folder);
    const std::string& file = Fs.Files.at(Folder + "CHistory.ini");
    const std::string head = Crlf({"[Basic]", "Title=Clipboard History", "History=1", "Top=-1",
                                   "Bottom=-1", "LoadHistory=1", "", "[Page.1]", "A=0123"});
    EXPECT_EQ(file.substr(0, head.size() - 2), head.substr(0, head.size() - 2));

    THistoryStringList next;
    next.SetMaxRecord(78);
    EXPECT_EQ(PrepareClipboardMenu(next, TextSetBlank, "", false, Folder), "");
    EXPECT_EQ(next.History().Items(), entries);
    EXPECT_EQ(next.Items().Items(), entries);

    // Without "LoadHistory" the blank start loads nothing.
    Fs.Files[Folder + "CHistory.ini"] = Crlf({"[Basic]", "LoadHistory=0", "[Page.1]", "A=x"});
    THistoryStringList plain;
    plain.SetMaxRecord(78);
    PrepareClipboardMenu(plain, TextSetBlank, "", false, Folder);
    EXPECT_TRUE(plain.History().Empty());
    // The switch the user turned off stays off through the next save, which writes the history.
    SaveHistory(History, Folder);
    const std::string& again = Fs.Files.at(Folder + "CHistory.ini");
    EXPECT_NE(again.find("\r\nLoadHistory=0\r\n"), std::string::npos) << again.substr(0, 120);
    EXPECT_NE(again.find("\r\nF=last\r\n"), std::string::npos);
}

TEST(TextSetSamples, TheShippedSetsReadAsIntended) {
    const std::string folder = MIRTO_SAMPLE_TEXT_SETS;
    THistoryStringList history;
    history.SetMaxRecord(78);
    EXPECT_EQ(PrepareClipboardMenu(history, TextSetFile, folder + "Business.ini", false, folder),
              "ビジネスメール");
    EXPECT_EQ(history.History().Items(), (TLines{"お疲れさまです。", "よろしくお願いします。"}));
    // "ソ" ends in the byte of a backslash.
    EXPECT_NE(history.Items()[14].find("ソフトウェア開発部\n山田"), std::string::npos);
    EXPECT_EQ(PrepareClipboardMenu(history, TextSetFile, folder + "Phrases.ini", false, folder),
              "定型句");
    EXPECT_EQ(history.HistoryTop(), -1);
    EXPECT_EQ(history.Items()[26], "【重要】");
}
