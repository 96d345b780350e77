#include "menu/SkinDefinition.h"

#include <algorithm>
#include <unordered_map>

#include "frame/StringList.h"
#include "system/SysText.h"

namespace {

int Clamp(std::int64_t value, int low, int high) {
    return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

// A text in double quotes for a note, cut after 64 bytes (never inside a double-byte character).
std::string Quoted(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && end < 64)
        end += IsDoubleByteAt(text, end) ? 2 : 1;
    std::string quoted = "\"";
    quoted.append(text.substr(0, end));
    if (end < text.size()) quoted += "...";
    quoted += '"';
    return quoted;
}

std::string Where(std::string_view section, std::string_view key) {
    std::string where = "[";
    where.append(section);
    where += "] ";
    where.append(key);
    return where;
}

// Notes what was clamped or skipped; a definition full of faults gives a bounded list.
constexpr std::size_t MaxSkinWarnings = 64;
void Warn(TSkinDefinition& skin, std::string note) {
    if (skin.Warnings.size() < MaxSkinWarnings) skin.Warnings.push_back(std::move(note));
}

// Reads an integer and clamps it, noting a value that had to be clamped.
int ReadClamped(const TIniStringList& ini, TSkinDefinition& skin, std::string_view section,
                std::string_view key, int defaultValue, int low, int high) {
    const std::int32_t value = ini.GetInteger(section, key, defaultValue);
    const int clamped = Clamp(value, low, high);
    if (clamped != value) {
        std::string note = Where(section, key);
        note += ": ";
        note += std::to_string(value);
        note += " taken as ";
        note += std::to_string(clamped);
        Warn(skin, std::move(note));
    }
    return clamped;
}

// A colour key whose text is used only when present; nothing when absent or not a colour.
std::optional<std::uint32_t> ReadOptionalColor(const TIniStringList& ini, TSkinDefinition& skin,
                                               std::string_view section, std::string_view key) {
    const std::string text = ini.GetString(section, key, "");
    if (text.empty()) return std::nullopt;
    const auto colour = ParseSkinColor(text);
    if (!colour) {
        std::string note = Where(section, key);
        note += ": not a colour: ";
        note += Quoted(text);
        Warn(skin, std::move(note));
    }
    return colour;
}

// A colour key with a default text; a text that is not a colour gives the fallback.
std::uint32_t ReadColor(const TIniStringList& ini, TSkinDefinition& skin, std::string_view section,
                        std::string_view key, std::string_view defaultText,
                        std::uint32_t fallback) {
    const std::string text = ini.GetString(section, key, defaultText);
    const auto colour = ParseSkinColor(text);
    if (colour) return *colour;
    std::string note = Where(section, key);
    note += ": not a colour: ";
    note += Quoted(text);
    Warn(skin, std::move(note));
    return fallback;
}

std::string MalformedPosition(std::string_view section, std::string_view key,
                              std::string_view text) {
    std::string error = Where(section, key);
    error += " の位置 ";
    error += Quoted(text);
    error += " は \"-\" の後が数値ではありません。";
    return error;
}

std::string NumberedSection(const char* prefix, int n) {
    std::string section = prefix;
    section += std::to_string(n);
    return section;
}

const char* const EdgeKeys[8] = {"Line_L",    "Line_T",    "Line_R",    "Line_B",
                                 "Corner_LT", "Corner_RT", "Corner_LB", "Corner_RB"};

// Reads one picture part's own keys (not its children).
TSkinPart ReadPart(const TIniStringList& ini, TSkinDefinition& skin, const std::string& section) {
    TSkinPart part;
    part.Section = section;
    part.Bitmap = ini.GetString(section, "Bitmap", "");
    if (!part.Bitmap.empty()) {
        if (!ini.GetString(section, "FromColor1", "").empty()) {
            part.Recolour = true;
            part.RecolourValid = true;
            const char* const keys[4] = {"FromColor1", "ToColor1", "FromColor2", "ToColor2"};
            for (int i = 0; i < 4; ++i) {
                const auto colour = ParseSkinColor(ini.GetString(section, keys[i], ""));
                part.RecolourValid = part.RecolourValid && colour.has_value();
                part.RecolourColors[static_cast<std::size_t>(i)] = colour.value_or(0);
            }
        }
    } else {
        part.Resize = ini.GetInteger(section, "Resize", 0);
        part.Width = ReadClamped(ini, skin, section, "Width", 0, 0, MaxSkinSize);
        part.Height = ReadClamped(ini, skin, section, "Height", 0, 0, MaxSkinSize);
        ApplySkinResize(part.Resize, skin.Dx, skin.Dy, part.Width, part.Height);
        part.Color = ReadOptionalColor(ini, skin, section, "Color");
    }
    part.Left = ParseSkinPosition(ini.GetString(section, "Left", "0"));
    part.Top = ParseSkinPosition(ini.GetString(section, "Top", "0"));
    part.Frame = ini.GetBool(section, "Frame", false);
    if (part.Frame) {
        const auto frameColour = ReadOptionalColor(ini, skin, section, "FrameTransparentColor");
        part.FrameTransparent = ini.GetBool(section, "FrameTransparent", false) && frameColour;
        part.FrameTransparentColor = frameColour.value_or(0);
        for (std::size_t i = 0; i < 8; ++i)
            part.Edges[i] = ini.GetString(section, EdgeKeys[i], "");
    }
    part.Transparent = ini.GetBool(section, "Transparent", false);
    part.TransparentColor = ReadOptionalColor(ini, skin, section, "TransparentColor");
    return part;
}

// Whether the part can reach its drawing step: a bitmap part may (its bitmap may load), a plain
// part only with a valid colour.
bool MayBeReady(const TSkinPart& part) {
    return !part.Bitmap.empty() || part.Color.has_value();
}

// The names of a Child text in sequence: cut at each ","; an empty name draws nothing. No more
// than limit names are taken: more could never be read.
std::vector<std::string> ChildNames(std::string_view text, std::size_t limit) {
    std::vector<std::string> names;
    while (!text.empty() && names.size() < limit) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        if (!name.empty()) names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return names;
}

bool IsAncestorOrSelf(const TSkinDefinition& skin, int index, std::string_view section) {
    for (int i = index; i >= 0; i = skin.Parts[static_cast<std::size_t>(i)].Parent)
        if (SameText(skin.Parts[static_cast<std::size_t>(i)].Section, section)) return true;
    return false;
}

// The picture-part sections of a document, each read once. A section may be named as a child
// many times, and looking its keys up in the whole document each time would cost the document's
// length per key and name; here the headers are indexed once and each section's keys are read
// from a store that holds its block alone, which answers exactly as the whole document would.
class TPartSections {
public:
    struct TRead {
        TSkinPart Part;
        std::string Child, Left, Top;
    };

