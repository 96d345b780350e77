#include "menu/MenuAccess.h"

#include "frame/Platform.h"

namespace {
// "…" in code page 932.
const char Ellipsis[] = "\x81\x63";
} // namespace

std::string MenuListName(std::string_view menuName, const TMenuImage& menu) {
    std::string name(menuName);
    name += " " + std::to_string(menu.GetPageIndex()) + "/" + std::to_string(menu.GetPageCount());
    return name;
}

int MenuLineOfChild(const TMenuImage& menu, int child) {
    if (child < 1 || child > menu.GetPerPage()) return -1;
    return menu.GetFirstIndex() + child - 1;
}

int MenuChildOfLine(const TMenuImage& menu, int index) {
    const int child = index - menu.GetFirstIndex() + 1;
    return index >= 0 && child >= 1 && child <= menu.GetPerPage() ? child : 0;
}

std::string SpokenText(std::string_view text, int maxCharacters) {
    std::string spoken;
    int characters = 0;
    bool blank = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = Platform().IsLeadByte(byte) && i + 1 < text.size() ? 2 : 1;
        if (length == 1 && (byte < 0x20 || byte == 0x7F || byte == ' ')) {
            blank = true;
            ++i;
            continue;
        }
        // A run of blanks becomes one space, and only between characters.
        if (blank && !spoken.empty()) {
            if (characters == maxCharacters) return spoken + Ellipsis;
            spoken += ' ';
            ++characters;
        }
        blank = false;
        if (characters == maxCharacters) return spoken + Ellipsis;
        spoken.append(text.substr(i, length));
        ++characters;
        i += length;
    }
    return spoken;
}

std::string MenuLineName(const TMenuImage& menu, int child) {
    const int index = MenuLineOfChild(menu, child);
    if (index < 0) return {};
    std::string name = std::string(1, static_cast<char>('A' + child - 1)) + ".";
    const std::string text =
        menu.Usable(index) ? SpokenText(menu.Items()[static_cast<std::size_t>(index)]) : "";
    return text.empty() ? name : name + " " + text;
}

TMenuLineState MenuLineState(const TMenuImage& menu, int child, bool listFocused) {
    TMenuLineState state;
    const int index = MenuLineOfChild(menu, child);
    if (index < 0) return state;
    state.Selected = index == menu.ItemIndex();
    state.Focused = state.Selected && listFocused;
    state.Unavailable = !menu.Usable(index);
    return state;
}
