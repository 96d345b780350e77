#include <gtest/gtest.h>

#include <map>

#include "system/DocumentCommand.h"

namespace {
// A shell with a fixed program lookup and a fixed file-class registry.
class TShell {
public:
    int Code = 42;
    std::string Program = "C:\\WINDOWS\\NOTEPAD.EXE";
    std::map<std::string, std::string> Classes;

    TAssociationLookups Lookups() {
        TAssociationLookups lookups;
        lookups.LookUpProgram = [this](const std::string&, std::string& program) {
            program = Program;
            return Code;
        };
        lookups.ShortFullPath = [](const std::string& path) { return path; };
        lookups.ReadClassValue = [this](const std::string& key, std::string& value) {
            const auto found = Classes.find(key);
            if (found == Classes.end()) return false;
            value = found->second;
            return true;
        };
        lookups.WindowsFolder = [] { return std::string("C:\\WINDOWS"); };
        lookups.ProgramFilesFolder = [] { return std::string("C:\\Program Files"); };
        return lookups;
    }
    TDocumentCommand Command(const std::string& document) {
        return DecideDocumentCommand(document, Lookups());
    }
};

const TDocumentCommand ShellOpenMarker{true, ""};
} // namespace

void PrintTo(const TDocumentCommand& command, std::ostream* out) {
    *out << (command.ShellOpen ? "shell-open marker" : "\"" + command.Text + "\"");
}

TEST(DocumentCommand, RewriteFillsTheDocumentAndDropsTheRestArguments) {
    EXPECT_EQ(RewriteDocumentCommand("\"C:\\Tools\\Ed.exe\" \"%1\" %*", "C:\\a.txt", "W", "P"),
              "\"C:\\Tools\\Ed.exe\" \"C:\\a.txt\" ");
    EXPECT_EQ(RewriteDocumentCommand("ed.exe %L,%*", "C:\\a.txt", "W", "P"), "ed.exe C:\\a.txt");
    EXPECT_EQ(RewriteDocumentCommand("%systemroot%\\ed.exe %1 /x %SYSTEMROOT%", "D", "C:\\WIN", ""),
              "C:\\WIN\\ed.exe D /x C:\\WIN");
    EXPECT_EQ(RewriteDocumentCommand("\"%ProgramFiles%\\Ed\\ed.exe\" %1", "D", "", "C:\\PF"),
              "\"C:\\PF\\Ed\\ed.exe\" D");
}

TEST(DocumentCommand, RewriteNeverReadsInsertedNamesAsPlaceholders) {
    // A folder may be named "%1" or "%SystemRoot%"; the document goes in as it is.
    EXPECT_EQ(RewriteDocumentCommand("ed.exe %l", "C:\\%1\\%*\\a.txt", "W", "P"),
              "ed.exe C:\\%1\\%*\\a.txt");
    EXPECT_EQ(
        RewriteDocumentCommand("%SystemRoot%\\ed.exe %1", "C:\\%SystemRoot%\\a", "C:\\%1", ""),
        "C:\\%1\\ed.exe C:\\%SystemRoot%\\a");
    // "表" ends in the byte of a backslash, "ソ" (83 5C) too; neither disturbs the placeholders.
    EXPECT_EQ(RewriteDocumentCommand("表ソ%1", "D", "", ""), "表ソD");
}

TEST(DocumentCommand, RewriteQuotesADocumentWithBlanksWhereTheTemplateDoesNot) {
    const char* const cases[][3] = {
        {"ed.exe %1", "D:\\My Docs\\a b.txt", "ed.exe \"D:\\My Docs\\a b.txt\""},
        {"ed.exe \"%1\"", "D:\\My Docs\\a b.txt", "ed.exe \"D:\\My Docs\\a b.txt\""},
        {"ed.exe %1", "D:\\MYDOCS~1\\AB~1.TXT", "ed.exe D:\\MYDOCS~1\\AB~1.TXT"},
        {"%1 %*", "C:\\My Docs\\x.txt", "\"C:\\My Docs\\x.txt\" "},
        {"ed.exe %L", "C:\\表 示\\x.txt", "ed.exe \"C:\\表 示\\x.txt\""},
        {"ed.exe %1", "C:\\a\tb.txt", "ed.exe \"C:\\a\tb.txt\""},
        {"\"C:\\A B\\ed.exe\" \"/f:%1\" %l", "C:\\a b",
         "\"C:\\A B\\ed.exe\" \"/f:C:\\a b\" \"C:\\a b\""},
        {"ソ\"表\" %1", "C:\\a b", "ソ\"表\" \"C:\\a b\""},
    };
    for (const auto& [command, document, expected] : cases)
        EXPECT_EQ(RewriteDocumentCommand(command, document, "W", "P"), expected) << command;
}