    explicit TPartSections(const TIniStringList& ini) : Ini(ini) {
        const TStringList& items = ini.Items();
        for (std::size_t i = 0; i < items.Count(); ++i)
            if (!items[i].empty() && items[i][0] == '[')
                Headers.emplace(LowerCaseAscii(items[i]), i); // the first header wins
    }

    bool Exists(std::string_view section) const { return Headers.count(Key(section)) > 0; }

    const TRead& Read(TSkinDefinition& skin, const std::string& section) {
        const std::string key = Key(section);
        const auto cached = Cache.find(key);
        if (cached != Cache.end()) return cached->second;
        TIniStringList block;
        const auto header = Headers.find(key);
        if (header != Headers.end()) {
            const TStringList& items = Ini.Items();
            block.Items().Add(items[header->second]);
            for (std::size_t i = header->second + 1; i < items.Count(); ++i) {
                if (!items[i].empty() && items[i][0] == '[') break;
                block.Items().Add(items[i]);
            }
        }
        TRead read;
        read.Part = ReadPart(block, skin, section);
        read.Child = block.GetString(section, "Child", "");
        read.Left = block.GetString(section, "Left", "0");
        read.Top = block.GetString(section, "Top", "0");
        return Cache.emplace(key, std::move(read)).first->second;
    }

private:
    static std::string Key(std::string_view section) {
        std::string header = "[";
        header.append(section);
        header += ']';
        return LowerCaseAscii(header);
    }

