#include <gtest/gtest.h>

#include <map>
#include <set>

#include "launcher/Launch.h"

TEST(Launch, AnAddressBeginsWithASchemeOfTwoOrMoreCharactersAndAColon) {
    for (const char* address :
         {"https://example.com/", "HTTP:x", "Ftp://host", "ftp:", "mailto:a@example.com",
          "ms-settings:display", "svn+ssh://h", "x.y-z:"})
        EXPECT_TRUE(IsUrl(address)) << address;
    // A drive letter is one letter; a scheme begins with a letter and holds no blank.
    for (const char* path : {"C:\\Windows\\a.exe", "a:b", "1x:", "+x:", "ht tp://x", "http",
                             ":http", "C:\\http:", "\\\\server\\share\\a:b", "表示:x", ""})
        EXPECT_FALSE(IsUrl(path)) << path;
}

TEST(Launch, SizeGivesTheWindowState) {
    EXPECT_EQ(ShowCommandOfSize(0), 1);
    EXPECT_EQ(ShowCommandOfSize(1), 2);
    EXPECT_EQ(ShowCommandOfSize(2), 3);
    EXPECT_EQ(ShowCommandOfSize(3), 5);
    EXPECT_EQ(ShowCommandOfSize(7), 5);
    EXPECT_EQ(ShowCommandOfSize(-1), 5);
}

namespace {
// A small file system: folders, files with their short names, and associations by file.
class TLaunchWorld {
public:
    std::set<std::string> Folders = {"C:\\", "C:\\Tools", "C:\\Docs"};
    std::map<std::string, std::string> ShortNames = {
        {"C:\\Tools\\App.exe", "C:\\Tools\\App.exe"},
        {"C:\\Program Files\\Big App\\app.exe", "C:\\PROGRA~1\\BIGAPP~1\\app.exe"},
        {"Z:\\with blank\\app.exe", "Z:\\with blank\\app.exe"},
        {"C:\\Docs\\memo.txt", "C:\\Docs\\memo.txt"},
        {"C:\\Docs\\report.doc", "C:\\Docs\\report.doc"},
        {"C:\\Docs\\Tool.LNK", "C:\\Docs\\Tool.LNK"},
        {"C:\\My Links\\Tool.lnk", "C:\\My Links\\Tool.lnk"},
    };
    std::map<std::string, TDocumentCommand> Commands = {
        {"C:\\Tools\\App.exe", {false, "C:\\Tools\\App.exe"}},
        {"C:\\PROGRA~1\\BIGAPP~1\\app.exe", {false, "C:\\PROGRA~1\\BIGAPP~1\\app.exe"}},
        {"Z:\\with blank\\app.exe", {false, "Z:\\with blank\\app.exe"}},
        {"C:\\Docs\\memo.txt", {false, "\"C:\\WINDOWS\\notepad.exe\" \"C:\\Docs\\memo.txt\" "}},
        {"C:\\Docs\\report.doc", {true, ""}},
    };
    std::vector<std::string> AskedForCommand;
    TLaunchItemTable Table;

    TLaunchEnvironment Environment() {
        TLaunchEnvironment env;
        env.FolderExists = [this](const std::string& path) { return Folders.count(path) > 0; };
        env.ShortFullPath = [this](const std::string& path) {
            const auto found = ShortNames.find(path);
            return found == ShortNames.end() ? (path.empty() ? std::string() : path)
                                             : found->second;
        };
        env.DocumentCommand = [this](const std::string& document) {
            AskedForCommand.push_back(document);
            const auto found = Commands.find(document);
            return found == Commands.end() ? TDocumentCommand{} : found->second;
        };
        env.NearestExistingFolder = [](const std::string& path) {
            return path.substr(0, path.rfind('\\'));
        };
        env.Companion = "C:\\Program Files\\Mirto\\Support.exe";
        return env;
    }
    TLaunchPlan Plan(const std::string& path, const std::string& option = {},
                     const std::string& workDir = {}, int size = 0) {
        Table.SetPath(0, path);
        Table.SetOption(0, option);
        Table.SetWorkDir(0, workDir);
        Table.SetSize(0, size);
        return PlanLaunch(Table, 0, Environment());
    }
};
} // namespace

