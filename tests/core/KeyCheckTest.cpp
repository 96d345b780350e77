#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "dialogs/KeyCheck.h"

namespace {
bool SameWindowKeys(const TSettingData& a, const TSettingData& b) {
    for (int id = 0; id < WindowKeyCount; ++id) {
        const TWindowKey &x = a.WindowKeys[id], &y = b.WindowKeys[id];
        if (x.Enabled != y.Enabled || x.Key1 != y.Key1 || x.Key2 != y.Key2) return false;
    }
    return true;
}
} // namespace

TEST(KeyCheck, ChoicesShowTheStoredFormsAsListPositions) {
    TSettingData data;
    data.CallClipboardMenu = -1;
    data.DeleteKey = -1;
    data.HoldTime = 7;
    data.TotalClipboardPage = 2;
    data.MoveKey = ~2; // disabled, "Shift + Alt"
    data.MoveValue = 48;
    data.WindowKeys[wkMaximize] = {1, 41, 4}; // registered counts as on
    data.WindowKeys[wkRestore].Enabled = WindowKeyDisabled;
    TMenuSettings menu;
    menu.Line = 3;

    const TKeyChoices c = KeyChoicesFromSettings(data, menu);
    EXPECT_EQ(c.LauncherCallKey, 2);
    EXPECT_EQ(c.ClipboardCallKey, 0);
    EXPECT_EQ(c.DeleteKey, 0);
    EXPECT_EQ(c.ProtectKey, 6);
    EXPECT_EQ(c.HoldTime, 7);
    EXPECT_EQ(c.Line, 2);
    EXPECT_EQ(c.ClipboardPages, 1);
    EXPECT_EQ(c.Move, (TStepKeyChoice{false, 2, {52, 56, 54, 50}, "48"}));
    EXPECT_EQ(c.Size, (TStepKeyChoice{true, 4, {52, 56, 54, 50}, "32"}));
    EXPECT_EQ(c.Maximize, (TWindowKeyChoice{true, 4, 41}));
    EXPECT_FALSE(c.Restore.Enabled);
    EXPECT_FALSE(c.TrayMenu);
}

TEST(KeyCheck, TakingTheChoicesOverGivesBackTheSettingsAndKeepsTheMirroredEntriesInStep) {
    TSettingData data;
    data.CallLauncherMenu = 0;
    data.QuitKey = 5;
    data.Hold = true;
    data.MoveKey = ~1;
    data.SizeValue = 5;
    data.SizeDirection = {1, 2, 3, 4};
    data.WindowKeys[wkPause] = {WindowKeyDisabled, 7, 2};
    data.WindowKeys[wkTrayMenu].Enabled = WindowKeyEnabled;
    data.ImeClose = true;
    MirrorStepKeys(data);
    TMenuSettings menu;
    menu.Line = 2;

    TSettingData back;
    TMenuSettings backMenu;
    KeyChoicesToSettings(KeyChoicesFromSettings(data, menu), back, backMenu);
    EXPECT_EQ(BuildSettingsText(back, TLaunchItemTable(), backMenu, ""),
              BuildSettingsText(data, TLaunchItemTable(), menu, ""));
    EXPECT_TRUE(SameWindowKeys(back, data));
    EXPECT_EQ(back.WindowKeys[wkMoveUp].Enabled, WindowKeyDisabled);
    EXPECT_EQ(back.WindowKeys[wkSizeDown].Key1, 4);

    // Switching the move group on in the dialog enables its four hot keys.
    TKeyChoices c = KeyChoicesFromSettings(data, menu);
    c.Move.Enabled = true;
    c.Move.Step = "12px";
    KeyChoicesToSettings(c, back, backMenu);
    EXPECT_EQ(back.MoveKey, 1);
    EXPECT_EQ(back.MoveValue, 12);
    EXPECT_EQ(back.WindowKeys[wkMoveDown].Enabled, WindowKeyEnabled);
    EXPECT_EQ(back.WindowKeys[wkMoveDown].Key2, 1);
}