    const TIniStringList& Ini;
    std::unordered_map<std::string, std::size_t> Headers;
    std::unordered_map<std::string, TRead> Cache;
};

// Reads the part tree of one "Option-" section depth first, without recursion. A part is
// "certain" when it and all its ancestors are plain parts with a valid colour: it is drawn
// whatever the bitmaps, so a malformed position in it ends the reading.
bool ReadPartTree(TPartSections& sections, TSkinDefinition& skin, const std::string& root) {
    struct TPending {
        std::string Section;
        int Parent;
        bool ParentCertain;
    };
    std::vector<TPending> pending{{root, -1, true}};
    while (!pending.empty()) {
        TPending next = std::move(pending.back());
        pending.pop_back();
        if (skin.Parts.size() >= static_cast<std::size_t>(MaxSkinParts)) {
            std::string note = "[";
            note += next.Section;
            note += "]: more than ";
            note += std::to_string(MaxSkinParts);
            note += " picture parts; the rest are left out";
            Warn(skin, std::move(note));
            return true;
        }
        const TPartSections::TRead& read = sections.Read(skin, next.Section);
        TSkinPart part = read.Part;
        part.Section = next.Section;
        part.Parent = next.Parent;
        part.Depth =
            next.Parent < 0 ? 0 : skin.Parts[static_cast<std::size_t>(next.Parent)].Depth + 1;
        const int index = static_cast<int>(skin.Parts.size());
        if (next.Parent < 0)
            skin.Options.push_back(index);
        else
            skin.Parts[static_cast<std::size_t>(next.Parent)].Children.push_back(index);

        const bool ready = MayBeReady(part);
        const bool certain = next.ParentCertain && part.Bitmap.empty() && ready;
        if (certain) {
            for (const auto* key : {"Left", "Top"}) {
                const bool left = key[0] == 'L';
                if ((left ? part.Left : part.Top).Kind != TSkinPosition::Malformed) continue;
                skin.Ok = false;
                skin.Error = MalformedPosition(next.Section, key, left ? read.Left : read.Top);
                skin.Parts.push_back(std::move(part));
                return false;
            }
        }
        skin.Parts.push_back(std::move(part));
        if (!ready) continue;

        const std::vector<std::string> names =
            ChildNames(read.Child, static_cast<std::size_t>(MaxSkinParts) - skin.Parts.size());
        // Pushed last first so that the first name is read first.
        for (auto name = names.rbegin(); name != names.rend(); ++name) {
            std::string note = "[";
            note += next.Section;
            note += "] Child ";
            note += Quoted(*name);
            if (IsAncestorOrSelf(skin, index, *name)) {
                note += ": names the part itself or one of its ancestors; left out";
                Warn(skin, std::move(note));
            } else if (skin.Parts[static_cast<std::size_t>(index)].Depth + 1 >= MaxSkinDepth) {
                note += ": deeper than ";
                note += std::to_string(MaxSkinDepth);
                note += " levels; left out";
                Warn(skin, std::move(note));
            } else {
                pending.push_back({*name, index, certain});
            }
        }
    }
    return true;
}
} // namespace

// ---- Positions ----------------------------------------------------------------------------

TSkinPosition ParseSkinPosition(std::string_view value) {
    TSkinPosition position;
    if (value.empty()) return position;
    if (SameText(value, "Middle") || SameText(value, "Center")) {
        position.Kind = TSkinPosition::Centre;
        return position;
    }
    std::int32_t number = 0;
    if (value[0] == '-') {
        if (!TryStrToInt(value.substr(1), number)) {
            position.Kind = TSkinPosition::Malformed;
            return position;
        }
        position.Kind = TSkinPosition::FromFar;
    } else if (!TryStrToInt(value, number)) {
        number = 0;
    }
    position.Value = Clamp(number, -MaxSkinSize, MaxSkinSize);
    return position;
}

std::optional<int> PlaceSkinPosition(const TSkinPosition& position, int total, int size) {
    const std::int64_t t = std::clamp(total, 0, MaxSkinSize);
    const std::int64_t s = std::clamp(size, 0, MaxSkinSize);
    switch (position.Kind) {
    case TSkinPosition::Offset:
        return Clamp(position.Value, -MaxSkinSize, MaxSkinSize);
    case TSkinPosition::Centre:
        return static_cast<int>((t - s) / 2);
    case TSkinPosition::FromFar:
        return Clamp(t - position.Value - s, -MaxSkinSize, MaxSkinSize);
    case TSkinPosition::Malformed:
        break;
    }
    return std::nullopt;
}

std::optional<int> GetPositionInt(std::string_view value, int total, int size) {
    return PlaceSkinPosition(ParseSkinPosition(value), total, size);
}

int AlignSkinOffset(int code, int total, int size) {
    const int t = std::clamp(total, 0, MaxSkinSize);
    const int s = std::clamp(size, 0, MaxSkinSize);
    switch (code) {
    case 1:
        return (t - s) / 2;
    case 2:
        return t - s;
    default:
        return 0;
    }
}

// ---- Colours ------------------------------------------------------------------------------

const std::array<TSkinColorName, 42> SkinColorNames = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
    {"clNone", 0x1FFFFFFF},
}};

