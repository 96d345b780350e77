// Escaping of texts for one settings line: unescaping the escaped text gives back any byte
// string, and the escaped form of well-formed text holds no line break or tab.
#include "FuzzSupport.h"
#include "system/SysText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string escaped = EscapeText(text);
    const std::string back = UnescapeText(escaped);
    FUZZ_CHECK(back == text, "text " + Visible(text) + "\nescaped " + Visible(escaped) +
                                 "\nunescaped " + Visible(back));
    if (IsValidShiftJis(text))
        FUZZ_CHECK(escaped.find_first_of("\r\n\t") == std::string::npos,
                   "text " + Visible(text) + "\nescaped " + Visible(escaped));
    // Unescaping never lengthens a text: every output byte comes from at least one input byte.
    const std::string unescaped = UnescapeText(text);
    FUZZ_CHECK(unescaped.size() <= text.size(), "text " + Visible(text));
    return 0;
}