TEST(KeyCheck, NumberBoxKeepsTheDecimalFormOfItsLeadingInteger) {
    const std::pair<const char*, const char*> cases[] = {
        {"32", "32"},
        {"007", "7"},
        {" 12px", "12"},
        {"-5", "-5"},
        {"+8", "8"},
        {"abc", "0"},
        {"", "0"},
        {"-", "0"},
        {"1 2", "1"},
        {"x12", "0"},
        {"99999999999", "2147483647"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(NumberBoxText(text), shown) << text;
}

TEST(KeyCheck, PairMessagesNameBothOperations) {
    EXPECT_EQ(KeyPairMessage(0, 1),
              "ウィンドウの移動（左）とウィンドウの移動（上）とが同じキー設定になっています。");
    EXPECT_EQ(KeyPairMessage(11, 12),
              "呼び出し切り替えとスクリーンセーバー起動とが同じキー設定になっています。");
    // The texts are the program's code page 932 bytes.
    EXPECT_EQ(KeyPairMessage(1, 0), "\x96\xa2\x92\xe8\x8b\x60\x82\xcc\x83\x47\x83\x89\x81\x5b"
                                    "\x82\xc5\x82\xb7\x81\x42");
    for (const auto& [i, j] : {std::pair{3, 3}, {-1, 2}, {12, 13}})
        EXPECT_EQ(KeyPairMessage(i, j), "未定義のエラーです。") << i << "," << j;
    std::set<std::string> texts;
    for (int i = 0; i < 13; ++i)
        for (int j = i + 1; j < 13; ++j)
            texts.insert(KeyPairMessage(i, j));
    EXPECT_EQ(texts.size(), 78u);
    EXPECT_EQ(texts.count("未定義のエラーです。"), 0u);
}

TEST(KeyCheck, ConfirmationReportsTheFirstFailingCheck) {
    using C = TKeyControl;
    using T = TSettingsTab;
    struct TCase {
        const char* What;
        std::function<void(TKeyChoices&)> Change;
        const char* Message; // empty: passes
        T Tab;
        C Focus;
    };
    const TCase cases[] = {
        {"the defaults", [](TKeyChoices&) {}, "", T::Menu, C::None},
        {"equal call keys", [](TKeyChoices& c) { c.LauncherCallKey = 3; },
         "ランチメニュー呼び出しキーと、クリップボード履歴メニュー呼び出しキーが同じです。",
         T::Menu, C::ComboBox2},
        {"only the modifiers are compared",
         [](TKeyChoices& c) {
             c.LauncherCallKey = 1;
             c.Move.Modifier = 0;
         },
         "ランチメニュー呼び出しキーと、ウィンドウ移動キーが同じです。", T::Menu, C::ComboBox2},
        {"the last group of the launcher call key",
         [](TKeyChoices& c) {
             c.LauncherCallKey = 1;
             c.ScreenSaver.Modifier = 0;
         },
         "ランチメニュー呼び出しキーと、スクリーンセーバー起動キーが同じです。", T::Menu,
         C::ComboBox2},
        {"a disabled group takes part in no check",
         [](TKeyChoices& c) {
             c.LauncherCallKey = 1;
             c.Move = {false, 0, {7, 7, 7, 7}, "1"};
             c.Size.Modifier = 3;
         },
         "", T::Menu, C::None},
        {"clipboard call key",
         [](TKeyChoices& c) {
             c.ClipboardCallKey = 1;
             c.Pause.Modifier = 0;
         },
         "クリップボード履歴メニュー呼び出しキーと、呼び出し切り替えキーが同じです。", T::Menu,
         C::ComboBox3},
        {"command keys: the later list of the pair",
         [](TKeyChoices& c) { c.QuitKey = c.DeleteKey; },
         "メニュー表示中に使用するキーが重複しています。", T::Menu, C::ComboBox19},
        {"two command keys without a key", [](TKeyChoices& c) { c.DeleteKey = c.ProtectKey = 0; },
         "", T::Menu, C::None},
        {"move keys left, left, right, down",
         [](TKeyChoices& c) {
             c.Move.Keys = {52, 52, 54, 50};
         },
         "一つのタイプに同じキーを割り当てることはできません。\n他のキーを設定してくださいね。",
         T::WindowKeys, C::ComboBox10},
        {"resize keys: the first list of the pair",
         [](TKeyChoices& c) {
             c.Size.Keys = {52, 56, 54, 56};
         },
         "一つのタイプに同じキーを割り当てることはできません。\n他のキーを設定してくださいね。",
         T::WindowKeys, C::ComboBox21},
        {"move and resize on the same keys",
         [](TKeyChoices& c) { c.Size.Modifier = c.Move.Modifier; },
         "ウィンドウの移動（左）とウィンドウサイズの変更（左）とが同じキー設定になっています。",
         T::WindowKeys, C::ComboBox10},
        {"maximise and minimise", [](TKeyChoices& c) { c.Minimize = c.Maximize; },
         "ウィンドウの最大化とアプリケーションの最小化とが同じキー設定になっています。",
         T::WindowKeys, C::ComboBox28},
        {"call toggle on the menu tab", [](TKeyChoices& c) { c.ScreenSaver = c.Pause; },
         "呼び出し切り替えとスクリーンセーバー起動とが同じキー設定になっています。", T::Menu,
         C::ComboBox26},
        {"a disabled operation",
         [](TKeyChoices& c) {
             c.Minimize = {false, 4, 41};
         },
         "", T::Menu, C::None},
        {"same key, other modifiers",
         [](TKeyChoices& c) {
             c.Minimize = {true, 3, 41};
         },
         "", T::Menu, C::None},
    };
    for (const auto& test : cases) {
        TKeyChoices c = KeyChoicesFromSettings(TSettingData(), TMenuSettings());
        test.Change(c);
        const TKeyCheckResult result = CheckKeyChoices(c);
        const std::string message = test.Message;
        EXPECT_EQ(result, (message.empty() ? TKeyCheckResult{}
                                           : TKeyCheckResult{false, message, test.Tab, test.Focus}))
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

    TLaunchItemTable Table;
    std::set<std::string> Existing = {"C:\\Tools\\App.exe", "C:\\Docs"};
    bool NoNameAnswer = false;
    TMissingAnswer MissingAnswer = TMissingAnswer::Back;
    std::vector<std::string> Asked, Searched, Missing;
};
} // namespace

TEST_F(KeyCheckEntries, AnEntryWithoutANameStopsOnNoAndGoesOnWithYes) {
    Put(0, "Docs", "C:\\Docs");
    Put(28, "", "C:\\Tools\\App.exe");
    TEntryCheckResult result = Check();
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Page, 2);
    EXPECT_EQ(result.Row, 3);
    EXPECT_EQ(result.Focus, TKeyControl::Memo3);
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0], "ページ：2\nキー： C\nパス： C:\\Tools\\App.exe\n\n"
                        "このファイルには名前が定義されていません。よろしいですか？");

    NoNameAnswer = true;
    EXPECT_TRUE(Check().Ok);
    EXPECT_EQ(Table.GetName(28), "");
}

TEST_F(KeyCheckEntries, AddressesAreNeverSearchedAndFoundProgramsAreRepaired) {
    Put(1, "Web", "HTTP://example.com/");
    Put(2, "Files", "ftp://host/");
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
    const TEntryCheckResult back = Check();
    EXPECT_FALSE(back.Ok);
    EXPECT_EQ(back.Page, 1);
    EXPECT_EQ(back.Row, 6);
    EXPECT_EQ(back.Focus, TKeyControl::Edit2);

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