TEST(LaunchPlan, FreeEntryStartsNothingAndSucceeds) {
    TLaunchWorld world;
    world.Table.SetName(0, "named");
    const TLaunchPlan plan = PlanLaunch(world.Table, 0, world.Environment());
    EXPECT_EQ(plan.Action, TLaunchAction::Nothing);
}

TEST(LaunchPlan, AddressesAndFoldersGoToTheShellsDefaultAction) {
    TLaunchWorld world;
    TLaunchPlan plan = world.Plan("HTTP://example.com/", "ignored", "  C:\\Docs  ", 2);
    EXPECT_EQ(plan.Action, TLaunchAction::ShellDefault);
    EXPECT_EQ(plan.File, "HTTP://example.com/");
    EXPECT_EQ(plan.Parameters, "");
    EXPECT_EQ(plan.Directory, "C:\\Docs");
    EXPECT_EQ(plan.Show, 3);

    for (const char* address : {"https://example.com/a?b=c d", "mailto:a@example.com",
                                "ms-settings:display", "Svn+SSH://host"}) {
        plan = world.Plan(address, "-x");
        EXPECT_EQ(plan.Action, TLaunchAction::ShellDefault) << address;
        EXPECT_EQ(plan.File, address);
    }

    plan = world.Plan("C:\\Tools", "", "C:\\Docs", 1);
    EXPECT_EQ(plan.Action, TLaunchAction::ShellDefault);
    EXPECT_EQ(plan.File, "C:\\Tools");
    EXPECT_EQ(plan.Directory, "C:\\Docs");
    EXPECT_EQ(plan.Show, 2);
    EXPECT_TRUE(world.AskedForCommand.empty());
}

TEST(LaunchPlan, ProgramStartsFromItsShortPathWithItsOptions) {
    TLaunchWorld world;
    TLaunchPlan plan = world.Plan("C:\\Program Files\\Big App\\app.exe", " -x \"a b\" ", "", 7);
    EXPECT_EQ(plan.Action, TLaunchAction::CreateProcess);
    EXPECT_EQ(plan.CommandLine, "C:\\PROGRA~1\\BIGAPP~1\\app.exe  -x \"a b\"");
    // No working folder given (or only blanks): the folder of the started file.
    EXPECT_EQ(plan.Directory, "C:\\PROGRA~1\\BIGAPP~1");
    EXPECT_EQ(plan.Show, 5);
    plan = world.Plan("C:\\Tools\\App.exe", "", " \t ", 0);
    EXPECT_EQ(plan.CommandLine, "C:\\Tools\\App.exe");
    EXPECT_EQ(plan.Directory, "C:\\Tools");
    EXPECT_EQ(plan.Show, 1);
}

TEST(LaunchPlan, ProgramPathThatKeepsABlankIsQuoted) {
    // Without a short form "Z:\with blank\app.exe" would let the system start "Z:\with" first.
    TLaunchWorld world;
    TLaunchPlan plan = world.Plan("Z:\\with blank\\app.exe", "-a", "Z:\\work");
    EXPECT_EQ(plan.CommandLine, "\"Z:\\with blank\\app.exe\" -a");
    EXPECT_EQ(plan.Directory, "Z:\\work");
    // A file the association lookup cannot tell about is started as it is, quoted as well.
    plan = world.Plan("Z:\\with blank\\gone.exe", "-a");
    EXPECT_EQ(plan.Action, TLaunchAction::CreateProcess);
    EXPECT_EQ(plan.CommandLine, "\"Z:\\with blank\\gone.exe\"");
}

TEST(LaunchPlan, DocumentStartsThroughItsAssociationCommand) {
    TLaunchWorld world;
    const TLaunchPlan plan = world.Plan("C:\\Docs\\memo.txt", "/p", "", 1);
    EXPECT_EQ(plan.Action, TLaunchAction::CreateProcess);
    EXPECT_EQ(plan.CommandLine, "\"C:\\WINDOWS\\notepad.exe\" \"C:\\Docs\\memo.txt\"  /p");
    EXPECT_EQ(plan.Show, 2);
    ASSERT_EQ(world.AskedForCommand.size(), 1u);
    EXPECT_EQ(world.AskedForCommand[0], "C:\\Docs\\memo.txt");
}

