#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "TestAssociation.h"
#include "TestFolder.h"
#include "frame/StringList.h"
#include "launcher/LaunchWin.h"
#include "system/PathsWin.h"
#include "system/ShellLink.h"

namespace {
// Entries that start the test recorder (tests/win32/recorder), copied into a folder whose name
// holds a blank and double-byte characters, with a decoy where an unquoted command line would
// lead the system ("<folder>\起動.exe" for "<folder>\起動 with blank\recorder.exe").
class Launching : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
        const std::string recorder = BuiltProgramsFolder() + "\\testing\\recorder.exe";
        ASSERT_NE(GetFileAttributesA(recorder.c_str()), INVALID_FILE_ATTRIBUTES) << recorder;
        ASSERT_TRUE(CreateDirectoryA((Folder / "起動 with blank").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(WorkFolder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA(recorder.c_str(), Recorder.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(recorder.c_str(), (Folder / "起動.exe").c_str(), FALSE));
        ASSERT_TRUE(SetEnvironmentVariableA("MIRTO_RECORD", RecordFile.c_str()));
    }
    void TearDown() override { SetEnvironmentVariableA("MIRTO_RECORD", nullptr); }

    // The recorder's lines, once it has written them.
    std::map<std::string, std::string> Record() {
        std::map<std::string, std::string> record;
        const bool written = WaitFor(
            [&] { return GetFileAttributesA(RecordFile.c_str()) != INVALID_FILE_ATTRIBUTES; });
        EXPECT_TRUE(written) << "the recorder did not start";
        if (!written) return record;
        // The recorder moves its finished notes into place, and Wine's move holds the moved
        // file open for deletion for a moment after the move: an open that does not share
        // deletion is then refused, and the notes would read as empty.
        HANDLE file = CreateFileA(RecordFile.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        std::string text(8192, '\0');
        DWORD read = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        text.resize(read);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(start, end - start);
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos)
                record[line.substr(0, equals)] = line.substr(equals + 1);
            start = end + 2;
        }
        DeleteFileA(RecordFile.c_str());
        return record;
    }
    bool Launch(const std::string& path, const std::string& option, const std::string& workDir,
                int size) {
        Table.SetPath(3, path);
        Table.SetOption(3, option);
        Table.SetWorkDir(3, workDir);
        Table.SetSize(3, size);
        return LaunchItem(Table, 3, Companion);
    }
    static bool SamePath(const std::string& a, const std::string& b) {
        return SameText(ExpandLongPath(a), ExpandLongPath(b));
    }

    TTestFolder Folder{"起動テスト"};
    std::string Recorder = Folder / "起動 with blank\\recorder.exe";
    std::string WorkFolder = Folder / "作業 表";
    std::string RecordFile = Folder / "record.txt";
    std::string Companion = BuiltProgramsFolder() + "\\Support.exe";
    TLaunchItemTable Table;
};

// The message box a process shows, found by its process.
HWND FindMessageBox(DWORD processId) {
    struct TSearch {
        DWORD ProcessId;
        HWND Found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<TSearch*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char className[64] = {};
            GetClassNameA(window, className, sizeof className);
            if (owner != search->ProcessId || !IsWindowVisible(window) ||
                std::string(className) != "#32770")
                return TRUE;
            search->Found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Runs the companion on a shortcut file that it cannot open; returns the caption and text of
// the message it shows, closes the message and gives the companion's exit code.
void RunFailingCompanion(const std::string& companion, const std::string& shortcut,
                         std::string& caption, std::string& text, DWORD& exitCode) {
    std::string commandLine = "\"" + companion + "\" " + shortcut;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << GetLastError();
    HWND box = nullptr;
    const bool shown =
        WaitFor([&] { return (box = FindMessageBox(process.dwProcessId)) != nullptr; });
    if (shown) {
        char buffer[1024] = {};
        GetWindowTextA(box, buffer, sizeof buffer);
        caption = buffer;
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_TRUE(shown) << "no message from the companion";
    ASSERT_TRUE(ended);
}
} // namespace

TEST_F(Launching, FreeEntrySucceedsWithoutStartingAnything) {
    Table.SetName(3, "named");
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(LaunchItem(Table, 3, Companion));
    EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(Launching, ProgramGetsItsOptionsWorkingFolderAndWindowState) {
    ASSERT_TRUE(Launch(Recorder, "-a \"日本 語\" 表", "  " + WorkFolder + "  ", 2))
        << GetLastError();
    auto record = Record();
    EXPECT_TRUE(SamePath(record["program"], Recorder)) << record["program"];
    const std::string options = " -a \"日本 語\" 表";
    const std::string& commandLine = record["commandline"];
    ASSERT_GT(commandLine.size(), options.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - options.size()), options) << commandLine;
    EXPECT_TRUE(SamePath(record["folder"], WorkFolder)) << record["folder"];
    EXPECT_EQ(record["flags"], "1");
    EXPECT_EQ(record["show"], "3");
}

TEST_F(Launching, ProgramInAFolderWithABlankIsTheOneStarted) {
    ASSERT_TRUE(Launch(Recorder, "", "", 1)) << GetLastError();
    auto record = Record();
    // Not the decoy "起動.exe" that the first word of an unquoted path names.
    EXPECT_TRUE(SamePath(record["program"], Recorder)) << record["program"];
    // Without a working folder the program starts in its own folder.
    EXPECT_TRUE(SamePath(record["folder"], Folder / "起動 with blank")) << record["folder"];
    EXPECT_EQ(record["show"], "2");
}

TEST_F(Launching, FailuresLeaveTheReasonAsTheLastError) {
    EXPECT_FALSE(Launch(Folder / "無い.exe", "", "", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Launch(Recorder, "", Folder / "無いフォルダ", 0));
    EXPECT_NE(GetLastError(), 0u);
    // A missing companion is the system's own "file not found".
    ASSERT_TRUE(WriteTextFile(Folder / "x.lnk", "x"));
    Table.SetPath(3, Folder / "x.lnk");
    Table.SetWorkDir(3, "");
    EXPECT_FALSE(LaunchItem(Table, 3, Folder / "no companion.exe"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(Launching, ShortcutOpensThroughTheCompanion) {
    TLinkData link;
    link.Path = Recorder;
    link.Arguments = "-lnk \"表 示\"";
    link.WorkDir = WorkFolder;
    link.ShowCmd = SW_SHOWMINNOACTIVE;
    const std::string shortcut = Folder / "起動 表.LNK";
    ASSERT_TRUE(WriteShellLink(shortcut, link));
    // The entry's own window state and options do not reach the shortcut's target.
    ASSERT_TRUE(Launch(shortcut, "-ignored", "", 2)) << GetLastError();
    auto record = Record();
    EXPECT_TRUE(SamePath(record["program"], Recorder)) << record["program"];
    const std::string arguments = " -lnk \"表 示\"";
    const std::string& commandLine = record["commandline"];
    ASSERT_GT(commandLine.size(), arguments.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - arguments.size()), arguments) << commandLine;
    EXPECT_TRUE(SamePath(record["folder"], WorkFolder)) << record["folder"];
    EXPECT_EQ(record["show"], std::to_string(SW_SHOWMINNOACTIVE));
}

TEST_F(Launching, CompanionTellsWhyAShortcutCannotBeOpened) {
    std::string caption, text;
    DWORD exitCode = 0;
    const std::string missing = Folder / "無い 表.lnk";
    RunFailingCompanion(Companion, "\"" + missing + "\"", caption, text, exitCode);
    EXPECT_EQ(caption, "てんみ");
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    EXPECT_NE(text.find("ショートカットが見つかりません。"), std::string::npos) << text;
    EXPECT_EQ(exitCode, 1u);

    TLinkData link;
    link.Path = Folder / "消えた.exe";
    const std::string broken = Folder / "broken.lnk";
    ASSERT_TRUE(WriteShellLink(broken, link));
    RunFailingCompanion(Companion, GetShortFullPath(broken), caption, text, exitCode);
    EXPECT_EQ(caption, "てんみ");
    EXPECT_NE(text.find("消えた.exe"), std::string::npos) << text;
    EXPECT_NE(text.find("リンク先が見つかりません。"), std::string::npos) << text;
    EXPECT_EQ(exitCode, 1u);

    ASSERT_TRUE(WriteTextFile(Folder / "garbage.lnk", "not a link"));
    RunFailingCompanion(Companion, Folder / "garbage.lnk", caption, text, exitCode);
    EXPECT_NE(text.find("ショートカットを読み込めませんでした。"), std::string::npos) << text;
}

TEST_F(Launching, DocumentStartsWithItsAssociationCommandAndOptions) {
    TTestAssociation association(".mzr", "Mirto.RecorderDocument",
                                 "\"" + Recorder + "\" \"%1\" %*");
    const std::string document = Folder / "メモ 表.mzr";
    ASSERT_TRUE(WriteTextFile(document, "x"));
    ASSERT_TRUE(Launch(document, "/p", "", 0)) << GetLastError();
    auto record = Record();
    EXPECT_TRUE(SamePath(record["program"], Recorder)) << record["program"];
    EXPECT_EQ(record["commandline"],
              "\"" + Recorder + "\" \"" + GetShortFullPath(document) + "\"  /p");
    EXPECT_TRUE(SamePath(record["folder"], Folder.Path())) << record["folder"];
    EXPECT_EQ(record["show"], "1");
}

TEST_F(Launching, AssociationWithoutTheDocumentGoesThroughTheShellsOpenVerb) {
    TTestAssociation association(".mzo", "Mirto.RecorderOpen", "\"" + Recorder + "\" /open");
    const std::string document = Folder / "a.mzo";
    ASSERT_TRUE(WriteTextFile(document, "x"));
    ASSERT_TRUE(Launch(document, "  ", WorkFolder, 1)) << GetLastError();
    auto record = Record();
    EXPECT_TRUE(SamePath(record["program"], Recorder)) << record["program"];
    EXPECT_NE(record["commandline"].find("/open"), std::string::npos) << record["commandline"];
    EXPECT_EQ(record["show"], "2");
}

TEST_F(Launching, DocumentWithBlanksStaysOneArgumentAndNeverNamesTheProgram) {
    // A volume without short (8.3) names: the launch sees full paths in their long form.
    TLaunchEnvironment env = Win32LaunchEnvironment(Companion);
    env.ShortFullPath = [](const std::string& path) { return ExpandLongPath(path); };
    TTestAssociation bare(".mzb", "Mirto.RecorderBare", "\"" + Recorder + "\" /doc %1");
    const std::string document = Folder / "起動 with blank\\メモ 表.mzb";
    ASSERT_TRUE(WriteTextFile(document, "x"));
    Table.SetPath(3, document);
    Table.SetOption(3, "/p");
    ASSERT_TRUE(RunLaunchPlan(PlanLaunch(Table, 3, env))) << GetLastError();
    auto record = Record();
    EXPECT_EQ(record["arguments"], "3") << record["commandline"];
    EXPECT_EQ(record["argument1"], "/doc");
    EXPECT_TRUE(SamePath(record["argument2"], document)) << record["argument2"];
    EXPECT_EQ(record["argument3"], "/p");

    // A template that begins with the document: the system is asked to start the document
    // itself (not a program), never the decoy "起動.exe" that its first word names.
    TTestAssociation first(".mzf", "Mirto.DocumentFirst", "%1 %*");
    Table.SetPath(3, Folder / "起動 with blank\\x.mzf");
    ASSERT_TRUE(WriteTextFile(Table.GetPath(3), "x"));
    EXPECT_FALSE(RunLaunchPlan(PlanLaunch(Table, 3, env)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}
