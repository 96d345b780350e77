#pragma once
// How a document is opened through its file association: the decision, given the platform's
// answers (the shell's program lookup and the registry's open command).
#include <functional>
#include <string>
#include <string_view>

// A command line that opens the document, or the shell-open marker: the association cannot take
// the document on a command line, so the document is to be opened with the shell's "open" verb.
// The marker is a flag beside the text and never collides with a command text.
struct TDocumentCommand {
    bool ShellOpen = false;
    std::string Text;

    bool operator==(const TDocumentCommand&) const = default;
};

// The shell's own dialog for choosing a program, followed by the document path.
inline constexpr const char* OpenWithCommandPrefix = "rundll32.exe shell32.dll,OpenAs_RunDLL ";

// What the decision asks of the platform.
struct TAssociationLookups {
    // The shell's program for the document (FindExecutableA): its return code and the program.
    std::function<int(const std::string& document, std::string& program)> LookUpProgram;
    // Full path in its short form where the system gives one; empty when no full path forms.
    std::function<std::string(const std::string& path)> ShortFullPath;
    // The default value of a key under the root of the file classes; false when the key cannot
    // be opened.
    std::function<bool(const std::string& key, std::string& value)> ReadClassValue;
    std::function<std::string()> WindowsFolder;
    std::function<std::string()> ProgramFilesFolder;
    // The long form of a path (optional). A short 8.3 name keeps only three letters of the
    // extension, so the program and the file class are looked up by the long form.
    std::function<std::string(const std::string& path)> LongPath;
};

// Fills the open-command template: "%l" and "%1" become the document, ",%*" and "%*" go, and
// "%SystemRoot%" and "%ProgramFiles%" become the folders, all without regard to letter case. The
// template is read once from left to right, so a document or folder name that itself holds such a
// sequence is inserted as it is. Where the template leaves the document outside double quotes
// and the document holds a blank, it goes in quoted: it stays one argument, and a template that
// begins with the document cannot start a program named by the document's first words. (A
// document never holds a double quote: no file name does, and the launch refuses such paths.)
std::string RewriteDocumentCommand(std::string_view command, std::string_view document,
                                   std::string_view windowsFolder,
                                   std::string_view programFilesFolder);

// The command that opens the document: the document itself when the shell's program for it is
// the document (a program), the association's command filled in, the shell-open marker when that
// command does not name the document, the program-choice command when there is no usable
// association, and empty when the shell cannot tell (the caller then starts the path itself).
TDocumentCommand DecideDocumentCommand(const std::string& document,
                                       const TAssociationLookups& lookups);
