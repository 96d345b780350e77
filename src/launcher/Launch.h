#pragma once
// Starting a launcher entry: the decision of what to start and how, given the platform's answers.
// The Win32 layer (LaunchWin) carries the decision out.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/LaunchItem.h"
#include "system/DocumentCommand.h"

// Show commands as the platform numbers them.
enum : int { swShowNormal = 1, swShowMinimized = 2, swShowMaximized = 3, swShow = 5 };

// Error codes the launch reports itself.
enum : unsigned long { errorFileNotFound = 2 };

// True when the text is an address: it begins with a scheme of two or more letters, digits, "+",
// "-" or "." (the first a letter) followed by ":", as "https:", "mailto:" or "ms-settings:". A
// drive letter is one letter, so "C:\..." is a path.
bool IsUrl(std::string_view text);
// The window state of an entry's Size: 0 normal, 1 minimized, 2 maximized, anything else a plain
// show.
int ShowCommandOfSize(int size);

enum class TLaunchAction {
    Nothing,       // free entry: nothing to start, and that counts as success
    ShellDefault,  // the shell's default action on File (addresses and folders)
    ShellOpen,     // the shell's "open" verb on File with Parameters
    CreateProcess, // a process from CommandLine
    Fail,          // nothing can be started; Error says why
};

struct TLaunchPlan {
    TLaunchAction Action = TLaunchAction::Nothing;
    std::string File;
    std::string Parameters;
    std::string CommandLine;
    std::string Directory; // empty: none
    int Show = swShowNormal;
    unsigned long Error = 0;
};

// What the decision asks of the platform.
struct TLaunchEnvironment {
    std::function<bool(const std::string& path)> FolderExists;
    // Full path, in short form where the system gives one; empty when none can be formed.
    std::function<std::string(const std::string& path)> ShortFullPath;
    std::function<TDocumentCommand(const std::string& document)> DocumentCommand;
    std::function<std::string(const std::string& path)> NearestExistingFolder;
    // The companion program that opens shortcut files, with its full path.
    std::string Companion;
};

// How entry index of the table is to be started.
TLaunchPlan PlanLaunch(const TLaunchItemTable& table, int index, const TLaunchEnvironment& env);

// The shortcut path the companion program was given: the text after the program's own name on
// its command line, without surrounding blanks and one pair of enclosing double quotes.
std::string CompanionArgument(std::string_view commandLine);

// The messages the menu shows, one after the other, when launching the entry with this path
// failed with the error code whose system text is errorText.
std::vector<std::string> LaunchFailureMessages(unsigned long error, std::string_view errorText,
                                               std::string_view path);