TEST(LaunchPlan, ShellOpenMarkerUsesTheOpenVerbWithNonBlankOptions) {
    TLaunchWorld world;
    TLaunchPlan plan = world.Plan("C:\\Docs\\report.doc", "   ", "", 2);
    EXPECT_EQ(plan.Action, TLaunchAction::ShellOpen);
    EXPECT_EQ(plan.File, "C:\\Docs\\report.doc");
    EXPECT_EQ(plan.Parameters, "");
    EXPECT_EQ(plan.Directory, "");
    EXPECT_EQ(plan.Show, 3);
    plan = world.Plan("C:\\Docs\\report.doc", " /n ", " C:\\Tools ");
    EXPECT_EQ(plan.Parameters, " /n ");
    EXPECT_EQ(plan.Directory, "C:\\Tools");
}

TEST(LaunchPlan, ShortcutStartsTheCompanionWithAPlainShow) {
    TLaunchWorld world;
    TLaunchPlan plan = world.Plan("C:\\Docs\\Tool.LNK", "-ignored", "", 2);
    EXPECT_EQ(plan.Action, TLaunchAction::CreateProcess);
    EXPECT_EQ(plan.CommandLine, "\"C:\\Program Files\\Mirto\\Support.exe\" C:\\Docs\\Tool.LNK");
    EXPECT_EQ(plan.Show, 5);
    EXPECT_EQ(plan.Directory, "C:\\Docs");
    EXPECT_TRUE(world.AskedForCommand.empty());

    plan = world.Plan("C:\\My Links\\Tool.lnk");
    EXPECT_EQ(CompanionArgument(plan.CommandLine), "C:\\My Links\\Tool.lnk");
}

TEST(LaunchPlan, NoFullPathFailsAsFileNotFound) {
    TLaunchWorld world;
    world.ShortNames["C:\\bad\x01name"] = "";
    TLaunchPlan plan = world.Plan("C:\\bad\x01name", "", "C:\\Docs");
    EXPECT_EQ(plan.Action, TLaunchAction::Fail);
    EXPECT_EQ(plan.Error, 2u);
    // No file name holds a double quote: quoted on the command line, this one would start
    // "C:\Tools\a".
    plan = world.Plan("C:\\Tools\\a\" b.exe");
    EXPECT_EQ(plan.Action, TLaunchAction::Fail);
    EXPECT_EQ(plan.Error, 2u);
    EXPECT_EQ(plan.CommandLine, "");
}

TEST(Launch, CompanionTakesTheWholeRestOfItsCommandLine) {
    EXPECT_EQ(CompanionArgument("Support.exe C:\\A\\B.LNK"), "C:\\A\\B.LNK");
    EXPECT_EQ(CompanionArgument("\"C:\\x y\\Support.exe\"   \"C:\\a b\\表.lnk\"  "),
              "C:\\a b\\表.lnk");
    EXPECT_EQ(CompanionArgument("Support.exe C:\\a b\\c.lnk"), "C:\\a b\\c.lnk");
    EXPECT_EQ(CompanionArgument("Support.exe"), "");
    EXPECT_EQ(CompanionArgument("\"C:\\x y\\Support.exe"), "");
}

TEST(Launch, MissingFileGetsTheSettingMessageBeforeTheProcessMessage) {
    const auto messages = LaunchFailureMessages(2, "見つかりません。", "C:\\a.exe");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "見つかりません。\n\nC:\\a.exe\n設定を確認してくださいね。");
    EXPECT_EQ(messages[1], "見つかりません。\n\nプロセスの作成に失敗しました。");
    const auto other = LaunchFailureMessages(5, "拒否", "C:\\a.exe");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0], "拒否\n\nプロセスの作成に失敗しました。");
}
