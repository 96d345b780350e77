#include "skinlib/StandardSkin.h"

#include <algorithm>

#include "menu/SkinDefinition.h"

namespace {

// Menu lines are 13 to a column; a line takes the font's height (about 16 pixels) and the space.
constexpr int RowsPerColumn = 13;
constexpr int LineHeight = 16;
constexpr int TopPanelHeight = 36;
constexpr int BottomPanelHeight = 28;
constexpr int Margin = 24;

// The system's colours of a high-contrast look, by their colour names.
constexpr const char* SystemWindow = "clWindow";
constexpr const char* SystemWindowText = "clWindowText";
constexpr const char* SystemHighlight = "clHighlight";

std::string Colour(const TIniStringList& settings, const char* key, const char* fallback) {
    const std::string value = settings.GetString("Color", key, "");
    return !value.empty() && ParseSkinColor(value) ? value : fallback;
}

class TLines {
public:
    void Section(const char* name) {
        if (!Text.empty()) Text.append("\r\n");
        Text.append("[").append(name).append("]\r\n");
    }
    void Key(const char* key, const std::string& value) {
        Text.append(key).append("=").append(value).append("\r\n");
    }
    void Key(const char* key, int value) { Key(key, std::to_string(value)); }
    std::string Text;
};

} // namespace

std::string BuildStandardSkin(const TIniStringList& settings, bool highContrast) {
    const auto colour = [&](const char* key, const char* fallback, const char* system) {
        return highContrast ? std::string(system) : Colour(settings, key, fallback);
    };
    const int width = std::clamp(settings.GetInteger("Window", "Width", 560), 320, 1600);
    const int lineSpace = std::clamp(settings.GetInteger("Window", "LineSpace", 4), 0, 32);
    const bool topPanel = settings.GetBool("Window", "TopPanel", true);
    const bool bottomPanel = settings.GetBool("Window", "BottomPanel", true);
    const bool emblem = !settings.GetBool("Window", "HideGirl", false);
    const std::string panel = colour("Panel", "$00603010", SystemWindow);
    const std::string shadow = colour("Shadow", "", "");

    const int menuTop = (topPanel ? TopPanelHeight : 0) + Margin / 2;
    const int menuHeight = RowsPerColumn * (LineHeight + lineSpace);
    const int height = menuTop + menuHeight + Margin / 2 + (bottomPanel ? BottomPanelHeight : 0);

    TLines out;
    out.Section("Basic");
    out.Key("Name", "標準");
    out.Key("Color", colour("Background", "clNavy", SystemWindow));
    if (settings.GetBool("Window", "ChangeIcon", false)) {
        out.Key("EnableIcon", settings.GetString("Window", "EnableIcon", ""));
        out.Key("DisableIcon", settings.GetString("Window", "DisableIcon", ""));
    }
    out.Section("Size");
    out.Key("Def_Width", width);
    out.Key("Def_Height", height);
    out.Section("Menu");
    out.Key("Left", Margin);
    out.Key("Top", menuTop);
    out.Key("Width", width - 2 * Margin);
    out.Key("Height", menuHeight);
    out.Key("LineSpace", lineSpace);
    out.Key("Font_NormalColor", colour("Text", "clWhite", SystemWindowText));
    out.Key("Font_SelectColor", colour("Selected", "clYellow", SystemHighlight));
    if (!shadow.empty()) {
        out.Key("Font_Relation", 1);
        out.Key("Font_RelationColor", shadow);
    }
    int option = 0;
    auto panelPart = [&](int top, int panelHeight, bool withEmblem) {
        const std::string section = std::string("Option-").append(std::to_string(++option));
        out.Section(section.c_str());
        out.Key("Width", width);
        out.Key("Height", panelHeight);
        out.Key("Color", panel);
        out.Key("Left", 0);
        out.Key("Top", top);
        if (withEmblem) out.Key("Child", "Emblem");
    };
    if (topPanel) panelPart(0, TopPanelHeight, emblem);
    if (bottomPanel) panelPart(height - BottomPanelHeight, BottomPanelHeight, false);
    // A picture of the library's, drawn with magenta as its transparent colour.
    auto picture = [&](const std::string& section, const std::string& bitmap,
                       const std::string& left, const std::string& top) {
        out.Section(section.c_str());
        out.Key("Bitmap", bitmap);
        out.Key("Left", left);
        out.Key("Top", top);
        out.Key("Transparent", 1);
        out.Key("TransparentColor", "clFuchsia");
    };
    if (topPanel && emblem) picture("Emblem", "Emblem", "8", "Middle");
    // The marks sit on the panels when they are there, else in the window's corners.
    for (int page = 1; page <= 3; ++page) {
        const std::string number = std::to_string(page);
        picture(std::string("Page-").append(number), std::string("Page").append(number),
                std::string("-").append(std::to_string(8 + (3 - page) * 24)), "6");
    }
    picture("MenuProtect", "Protect", "8", "-4");
    return out.Text;
}

TStringList PlainLookLines(const TStringList& definition, bool highContrast) {
    if (!highContrast) return definition;
    for (std::size_t i = 0; i < definition.Count(); ++i)
        if (definition[i].find('=') != std::string::npos) return definition;
    TStringList lines;
    lines.Add("[Basic]");
    lines.Add(std::string("Color=") + SystemWindow);
    lines.Add("[Menu]");
    lines.Add(std::string("Font_NormalColor=") + SystemWindowText);
    lines.Add(std::string("Font_SelectColor=") + SystemHighlight);
    return lines;
}
