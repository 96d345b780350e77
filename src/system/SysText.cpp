#include "system/SysText.h"

#include "frame/Platform.h"

bool IsDoubleByteAt(std::string_view text, std::size_t i) {
    if (i + 1 >= text.size() || !Platform().IsLeadByte(static_cast<unsigned char>(text[i])))
        return false;
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string EscapeText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDoubleByteAt(text, i)) {
            result += c;
            result += text[++i];
            continue;
        }
        switch (c) {
        case '\t':
            result += "\\t";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\\':
            result += "\\\\";
            break;
        default:
            // A lone lead byte before an escape would pair with its backslash when read.
            if (i + 1 < text.size() && Platform().IsLeadByte(static_cast<unsigned char>(c)) &&
                (text[i + 1] == '\t' || text[i + 1] == '\n' || text[i + 1] == '\r')) {
                constexpr char Hex[] = "0123456789ABCDEF";
                const auto byte = static_cast<unsigned char>(c);
                result += "\\x";
                result += Hex[byte >> 4];
                result += Hex[byte & 0x0F];
                break;
            }
            result += c;
        }
    }
    return result;
}

std::string UnescapeText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDoubleByteAt(text, i)) {
            result += c;
            result += text[++i];
            continue;
        }
        if (c != '\\') {
            result += c;
            continue;
        }
        if (++i >= text.size()) break;
        switch (text[i]) {
        case '\\':
            result += '\\';
            break;
        case 'n':
            result += '\n';
            break;
        case 'r':
            result += '\r';
            break;
        case 't':
            result += '\t';
            break;
        case 'x':
            if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
                result += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    return result;
}

bool SwitchIsAbsent(std::string_view value) {
    return value.empty() || value == SwitchAbsent;
}

namespace {
std::vector<std::string>& Arguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
} // namespace

void SetCommandLineArguments(std::vector<std::string> arguments) {
    Arguments() = std::move(arguments);
}

const std::vector<std::string>& CommandLineArguments() {
    return Arguments();
}

std::string GetSwitchValue(std::string_view prefix) {
    return GetSwitchValue(Arguments(), prefix);
}

std::string GetSwitchValue(const std::vector<std::string>& arguments, std::string_view prefix) {
    for (const auto& argument : arguments) {
        if (argument.compare(0, prefix.size(), prefix) != 0 || argument.size() < prefix.size())
            continue;
        std::string rest = argument.substr(prefix.size());
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            rest = rest.substr(1, rest.size() - 2);
        return rest;
    }
    return SwitchAbsent;
}

std::uint32_t SwapRedBlue(std::uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

std::string FormatVersionText(long first, long, long third, long fourth) {
    if (fourth != 0) ++third;
    std::string text = std::to_string(first) + ".";
    if (third < 10) text += "0";
    text += std::to_string(third);
    if (fourth != 0) text += "β" + std::to_string(fourth);
    return text;
}
