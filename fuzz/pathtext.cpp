// The path utilities on any path text: the name parts put together give the name, a trailing
// backslash is added and removed once, quoting keeps a path with blanks one token, the volume
// root begins the path, and the long-name walk rebuilds the path it was given.
#include "FuzzSupport.h"
#include "frame/StringList.h"
#include "system/PathText.h"

namespace {

// The text after the last backslash that is not a trail byte.
std::string LastComponent(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(path[i])))
            ++i;
        else if (path[i] == '\\')
            start = i + 1;
    }
    return std::string(path.substr(std::min(start, path.size())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetPlatform(nullptr);
    FuzzedDataProvider input(data, size);
    const int depth = input.ConsumeIntegralInRange(0, 16); // how far the long-name walk finds
    const bool caseSensitive = input.ConsumeBool();
    const std::string path = input.ConsumeRemainingBytesAsString();
    const auto where = [&] { return "path " + Visible(path); };
    const bool valid = IsValidShiftJis(path);

    const std::size_t start = FileNameStart(path);
    FUZZ_CHECK(start <= path.size(), where());
    const std::string name = FileNamePart(path);
    FUZZ_CHECK(name == path.substr(start), where());
    const std::string extension = FileExtension(path);
    FUZZ_CHECK(FileTitle(path) + extension == name, where());
    FUZZ_CHECK(extension.empty() || extension[0] == '.', where());

    const std::string added = AddTrailingBackslash(path);
    FUZZ_CHECK(added.size() == path.size() + (EndsWithBackslash(path) ? 0 : 1), where());
    FUZZ_CHECK(AddTrailingBackslash(added) == added || !valid, where());
    FUZZ_CHECK(EndsWithBackslash(added) || !valid, where());
    if (!EndsWithBackslash(path) && valid)
        FUZZ_CHECK(RemoveTrailingBackslash(added) == path, where());
    const std::string removed = RemoveTrailingBackslash(path);
    FUZZ_CHECK(removed.size() + (EndsWithBackslash(path) ? 1 : 0) == path.size(), where());

    const std::string capitalized = CapitalizeUpperName(name);
    FUZZ_CHECK(capitalized.size() == name.size() && SameText(capitalized, name), where());
    FUZZ_CHECK(CapitalizeUpperName(capitalized) == capitalized, where());

    // A path with a blank comes out as one token of a command line.
    const std::string quoted = QuotePath(path);
    if (path.find_first_of("\"\t") == std::string::npos && !path.empty())
        FUZZ_CHECK(FirstCommandToken(quoted) == path, where() + "\nquoted " + Visible(quoted));

    const std::string root = VolumeRoot(path);
    if (!root.empty()) {
        FUZZ_CHECK(root.back() == '\\', where());
        // The drive ("C:") or the share (\\server\share) begins the path; the root adds "\".
        FUZZ_CHECK(path.compare(0, root.size() - 1, root, 0, root.size() - 1) == 0, where());
    }

    // The walk with a file system that finds every component up to a depth and gives its name
    // back unchanged, or in capitals: the path comes back as it was, up to letter case.
    int asked = 0;
    const std::string expanded =
        ExpandLongPathText(path, caseSensitive, [&](const std::string& text, std::string& found) {
            FUZZ_CHECK(text.size() < path.size() + 1, where());
            if (++asked > depth) return false;
            found = LastComponent(text);
            if (!caseSensitive) found = CapitalizeUpperName(found);
            return true;
        });
    // The walk is given full paths: a drive and its root folder, or a network path.
    const bool full =
        (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.rfind("\\\\", 0) == 0;
    if (full)
        FUZZ_CHECK(caseSensitive ? expanded == removed : SameText(expanded, removed) || !valid,
                   where() + "\nexpanded " + Visible(expanded));
    return 0;
}
