#include "clipboard/SetFileName.h"

#include "frame/Platform.h"
#include "frame/StringList.h"

namespace {

constexpr std::string_view Extension = ".ini";
// A single file name's limit on the volumes the program runs from, in characters.
constexpr std::size_t ComponentMax = 255;

bool IsDeviceName(std::string_view name) {
    // The system takes the name before the first "." and without trailing blanks.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (SameText(base, device)) return true;
    if (base.size() != 4 || base[3] < '1' || base[3] > '9') return false;
    return SameText(base.substr(0, 3), "COM") || SameText(base.substr(0, 3), "LPT");
}

} // namespace

TSetFileNameFault CheckSetFileName(std::string_view name, std::size_t folderLength) {
    if (name.empty()) return TSetFileNameFault::Empty;
    const TPlatform& platform = Platform();
    bool badCharacter = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (platform.IsLeadByte(byte)) {
            // A trail byte may be "\" or "|": it belongs to its character. A lead byte without a
            // trail byte is no character at all.
            const auto trail = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
            if (trail < 0x40 || trail > 0xFC || trail == 0x7F) badCharacter = true;
            ++i;
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':') return TSetFileNameFault::Separator;
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("*?\"<>|").find(static_cast<char>(byte)) != std::string_view::npos)
            badCharacter = true;
    }
    if (name == "." || name == "..") return TSetFileNameFault::DotName;
    if (badCharacter) return TSetFileNameFault::BadCharacter;
    if (IsDeviceName(name)) return TSetFileNameFault::Reserved;
    if (name.size() + Extension.size() > ComponentMax ||
        folderLength + name.size() + Extension.size() > SetPathMax)
        return TSetFileNameFault::TooLong;
    return TSetFileNameFault::None;
}

std::string SetFileNameMessage(TSetFileNameFault fault, std::string_view name) {
    std::string quoted(1, '"');
    quoted.append(name);
    quoted += '"';
    switch (fault) {
    case TSetFileNameFault::None: return "";
    case TSetFileNameFault::Empty: return "設定を保存するファイル名を入力してください。";
    case TSetFileNameFault::Separator:
        return "ファイル名に \\ / : は使えません。\nフォルダを含まない名前だけを入力してください。";
    case TSetFileNameFault::DotName: return "ファイル名 " + quoted + " は使えません。";
    case TSetFileNameFault::Reserved:
        return "ファイル名 " + quoted + " は Windows が予約している名前のため使えません。";
    case TSetFileNameFault::BadCharacter:
        return "ファイル名に使えない文字が含まれています。\n* ? \" < > | と制御文字は使えません。";
    case TSetFileNameFault::TooLong:
        return "ファイル名が長すぎます。\nもっと短い名前を入力してください。";
    }
    return "";
}

std::string ReplaceSetFileQuestion(std::string_view fileName) {
    std::string question = "ファイル \"";
    question.append(fileName);
    return question + "\" は既にあります。\n上書きしてもよろしいでしょうか？";
}
