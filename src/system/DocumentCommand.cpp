#include "system/DocumentCommand.h"

#include "frame/Platform.h"
#include "frame/StringList.h"
#include "system/PathText.h"

namespace {
// FindExecutableA's answer for a document whose type has no association.
constexpr int NoAssociation = 31;
// Its answer when access was refused; the program found is still given.
constexpr int AccessDenied = 5;

bool StartsWithIgnoringCase(std::string_view text, std::size_t at, std::string_view pattern) {
    return text.size() - at >= pattern.size() && SameText(text.substr(at, pattern.size()), pattern);
}
} // namespace

std::string RewriteDocumentCommand(std::string_view command, std::string_view document,
                                   std::string_view windowsFolder,
                                   std::string_view programFilesFolder) {
    // Each pattern with its text inside the template's double quotes and outside them, in the
    // sequence of precedence: ",%*" before "%*" so that the comma goes with it.
    const std::string quotedDocument = QuotePath(document);
    struct TReplacement {
        std::string_view Pattern, InsideQuotes, OutsideQuotes;
    };
    const TReplacement replacements[] = {
        {"%l", document, quotedDocument},
        {"%1", document, quotedDocument},
        {",%*", "", ""},
        {"%*", "", ""},
        {"%SystemRoot%", windowsFolder, windowsFolder},
        {"%ProgramFiles%", programFilesFolder, programFilesFolder},
    };
    const TPlatform& platform = Platform();
    std::string result;
    result.reserve(command.size() + quotedDocument.size());
    bool insideQuotes = false;
    std::size_t i = 0;
    while (i < command.size()) {
        if (platform.IsLeadByte(static_cast<unsigned char>(command[i])) && i + 1 < command.size()) {
            result.append(command.substr(i, 2));
            i += 2;
            continue;
        }
        if (command[i] == '"') insideQuotes = !insideQuotes;
        bool replaced = false;
        for (const TReplacement& r : replacements) {
            if (StartsWithIgnoringCase(command, i, r.Pattern)) {
                result.append(insideQuotes ? r.InsideQuotes : r.OutsideQuotes);
                i += r.Pattern.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) result += command[i++];
    }
    return result;
}

TDocumentCommand DecideDocumentCommand(const std::string& document,
                                       const TAssociationLookups& lookups) {
    const std::string openWith = OpenWithCommandPrefix + document;
    // The shell and the file classes are asked with the long form where there is one: a short
    // 8.3 name keeps only three letters of the extension.
    const std::string longName = lookups.LongPath ? lookups.LongPath(document) : std::string();
    const std::string& asked = longName.empty() ? document : longName;
    std::string program;
    const int code = lookups.LookUpProgram(asked, program);
    if (code == NoAssociation) return {false, openWith};
    if (code <= 32 && code != AccessDenied) return {};
    if (SameText(lookups.ShortFullPath(program), document)) return {false, document};

    std::string className;
    const std::string extension = FileExtension(asked);
    if (extension.empty() || !lookups.ReadClassValue(extension, className) ||
        TrimText(className).empty())
        return {false, openWith};
    std::string command;
    if (!lookups.ReadClassValue(className + "\\shell\\open\\command", command) ||
        TrimText(command).empty())
        return {false, openWith};

    const std::string rewritten = RewriteDocumentCommand(command, document, lookups.WindowsFolder(),
                                                         lookups.ProgramFilesFolder());
    if (!rewritten.empty() && rewritten.find(document) == std::string::npos) return {true, {}};
    if (rewritten.empty()) return {false, openWith};
    return {false, rewritten};
}
