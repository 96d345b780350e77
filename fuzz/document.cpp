// The open command of a document from any association: the template rewriting inserts the
// document where the template names it and leaves nothing of the placeholders, and the command
// chosen always names the document (or asks for the shell's "open" instead).
#include "FuzzSupport.h"
#include "frame/StringList.h"
#include "system/DocumentCommand.h"

namespace {

// Reads a well-formed template from left to right as the rewriting does: whether every "%"
// begins a placeholder ("%1", "%l", "%*", "%SystemRoot%", "%ProgramFiles%", letter case ignored)
// and whether one of them names the document.
struct TPlaceholders {
    bool OnlyPlaceholders = true;
    bool NamesDocument = false;
};

TPlaceholders ScanTemplate(std::string_view command) {
    static const std::string_view placeholders[] = {"%1", "%l", "%*", "%systemroot%",
                                                    "%programfiles%"};
    TPlaceholders found;
    for (std::size_t i = 0; i < command.size();) {
        if (IsSjisLead(static_cast<unsigned char>(command[i]))) {
            i += 2;
            continue;
        }
        if (command[i] != '%') {
            ++i;
            continue;
        }
        std::size_t length = 0;
        for (const auto placeholder : placeholders)
            if (SameText(command.substr(i, placeholder.size()), placeholder))
                length = placeholder.size();
        if (length == 2 && command[i + 1] != '*') found.NamesDocument = true;
        if (length == 0) found.OnlyPlaceholders = false;
        i += length == 0 ? 1 : length;
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetPlatform(nullptr);
    FuzzedDataProvider input(data, size);
    const std::string document = input.ConsumeRandomLengthString(48);
    const std::string program = input.ConsumeRandomLengthString(48);
    const std::string className = input.ConsumeRandomLengthString(16);
    const int code = input.ConsumeIntegralInRange(0, 40);
    const bool hasClass = input.ConsumeBool();
    const bool hasCommand = input.ConsumeBool();
    const bool programIsDocument = input.ConsumeBool();
    const std::string command = input.ConsumeRemainingBytesAsString();
    const std::string windows = "C:\\WINDOWS", programFiles = "C:\\Program Files";
    const auto where = [&] {
        return "template " + Visible(command) + "\ndocument " + Visible(document);
    };

    const std::string rewritten = RewriteDocumentCommand(command, document, windows, programFiles);
    // Well-formed texts without "%" of their own: a template whose every "%" begins a
    // placeholder leaves none behind, and a template that names the document holds it afterwards.
    const bool plain = IsValidShiftJis(command) && IsValidShiftJis(document) &&
                       document.find('%') == std::string::npos;
    if (plain) {
        const TPlaceholders found = ScanTemplate(command);
        if (found.OnlyPlaceholders)
            FUZZ_CHECK(rewritten.find('%') == std::string::npos,
                       where() + "\nrewritten " + Visible(rewritten));
        if (found.NamesDocument)
            FUZZ_CHECK(rewritten.find(document) != std::string::npos,
                       where() + "\nrewritten " + Visible(rewritten));
    }
    // A template without "%" is taken as it is.
    if (command.find('%') == std::string::npos) FUZZ_CHECK(rewritten == command, where());
    // The text around a single "%1" stays as it was, in its place.
    const std::size_t one = command.find("%1");
    if (plain && one != std::string::npos && command.find('%', one + 1) == std::string::npos &&
        command.find('%') == one) {
        FUZZ_CHECK(rewritten.compare(0, one, command, 0, one) == 0 &&
                       rewritten.size() >= command.size() - one - 2 &&
                       rewritten.compare(rewritten.size() - (command.size() - one - 2),
                                         std::string::npos, command, one + 2) == 0,
                   where() + "\nrewritten " + Visible(rewritten));
    }

    if (document.empty()) return 0;
    TAssociationLookups lookups;
    lookups.LookUpProgram = [&](const std::string&, std::string& found) {
        found = programIsDocument ? document : program;
        return code;
    };
    lookups.ShortFullPath = [](const std::string& path) { return path; };
    lookups.ReadClassValue = [&](const std::string& key, std::string& value) {
        if (key.size() > 0 && key[0] == '.') {
            value = className;
            return hasClass;
        }
        value = command;
        return hasCommand;
    };
    lookups.WindowsFolder = [&] { return windows; };
    lookups.ProgramFilesFolder = [&] { return programFiles; };
    const TDocumentCommand decided = DecideDocumentCommand(document, lookups);
    FUZZ_CHECK(!decided.ShellOpen || decided.Text.empty(), where());
    if (!decided.ShellOpen && !decided.Text.empty())
        FUZZ_CHECK(decided.Text.find(document) != std::string::npos,
                   where() + "\ncommand " + Visible(decided.Text));
    return 0;
}
