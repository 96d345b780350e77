#include <gtest/gtest.h>

#include <array>
#include <set>
#include <tuple>

#include "dialogs/KeyCheck.h"

TEST(KeyCheck, ChoicesShowTheStoredFormsAndGiveThemBack) {
    TSettingData data;
    data.CallClipboardMenu = -1;
    data.DeleteKey = -1;
    data.TotalClipboardPage = 2;
    data.MoveKey = ~2; // disabled, "Shift + Alt"
    data.SizeDirection = {1, 2, 3, 4};
    data.WindowKeys[wkMaximize].Enabled = 1; // registered counts as on
    data.WindowKeys[wkRestore].Enabled = WindowKeyDisabled;
    MirrorStepKeys(data);
    TMenuSettings menu;
    menu.Line = 3;

    TKeyChoices c = KeyChoicesFromSettings(data, menu);
    EXPECT_EQ((std::array{c.LauncherCallKey, c.ClipboardCallKey, c.DeleteKey, c.ProtectKey, c.Line,
                          c.ClipboardPages}),
              (std::array{2, 0, 0, 6, 2, 1}));
    EXPECT_EQ(c.Move, (TStepKeyChoice{false, 2, {52, 56, 54, 50}, "32"}));
    EXPECT_EQ(c.Size, (TStepKeyChoice{true, 4, {1, 2, 3, 4}, "32"}));
    EXPECT_EQ(c.Maximize, (TWindowKeyChoice{true, 4, 41}));
    EXPECT_FALSE(c.Restore.Enabled);

    data.WindowKeys[wkMaximize].Enabled = WindowKeyEnabled; // what unregistering left
    TSettingData back;
    TMenuSettings backMenu;
    KeyChoicesToSettings(c, back, backMenu);
    EXPECT_EQ(BuildSettingsText(back, TLaunchItemTable(), backMenu, ""),
              BuildSettingsText(data, TLaunchItemTable(), menu, ""));
    auto entry = [](const TSettingData& d, int id) {
        return std::array{d.WindowKeys[id].Enabled, d.WindowKeys[id].Key1, d.WindowKeys[id].Key2};
    };
    for (int id = 0; id < WindowKeyCount; ++id)
        EXPECT_EQ(entry(back, id), entry(data, id)) << id;

    // Switching the move group on enables its four hot keys; the step is read from its box.
    c.Move.Enabled = true;
    c.Move.Step = "12px";
    KeyChoicesToSettings(c, back, backMenu);
    EXPECT_EQ(back.MoveKey, 2);
    EXPECT_EQ(back.MoveValue, 12);
    EXPECT_EQ(back.WindowKeys[wkMoveDown].Enabled, WindowKeyEnabled);
}

TEST(KeyCheck, NumberBoxKeepsTheDecimalFormOfItsLeadingInteger) {
    const std::pair<const char*, const char*> cases[] = {
        {"32", "32"}, {"007", "7"}, {" 12px", "12"}, {"-5", "-5"}, {"+8", "8"},
        {"abc", "0"}, {"", "0"},    {"-", "0"},      {"1 2", "1"}, {"99999999999", "2147483647"}};
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(NumberBoxText(text), shown) << text;
}

TEST(KeyCheck, PairMessagesNameBothOperations) {
    EXPECT_EQ(KeyPairMessage(0, 1),
              "ウィンドウの移動（左）とウィンドウの移動（上）とが同じキー設定になっています。");
    EXPECT_EQ(KeyPairMessage(11, 12),
              "呼び出し切り替えとスクリーンセーバー起動とが同じキー設定になっています。");
    // The texts are the program's code page 932 bytes: "未定義のエラーです。".
    EXPECT_EQ(KeyPairMessage(1, 0), "\x96\xa2\x92\xe8\x8b\x60\x82\xcc\x83\x47\x83\x89\x81\x5b"
                                    "\x82\xc5\x82\xb7\x81\x42");
    for (const auto& [i, j] : {std::pair{3, 3}, {-1, 2}, {12, 13}})
        EXPECT_EQ(KeyPairMessage(i, j), "未定義のエラーです。") << i << "," << j;
}

