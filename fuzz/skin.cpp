// The skin definition reader on any bytes. Whatever the text, every number that becomes geometry
// stays in its range, the part tree is bounded and free of cycles, a failed reading says why, and
// positions and colours of any line convert without overflow.
#include <vector>

#include "FuzzSupport.h"
#include "menu/SkinDefinition.h"
#include "settings/IniStr.h"

namespace {

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

std::string Numbers(const TSkinDefinition& skin) {
    std::string text = "size ";
    for (int value :
         {skin.DesignWidth, skin.DesignHeight, skin.Width, skin.Height, skin.Dx, skin.Dy,
          skin.MenuLeft, skin.MenuTop, skin.MenuWidth, skin.MenuHeight, skin.LineSpace}) {
        text += std::to_string(value);
        text += ' ';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // The last bytes choose the height the menu font needs and a surface to place on; the rest is
    // the definition.
    const int fontHeight = input.ConsumeIntegral<int>();
    const int total = input.ConsumeIntegral<int>();
    const int thing = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();
    TIniStringList lines;
    lines.Items().SetText(text);
    const std::vector<std::string> before = lines.Items().Items();

    TSkinInfo info;
    info.Path = "C:\\Mirto\\Skin\\fuzz.ini";
    int asked = 0;
    const TSkinDefinition skin = ReadSkinDefinition(lines, info, [&](int lineSpace) {
        ++asked;
        FUZZ_CHECK(InRange(lineSpace, 0, MaxSkinLineSpace), "line space " + Visible(text));
        return fontHeight;
    });
    const auto where = [&] { return Numbers(skin) + "\ndefinition " + Visible(text); };

    FUZZ_CHECK(lines.Items().Items() == before, "the caller's lines changed\n" + where());
    FUZZ_CHECK(skin.Folder == "C:\\Mirto\\Skin\\", where());
    FUZZ_CHECK(skin.Ok == skin.Error.empty(), where());
    FUZZ_CHECK(skin.Warnings.size() <= 64, where());
    FUZZ_CHECK(asked <= 1, where());

    FUZZ_CHECK(InRange(skin.DesignWidth, 1, MaxSkinSize) &&
                   InRange(skin.DesignHeight, 1, MaxSkinSize),
               where());
    FUZZ_CHECK(InRange(skin.Width, 1, MaxSkinSize) && InRange(skin.Height, 1, MaxSkinSize),
               where());
    FUZZ_CHECK(skin.Dx == skin.Width - skin.DesignWidth, where());
    FUZZ_CHECK(skin.Dy == 0 || skin.Dy == skin.Height - skin.DesignHeight, where());
    FUZZ_CHECK(info.Width == skin.Width && info.Height == skin.Height &&
                   info.Transparent == skin.Transparent &&
                   info.TransparentColor == skin.TransparentColor,
               where());
    FUZZ_CHECK(InRange(skin.LineSpace, 0, MaxSkinLineSpace), where());
    FUZZ_CHECK(InRange(skin.MenuWidth, 0, MaxSkinSize) && InRange(skin.MenuHeight, 0, MaxSkinSize),
               where());
    FUZZ_CHECK(InRange(skin.MenuLeft, -MaxSkinSize, MaxSkinSize) &&
                   InRange(skin.MenuTop, -MaxSkinSize, MaxSkinSize),
               where());
    FUZZ_CHECK(InRange(skin.PositionX, 0, 2) && InRange(skin.PositionY, 0, 2), where());

    // The part tree: bounded, parents first, no part below one of the same section.
    FUZZ_CHECK(skin.Parts.size() <= static_cast<std::size_t>(MaxSkinParts), where());
    std::size_t reached = 0;
    for (std::size_t i = 0; i < skin.Parts.size(); ++i) {
        const TSkinPart& part = skin.Parts[i];
        FUZZ_CHECK(InRange(part.Depth, 0, MaxSkinDepth - 1), where());
        FUZZ_CHECK(InRange(part.Width, 0, MaxSkinSize) && InRange(part.Height, 0, MaxSkinSize),
                   where());
        FUZZ_CHECK((part.Parent < 0) == (part.Depth == 0), where());
        for (int parent = part.Parent; parent >= 0;
             parent = skin.Parts[static_cast<std::size_t>(parent)].Parent) {
            FUZZ_CHECK(static_cast<std::size_t>(parent) < i, where());
            FUZZ_CHECK(
                !SameText(skin.Parts[static_cast<std::size_t>(parent)].Section, part.Section),
                "cycle through " + Visible(part.Section) + "\n" + where());
        }
        for (const int child : part.Children) {
            FUZZ_CHECK(child > static_cast<int>(i) && child < static_cast<int>(skin.Parts.size()),
                       where());
            FUZZ_CHECK(skin.Parts[static_cast<std::size_t>(child)].Parent == static_cast<int>(i),
                       where());
        }
        reached += part.Children.size();
        for (const TSkinPosition& position : {part.Left, part.Top}) {
            const auto offset = PlaceSkinPosition(position, total, thing);
            FUZZ_CHECK(offset.has_value() == (position.Kind != TSkinPosition::Malformed), where());
            if (offset) FUZZ_CHECK(InRange(*offset, -MaxSkinSize, MaxSkinSize), where());
        }
    }
    FUZZ_CHECK(reached + skin.Options.size() == skin.Parts.size(), where());

    // Each part reads as the whole document, overrides applied, answers for its section.
    TIniStringList whole;
    whole.SetItems(lines.Items());
    ChangeUserDefineSkin(whole);
    for (std::size_t i = 0; i < skin.Parts.size() && i < 32; ++i) {
        const TSkinPart& part = skin.Parts[i];
        const std::string& section = part.Section;
        const auto detail = [&] { return "part " + Visible(section) + "\n" + where(); };
        FUZZ_CHECK(part.Bitmap == whole.GetString(section, "Bitmap", ""), detail());
        FUZZ_CHECK(part.Left == ParseSkinPosition(whole.GetString(section, "Left", "0")), detail());
        FUZZ_CHECK(part.Frame == whole.GetBool(section, "Frame", false), detail());
        if (part.Frame)
            FUZZ_CHECK(part.Edges[3] == whole.GetString(section, "Line_B", ""), detail());
        FUZZ_CHECK(part.Transparent == whole.GetBool(section, "Transparent", false), detail());
        if (part.Bitmap.empty())
            FUZZ_CHECK(part.Color == ParseSkinColor(whole.GetString(section, "Color", "")),
                       detail());
    }
    for (const TSkinMark& mark : skin.Marks)
        if (skin.Ok)
            FUZZ_CHECK(mark.Bitmap == whole.GetString(mark.Section, "Bitmap", ""), where());

    // Every line as a position and as a colour.
    for (const std::string& line : before) {
        const auto offset = GetPositionInt(line, total, thing);
        if (offset) FUZZ_CHECK(InRange(*offset, -MaxSkinSize, MaxSkinSize), Visible(line));
        FUZZ_CHECK(offset || (!line.empty() && line[0] == '-'), Visible(line));
        const auto colour = ParseSkinColor(line);
        std::int32_t number;
        if (colour && !TryStrToInt(line, number))
            FUZZ_CHECK(line.size() >= 5 && SameText(line.substr(0, 2), "cl"), Visible(line));
    }
    return 0;
}
