// The rule for a new text set's file name on any typed text and folder length: a name it takes
// stays a file of the folder (the path's name part is the name with ".ini", and its title the
// name), holds no separator, device name or refused character, and fits the path limit; each
// refusal names a fault that a simple reading of the text confirms.
#include "FuzzSupport.h"
#include "clipboard/SetFileName.h"
#include "system/PathText.h"

namespace {

// The name's characters, each a byte or a lead byte with its trail.
bool HasByteOutsidePairs(std::string_view name, std::string_view bytes) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(name[i]))) {
            ++i;
            continue;
        }
        if (bytes.find(name[i]) != std::string_view::npos) return true;
    }
    return false;
}

bool HasControl(std::string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (IsSjisLead(byte)) {
            ++i;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

bool IsDevice(std::string_view name) {
    std::string base(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetPlatform(nullptr);
    FuzzedDataProvider input(data, size);
    const std::size_t folderLength = input.ConsumeIntegralInRange<std::size_t>(3, 300);
    const std::string name = input.ConsumeRemainingBytesAsString();
    const auto where = [&] {
        return "name " + Visible(name) + " folder " + std::to_string(folderLength);
    };

    const TSetFileNameFault fault = CheckSetFileName(name, folderLength);
    const bool separator = HasByteOutsidePairs(name, "\\/:");
    switch (fault) {
    case TSetFileNameFault::None: {
        FUZZ_CHECK(!name.empty() && !separator && !HasControl(name), where());
        FUZZ_CHECK(!HasByteOutsidePairs(name, "*?\"<>|"), where());
        FUZZ_CHECK(IsValidShiftJis(name), where());
        FUZZ_CHECK(name != "." && name != ".." && !IsDevice(name), where());
        FUZZ_CHECK(folderLength + name.size() + 4 <= 259, where());
        // Put in a folder, the name stays the file's name.
        const std::string path = std::string(folderLength - 1, 'f') + "\\" + name + ".ini";
        FUZZ_CHECK(FileNamePart(path) == name + ".ini", where());
        FUZZ_CHECK(FileTitle(path) == name, where());
        break;
    }
    case TSetFileNameFault::Empty: FUZZ_CHECK(name.empty(), where()); break;
    case TSetFileNameFault::Separator: FUZZ_CHECK(separator, where()); break;
    case TSetFileNameFault::DotName: FUZZ_CHECK(name == "." || name == "..", where()); break;
    case TSetFileNameFault::Reserved: FUZZ_CHECK(IsDevice(name), where()); break;
    case TSetFileNameFault::BadCharacter:
        FUZZ_CHECK(HasControl(name) || HasByteOutsidePairs(name, "*?\"<>|") ||
                       !IsValidShiftJis(name),
                   where());
        break;
    case TSetFileNameFault::TooLong:
        FUZZ_CHECK(folderLength + name.size() + 4 > 259 || name.size() + 4 > 255, where());
        break;
    }
    FUZZ_CHECK((fault == TSetFileNameFault::None) == SetFileNameMessage(fault, name).empty(),
               where());
    return 0;
}