TEST(KeyCheck, ConfirmationReportsTheFirstFailingCheck) {
    using C = TKeyControl;
    using T = TSettingsTab;
    const char* const sameInGroup =
        "一つのタイプに同じキーを割り当てることはできません。\n他のキーを設定してくださいね。";
    struct TCase {
        const char* What;
        void (*Change)(TKeyChoices&);
        const char* Message; // empty: passes
        T Tab;
        C Focus;
    };
    const TCase cases[] = {
        {"the defaults", [](TKeyChoices&) {}, "", T::Menu, C::None},
        {"equal call keys", [](TKeyChoices& c) { c.LauncherCallKey = 3; },
         "ランチメニュー呼び出しキーと、クリップボード履歴メニュー呼び出しキーが同じです。",
         T::Menu, C::ComboBox2},
        {"only modifiers compared",
         [](TKeyChoices& c) { c.LauncherCallKey = 1, c.Move.Modifier = 0; },
         "ランチメニュー呼び出しキーと、ウィンドウ移動キーが同じです。", T::Menu, C::ComboBox2},
        {"disabled group in no check",
         [](TKeyChoices& c) {
             c.LauncherCallKey = 1, c.Move.Enabled = false, c.Move.Modifier = 0;
             c.Move.Keys[1] = c.Move.Keys[0];
         },
         "", T::Menu, C::None},
        {"clipboard call key", [](TKeyChoices& c) { c.ClipboardCallKey = 1, c.Pause.Modifier = 0; },
         "クリップボード履歴メニュー呼び出しキーと、呼び出し切り替えキーが同じです。", T::Menu,
         C::ComboBox3},
        {"command keys", [](TKeyChoices& c) { c.QuitKey = c.DeleteKey; },
         "メニュー表示中に使用するキーが重複しています。", T::Menu, C::ComboBox19},
        {"two command keys none", [](TKeyChoices& c) { c.DeleteKey = c.ProtectKey = 0; }, "",
         T::Menu, C::None},
        {"left, left, right, down", [](TKeyChoices& c) { c.Move.Keys[1] = c.Move.Keys[0]; },
         sameInGroup, T::WindowKeys, C::ComboBox10},
        {"first list of the pair", [](TKeyChoices& c) { c.Size.Keys[3] = c.Size.Keys[1]; },
         sameInGroup, T::WindowKeys, C::ComboBox21},
        {"move and resize", [](TKeyChoices& c) { c.Size.Modifier = c.Move.Modifier; },
         "ウィンドウの移動（左）とウィンドウサイズの変更（左）とが同じキー設定になっています。",
         T::WindowKeys, C::ComboBox10},
        {"maximise, minimise", [](TKeyChoices& c) { c.Minimize = c.Maximize; },
         "ウィンドウの最大化とアプリケーションの最小化とが同じキー設定になっています。",
         T::WindowKeys, C::ComboBox28},
        {"call toggle's tab", [](TKeyChoices& c) { c.ScreenSaver = c.Pause; },
         "呼び出し切り替えとスクリーンセーバー起動とが同じキー設定になっています。", T::Menu,
         C::ComboBox26},
        {"disabled operation",
         [](TKeyChoices& c) { c.Minimize = c.Maximize, c.Minimize.Enabled = false; }, "", T::Menu,
         C::None},
        {"other modifiers",
         [](TKeyChoices& c) { c.Minimize = c.Maximize, c.Minimize.Modifier = 3; }, "", T::Menu,
         C::None},
    };
    for (const auto& test : cases) {
        TKeyChoices c = KeyChoicesFromSettings(TSettingData(), TMenuSettings());
        test.Change(c);
        const bool ok = *test.Message == '\0';
        EXPECT_EQ(
            CheckKeyChoices(c),
            (ok ? TKeyCheckResult{} : TKeyCheckResult{false, test.Message, test.Tab, test.Focus}))
            << test.What;
    }
}