std::optional<std::uint32_t> ParseSkinColor(std::string_view text) {
    for (const auto& entry : SkinColorNames)
        if (SameText(text, entry.Name)) return entry.Value;
    std::int32_t value = 0;
    if (!TryStrToInt(text, value)) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// ---- Overrides and resizing ---------------------------------------------------------------

void ChangeUserDefineSkin(TIniStringList& ini) {
    const TStringList& items = ini.Items();
    const int header = items.IndexOfIgnoringCase("[UserDefine]");
    if (header < 0) return;
    const std::vector<std::string> lines(items.begin() + header + 1, items.end());
    int applied = 0;
    for (const std::string& line : lines) {
        // The first "_" that is a character of its own (not the trail byte of a double-byte
        // character), with at least one byte before it.
        std::size_t underscore = std::string::npos;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (IsDoubleByteAt(line, i)) {
                ++i;
            } else if (line[i] == '_') {
                underscore = i;
                break;
            }
        }
        if (underscore == std::string::npos || underscore < 1) continue;
        const std::size_t equals = line.rfind('=');
        if (equals == std::string::npos || equals < underscore + 2) continue;
        if (++applied > MaxUserDefineLines) return;
        const std::string_view text(line);
        ini.SetString(text.substr(0, underscore),
                      text.substr(underscore + 1, equals - underscore - 1),
                      text.substr(equals + 1));
    }
}

void ApplySkinResize(int resize, int dx, int dy, int& width, int& height) {
    std::int64_t w = width, h = height;
    switch (resize & 0xFF) {
    case 1:
        w += dx;
        break;
    case 2:
        h += dy;
        break;
    case 3:
        w += dx;
        h += dy;
        break;
    default:
        break;
    }
    width = Clamp(w, 0, MaxSkinSize);
    height = Clamp(h, 0, MaxSkinSize);
}

bool ApplySkinToMenu(const TSkinDefinition& skin, TMenuImage& menu) {
    if (!skin.Ok) return false;
    menu.SetSelectColor(skin.SelectColor);
    menu.SetNormalColor(skin.NormalColor);
    menu.SetRelation(skin.Relation);
    if (skin.RelationColor) menu.SetRelationColor(*skin.RelationColor);
    menu.SetWidth(skin.MenuWidth);
    menu.SetHeight(skin.MenuHeight);
    menu.SetLeft(skin.MenuLeft);
    menu.SetTop(skin.MenuTop);
    menu.UpdateColumnWidth();
    return true;
}

std::string SkinFolderOf(std::string_view path) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsDoubleByteAt(path, i))
            ++i;
        else if (path[i] == '\\')
            end = i + 1;
    }
    return std::string(path.substr(0, end));
}

// ---- The reading sequence -----------------------------------------------------------------

