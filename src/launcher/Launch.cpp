#include "launcher/Launch.h"

#include "frame/StringList.h"
#include "system/PathText.h"

namespace {
bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsSchemeCharacter(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}
} // namespace

bool IsUrl(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
    for (std::size_t i = 1; i < colon; ++i)
        if (!IsSchemeCharacter(text[i])) return false;
    return true;
}

int ShowCommandOfSize(int size) {
    switch (size) {
    case 0:
        return swShowNormal;
    case 1:
        return swShowMinimized;
    case 2:
        return swShowMaximized;
    default:
        return swShow;
    }
}

TLaunchPlan PlanLaunch(const TLaunchItemTable& table, int index, const TLaunchEnvironment& env) {
    TLaunchPlan plan;
    const std::string path = table.GetPath(index);
    if (path.empty()) return plan;
    plan.Directory = TrimText(table.GetWorkDir(index));
    plan.Show = ShowCommandOfSize(table.GetSize(index));

    if (IsUrl(path) || env.FolderExists(path)) {
        plan.Action = TLaunchAction::ShellDefault;
        plan.File = path;
        return plan;
    }

    const std::string file = env.ShortFullPath(path);
    // No file name holds a double quote; one in the path could end the quotes around it on the
    // command line and start another program.
    if (file.empty() || file.find('"') != std::string::npos) {
        plan.Action = TLaunchAction::Fail;
        plan.Error = errorFileNotFound;
        return plan;
    }

    const std::string option = table.GetOption(index);
    // Where the system has no short form the path may still hold blanks; quoted, the command
    // line cannot start a program named by its first words instead.
    if (SameText(FileExtension(path), ".lnk")) {
        plan.CommandLine = QuotePath(env.Companion) + " " + QuotePath(file);
        plan.Show = swShow;
    } else {
        const TDocumentCommand command = env.DocumentCommand(file);
        if (command.ShellOpen) {
            plan.Action = TLaunchAction::ShellOpen;
            plan.File = file;
            if (!TrimText(option).empty()) plan.Parameters = option;
            return plan;
        }
        if (command.Text.empty())
            plan.CommandLine = QuotePath(file);
        else if (command.Text == file)
            plan.CommandLine = TrimText(QuotePath(file) + " " + option);
        else
            plan.CommandLine = TrimText(command.Text + " " + option);
    }

    if (plan.CommandLine.empty()) {
        plan.Action = TLaunchAction::Fail;
        plan.Error = errorFileNotFound;
        return plan;
    }
    if (plan.Directory.empty()) plan.Directory = env.NearestExistingFolder(file);
    plan.Action = TLaunchAction::CreateProcess;
    return plan;
}

std::string CompanionArgument(std::string_view commandLine) {
    std::size_t i = 0;
    // The program's own name: quoted, or up to the first blank.
    if (!commandLine.empty() && commandLine[0] == '"') {
        const std::size_t close = commandLine.find('"', 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t')
            ++i;
    }
    std::string argument = TrimText(commandLine.substr(i));
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    return argument;
}

std::vector<std::string> LaunchFailureMessages(unsigned long error, std::string_view errorText,
                                               std::string_view path) {
    std::vector<std::string> messages;
    if (error == errorFileNotFound)
        messages.push_back(std::string(errorText) + "\n\n" + std::string(path) +
                           "\n設定を確認してくださいね。");
    messages.push_back(std::string(errorText) + "\n\nプロセスの作成に失敗しました。");
    return messages;
}