TEST(DocumentCommand, NoAssociationOpensTheProgramChoice) {
    TShell shell;
    shell.Code = 31;
    EXPECT_EQ(shell.Command("C:\\a.zzq"),
              (TDocumentCommand{false, "rundll32.exe shell32.dll,OpenAs_RunDLL C:\\a.zzq"}));
}

TEST(DocumentCommand, AProgramIsItsOwnCommand) {
    TShell shell;
    shell.Program = "c:\\tools\\app.exe";
    EXPECT_EQ(shell.Command("C:\\TOOLS\\APP.EXE"), (TDocumentCommand{false, "C:\\TOOLS\\APP.EXE"}));
    shell.Code = 5; // access refused: the program found still counts
    EXPECT_EQ(shell.Command("C:\\TOOLS\\APP.EXE"), (TDocumentCommand{false, "C:\\TOOLS\\APP.EXE"}));
}

TEST(DocumentCommand, OtherLookupFailuresLeaveTheCommandEmpty) {
    TShell shell;
    shell.Classes = {{".txt", "txtfile"}, {"txtfile\\shell\\open\\command", "ed.exe %1"}};
    for (int code : {0, 2, 3, 8, 32}) {
        shell.Code = code;
        EXPECT_EQ(shell.Command("C:\\a.txt"), TDocumentCommand{}) << code;
    }
}

TEST(DocumentCommand, AssociationCommandNamesTheDocument) {
    TShell shell;
    shell.Classes = {{".txt", "txtfile"},
                     {"txtfile\\shell\\open\\command", "%SystemRoot%\\notepad.exe %1"}};
    EXPECT_EQ(shell.Command("C:\\MEMO~1\\memo.txt"),
              (TDocumentCommand{false, "C:\\WINDOWS\\notepad.exe C:\\MEMO~1\\memo.txt"}));
}

TEST(DocumentCommand, CommandWithoutTheDocumentAsksForTheShellsOpenVerb) {
    TShell shell;
    shell.Classes = {{".doc", "Word.Document"},
                     {"Word.Document\\shell\\open\\command", "\"C:\\Office\\word.exe\" /n /dde"}};
    EXPECT_EQ(shell.Command("C:\\A\\b.doc"), ShellOpenMarker);
    // The document's own name in other letter case does not count: the search is exact.
    shell.Classes["Word.Document\\shell\\open\\command"] = "word.exe c:\\a\\b.doc";
    EXPECT_EQ(shell.Command("C:\\A\\b.doc"), ShellOpenMarker);
}

TEST(DocumentCommand, MissingClassOrCommandFallsBackToTheProgramChoice) {
    const TDocumentCommand choice{false, "rundll32.exe shell32.dll,OpenAs_RunDLL C:\\a.txt"};
    TShell shell;
    EXPECT_EQ(shell.Command("C:\\a.txt"), choice);
    shell.Classes = {{".txt", "  "}};
    EXPECT_EQ(shell.Command("C:\\a.txt"), choice);
    shell.Classes = {{".txt", "txtfile"}};
    EXPECT_EQ(shell.Command("C:\\a.txt"), choice);
    shell.Classes = {{".txt", "txtfile"}, {"txtfile\\shell\\open\\command", " \t"}};
    EXPECT_EQ(shell.Command("C:\\a.txt"), choice);
    // A template that rewrites to nothing at all names no program either.
    shell.Classes = {{".txt", "txtfile"}, {"txtfile\\shell\\open\\command", "%*"}};
    EXPECT_EQ(shell.Command("C:\\a.txt"), choice);
}

TEST(DocumentCommand, LooksUpTheClassByTheLongNamesExtension) {
    // The short name of "報告.docx" keeps three letters of its extension.
    TShell shell;
    shell.Classes[".docx"] = "Doc.File";
    shell.Classes["Doc.File\\shell\\open\\command"] = "C:\\Tools\\ed.exe \"%1\"";
    TAssociationLookups lookups = shell.Lookups();
    lookups.LongPath = [](const std::string&) { return std::string("C:\\報告.docx"); };
    EXPECT_EQ(DecideDocumentCommand("C:\\____~1.DOC", lookups),
              (TDocumentCommand{false, "C:\\Tools\\ed.exe \"C:\\____~1.DOC\""}));
}