namespace {

// The reading sequence proper, on a definition of acceptable length.
void ReadDefinition(const TIniStringList& lines, TSkinInfo& info, const TSkinFontHeight& fontHeight,
                    TSkinDefinition& skin) {
    TIniStringList ini;
    ini.SetItems(lines.Items());
    ChangeUserDefineSkin(ini);

    // Window size and the differences to the designed size.
    skin.DesignWidth = ReadClamped(ini, skin, "Size", "Def_Width", 720, 1, MaxSkinSize);
    skin.DesignHeight = ReadClamped(ini, skin, "Size", "Def_Height", 480, 1, MaxSkinSize);
    skin.Width = ReadClamped(ini, skin, "Size", "Width", skin.DesignWidth, 1, MaxSkinSize);
    const std::int32_t height = ini.GetInteger("Size", "Height", skin.DesignHeight);
    info.EnableIcon = ini.GetString("Basic", "EnableIcon", "");
    info.DisableIcon = ini.GetString("Basic", "DisableIcon", "");
    skin.Dx = skin.Width - skin.DesignWidth;
    if (height > 0) {
        skin.Height = ReadClamped(ini, skin, "Size", "Height", skin.DesignHeight, 1, MaxSkinSize);
        skin.Dy = skin.Height - skin.DesignHeight;
    } else {
        skin.Height = skin.DesignHeight;
        skin.Dy = 0;
    }

    // Menu colours and line space.
    skin.SelectColor = ReadColor(ini, skin, "Menu", "Font_SelectColor", "clBlue", 0xFF0000);
    skin.NormalColor = ReadColor(ini, skin, "Menu", "Font_NormalColor", "clAqua", 0xFFFF00);
    skin.Relation = ini.GetBool("Menu", "Font_Relation", false);
    if (!ini.GetString("Menu", "Font_RelationColor", "").empty()) {
        skin.RelationColor = ReadOptionalColor(ini, skin, "Menu", "Font_RelationColor");
        if (!skin.RelationColor) skin.Relation = false;
    }
    skin.LineSpace = ReadClamped(ini, skin, "Menu", "LineSpace", 4, 0, MaxSkinLineSpace);

    // Menu area size, following the window by the resize code.
    skin.MenuResize = ini.GetInteger("Menu", "Resize", 0);
    skin.MenuWidth = ReadClamped(ini, skin, "Menu", "Width", 400, 0, MaxSkinSize);
    skin.MenuHeight = ReadClamped(ini, skin, "Menu", "Height", 220, 0, MaxSkinSize);
    ApplySkinResize(skin.MenuResize, skin.Dx, skin.Dy, skin.MenuWidth, skin.MenuHeight);
    const int code = skin.MenuResize & 0xFF;
    if ((code == 2 || code == 3) && fontHeight) {
        const int needed = std::clamp(fontHeight(skin.LineSpace), 0, MaxSkinSize);
        if (skin.MenuHeight < needed) {
            const int grown = std::min(skin.Height + needed - skin.MenuHeight, MaxSkinSize);
            skin.MenuHeight = needed;
            skin.Height = grown;
            skin.Dy = skin.Height - skin.DesignHeight;
        }
    }

    // Background colour and the menu area's place on it.
    skin.Color = ReadColor(ini, skin, "Basic", "Color", "clBlack", 0);
    for (const auto* key : {"Left", "Top"}) {
        const bool left = key[0] == 'L';
        const std::string text = ini.GetString("Menu", key, left ? "64" : "32");
        const auto offset = left ? GetPositionInt(text, skin.Width, skin.MenuWidth)
                                 : GetPositionInt(text, skin.Height, skin.MenuHeight);
        if (!offset) {
            skin.Ok = false;
            skin.Error = MalformedPosition("Menu", key, text);
            break;
        }
        (left ? skin.MenuLeft : skin.MenuTop) = *offset;
    }

    if (skin.Ok) {
        // Background bitmap.
        skin.Bitmap = ini.GetString("Basic", "Bitmap", "");
        skin.PositionX = ini.GetInteger("Basic", "PositionX", 1);
        skin.PositionY = ini.GetInteger("Basic", "PositionY", 1);
        for (int* code : {&skin.PositionX, &skin.PositionY})
            if (*code < 0 || *code > 2) *code = 0;

        // Picture parts, "Option-1" on without gaps.
        TPartSections sections(ini);
        for (int n = 1; skin.Ok && skin.Parts.size() < static_cast<std::size_t>(MaxSkinParts);
             ++n) {
            const std::string section = NumberedSection("Option-", n);
            if (!sections.Exists(section)) break;
            ReadPartTree(sections, skin, section);
        }
    }

    if (skin.Ok) {
        // Page marks.
        for (std::size_t k = 0; k < skin.Marks.size(); ++k) {
            TSkinMark& mark = skin.Marks[k];
            mark.Section =
                k == 0 ? std::string("MenuProtect") : NumberedSection("Page-", static_cast<int>(k));
            mark.Bitmap = ini.GetString(mark.Section, "Bitmap", "");
            if (mark.Bitmap.empty()) continue;
            mark.Left = ParseSkinPosition(ini.GetString(mark.Section, "Left", "0"));
            mark.Top = ParseSkinPosition(ini.GetString(mark.Section, "Top", "0"));
            if (!ini.GetString(mark.Section, "TransparentColor", "").empty())
                mark.TransparentColor =
                    ReadOptionalColor(ini, skin, mark.Section, "TransparentColor").value_or(0);
            mark.Transparent = ini.GetBool(mark.Section, "Transparent", false);
        }
    }

    skin.Name = ini.GetString("Basic", "Name", "");
    skin.Dll = ini.GetString("Basic", "DLL", "");
    skin.Transparent = ini.GetBool("Basic", "Transparent", false);
    skin.TransparentColor = ReadColor(ini, skin, "Basic", "TransparentColor", "clBlack", 0);
}

} // namespace

TSkinDefinition ReadSkinDefinition(const TIniStringList& lines, TSkinInfo& info,
                                   const TSkinFontHeight& fontHeight) {
    TSkinDefinition skin;
    skin.Folder = SkinFolderOf(info.Path);
    if (lines.Items().Count() > static_cast<std::size_t>(MaxSkinLines)) {
        skin.Ok = false;
        skin.Error = "背景の設定が ";
        skin.Error += std::to_string(MaxSkinLines);
        skin.Error += " 行を超えています。";
    } else {
        ReadDefinition(lines, info, fontHeight, skin);
    }
    info.Width = skin.Width;
    info.Height = skin.Height;
    info.Transparent = skin.Transparent;
    info.TransparentColor = skin.TransparentColor;
    return skin;
}