namespace {
// Launcher entries over a few existing paths and programs the search finds.
class KeyCheckEntries : public ::testing::Test {
protected:
    TEntryCheckEnvironment Environment() {
        TEntryCheckEnvironment env;
        env.PathExists = [this](const std::string& p) { return Existing.count(p) > 0; };
        env.SearchProgram = [this](const std::string& p) {
            Searched.push_back(p);
            return p == "notepad" ? std::string("C:\\WINDOWS\\NOTEPAD.EXE") : std::string();
        };
        env.LongPath = [](const std::string&) { return std::string("C:\\Windows\\notepad.exe"); };
        env.ConfirmNoName = [this](const std::string& question) {
            Asked.push_back(question);
            return NoNameAnswer;
        };
        env.Missing = [this](int page, char letter, const std::string& path) {
            Missing.push_back(std::to_string(page) + letter + " " + path);
            return MissingAnswer;
        };
        return env;
    }
    void Put(int index, const char* name, const char* path) {
        Table.SetName(index, name);
        Table.SetPath(index, path);
    }
    TEntryCheckResult Check() { return CheckLauncherEntries(Table, Environment()); }
    // Where a check stopped: ok, page, row, focus.
    static std::tuple<bool, int, int, TKeyControl> Stop(const TEntryCheckResult& r) {
        return {r.Ok, r.Page, r.Row, r.Focus};
    }

    TLaunchItemTable Table;
    std::set<std::string> Existing = {"C:\\Tools\\App.exe"};
    bool NoNameAnswer = false;
    TMissingAnswer MissingAnswer = TMissingAnswer::Back;
    std::vector<std::string> Asked, Searched, Missing;
};
} // namespace

TEST_F(KeyCheckEntries, AnEntryWithoutANameStopsOnNoAndGoesOnWithYes) {
    Put(28, "", "C:\\Tools\\App.exe");
    EXPECT_EQ(Stop(Check()), std::tuple(false, 2, 3, TKeyControl::Memo3));
    EXPECT_EQ(Asked, std::vector<std::string>{
                         "ページ：2\nキー： C\nパス： C:\\Tools\\App.exe\n\n"
                         "このファイルには名前が定義されていません。よろしいですか？"});

    NoNameAnswer = true;
    EXPECT_EQ(Stop(Check()), std::tuple(true, 0, 0, TKeyControl::None));
    EXPECT_EQ(Table.GetName(28), "");
}

TEST_F(KeyCheckEntries, AddressesAreNeverSearchedAndFoundProgramsAreRepaired) {
    Put(1, "Web", "HTTP://example.com/");
    Put(2, "Files", "ftp://host/");
    Put(5, "Secure", "https://example.com/");
    Put(3, "Editor", "notepad");
    Put(4, "Short", "http");
    MissingAnswer = TMissingAnswer::Ignore;
    const TEntryCheckResult result = Check();
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(Searched, (std::vector<std::string>{"notepad", "http"}));
    EXPECT_EQ(Table.GetPath(3), "C:\\Windows\\notepad.exe");
    EXPECT_EQ(result.Repaired, (std::vector<int>{3}));
    EXPECT_EQ(Missing, (std::vector<std::string>{"1E http"}));
}

TEST_F(KeyCheckEntries, MissingApplicationGoesBackToThePathOrIsIgnored) {
    Put(5, "A", "C:\\Gone\\a.exe");
    Put(30, "B", "C:\\Gone\\b.exe");
    Put(77, "C", "C:\\Gone\\c.exe");
    EXPECT_EQ(Stop(Check()), std::tuple(false, 1, 6, TKeyControl::Edit2));

    Missing.clear();
    MissingAnswer = TMissingAnswer::Ignore;
    EXPECT_TRUE(Check().Ok);
    EXPECT_EQ(Missing, (std::vector<std::string>{"1F C:\\Gone\\a.exe", "2E C:\\Gone\\b.exe",
                                                 "3Z C:\\Gone\\c.exe"}));

    Missing.clear();
    MissingAnswer = TMissingAnswer::IgnoreAll;
    EXPECT_TRUE(Check().Ok);
    EXPECT_EQ(Missing, (std::vector<std::string>{"1F C:\\Gone\\a.exe"}));
}
