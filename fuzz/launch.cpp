// The launch plan of any entry with any options, working folder and answers of the platform:
// a process it starts is always the registered program (the entry's file, the association's
// program, or the companion for shortcuts), whatever the options hold.
#include "FuzzSupport.h"
#include "frame/StringList.h"
#include "launcher/Launch.h"
#include "system/PathText.h"

namespace {

const std::string Companion = "C:\\Program Files\\Mirto\\Support.exe";

// The bytes made into a name the file system can hold: no double quote, no control character,
// no lead byte without its trail byte (each becomes "_"), not empty.
std::string FileName(std::string name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (IsSjisLead(byte) && i + 1 < name.size() &&
            IsSjisTrail(static_cast<unsigned char>(name[i + 1])))
            ++i;
        else if (byte == '"' || byte < 0x20 || IsSjisLead(byte))
            name[i] = '_';
    }
    return name.empty() ? "_" : name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetPlatform(nullptr);
    FuzzedDataProvider input(data, size);
    const std::string path = FileName(input.ConsumeRandomLengthString(48));
    const std::string workDir = input.ConsumeRandomLengthString(16);
    const int entrySize = input.ConsumeIntegral<int>();
    const bool isFolder = input.ConsumeBool();
    const bool fullPathFails = input.ConsumeBool();
    const int association = input.ConsumeIntegralInRange(0, 6);
    const std::string program = FileName(input.ConsumeRandomLengthString(32));
    const std::string arguments = input.ConsumeRandomLengthString(32);
    const std::string option = input.ConsumeRemainingBytesAsString();

    TLaunchItemTable table;
    const int index = static_cast<int>(size % LauncherItemCount);
    table.SetName(index, "entry");
    table.SetPath(index, path);
    table.SetOption(index, option);
    table.SetWorkDir(index, workDir);
    table.SetSize(index, entrySize);

    // The full path the system would form, and the program that is expected to start.
    const std::string file =
        path.size() >= 3 && path[1] == ':' && path[2] == '\\' ? path : "C:\\Work\\" + path;
    std::string expected = file;
    TLaunchEnvironment env;
    env.FolderExists = [&](const std::string&) { return isFolder; };
    env.ShortFullPath = [&](const std::string&) { return fullPathFails ? "" : file; };
    env.NearestExistingFolder = [](const std::string&) { return std::string("C:\\Work"); };
    env.Companion = Companion;
    env.DocumentCommand = [&](const std::string& document) -> TDocumentCommand {
        FUZZ_CHECK(document == file, "asked for " + Visible(document));
        switch (association) {
        case 0: // the association cannot take a command line
            return {true, ""};
        case 1: // the shell cannot tell
            return {};
        case 2: // a program
            return {false, document};
        case 3: // no association
            expected = "rundll32.exe";
            return {false, OpenWithCommandPrefix + document};
        case 4: // the association's program and its arguments
            expected = program;
            return {false, QuotePath(program) + " " + arguments};
        default: { // the association's template filled in, with the document as its program
            TAssociationLookups lookups;
            lookups.LookUpProgram = [&](const std::string&, std::string& found) {
                found = "C:\\WINDOWS\\system32\\cmd.exe";
                return 42;
            };
            lookups.ShortFullPath = [](const std::string& p) { return p; };
            lookups.ReadClassValue = [&](const std::string& key, std::string& value) {
                value = key[0] == '.' ? "exefile" : association == 5 ? "\"%1\" %*" : "%1 %*";
                return true;
            };
            lookups.WindowsFolder = [] { return std::string("C:\\WINDOWS"); };
            lookups.ProgramFilesFolder = [] { return std::string("C:\\Program Files"); };
            const TDocumentCommand command = DecideDocumentCommand(document, lookups);
            if (command.Text.rfind(OpenWithCommandPrefix, 0) == 0) expected = "rundll32.exe";
            return command;
        }
        }
    };

    const TLaunchPlan plan = PlanLaunch(table, index, env);
    const auto where = [&] {
        return "path " + Visible(path) + "\noptions " + Visible(option) + "\ncommand line " +
               Visible(plan.CommandLine);
    };
    if (SameText(FileExtension(path), ".lnk")) expected = Companion;
    switch (plan.Action) {
    case TLaunchAction::CreateProcess:
        FUZZ_CHECK(FirstCommandToken(plan.CommandLine) == expected,
                   where() + "\nstarts " + Visible(FirstCommandToken(plan.CommandLine)) +
                       " instead of " + Visible(expected));
        FUZZ_CHECK(!plan.Directory.empty(), where());
        break;
    case TLaunchAction::ShellOpen:
        FUZZ_CHECK(plan.File == file, where());
        FUZZ_CHECK(plan.Parameters.empty() == TrimText(option).empty(), where());
        break;
    case TLaunchAction::ShellDefault:
        FUZZ_CHECK(plan.File == path && plan.Parameters.empty(), where());
        break;
    case TLaunchAction::Fail:
    case TLaunchAction::Nothing:
        FUZZ_CHECK(plan.CommandLine.empty(), where());
        break;
    }
    return 0;
}
