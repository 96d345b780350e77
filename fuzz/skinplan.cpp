// The plan of a composition on any definition and any bitmap sizes. Whatever they say, a plan
// that is Ok stays within every limit, makes only pieces that show, each within its part and on a
// piece of its parent that was made; a refused plan says why; each name is asked once.
#include <map>
#include <vector>

#include "FuzzSupport.h"
#include "menu/SkinPlan.h"
#include "settings/IniStr.h"

namespace {

bool Inside(const TSkinRect& inner, const TSkinRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // The first bytes are the sizes the bitmaps declare, handed out in the order they are asked
    // (0 x 0 is a missing bitmap, a negative width an invalid one); the rest is the definition.
    std::vector<std::pair<int, int>> sizes;
    const int count = input.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < count; ++i)
        sizes.emplace_back(input.ConsumeIntegralInRange<int>(-1, MaxSkinSize),
                           input.ConsumeIntegralInRange<int>(0, MaxSkinSize));
    const std::string text = input.ConsumeRemainingBytesAsString();
    TIniStringList lines;
    lines.Items().SetText(text);
    TSkinInfo info;
    info.Path = "C:\\Mirto\\Skin\\fuzz.ini";
    const TSkinDefinition skin = ReadSkinDefinition(lines, info);
    if (!skin.Ok) return 0;

    std::map<std::string, int> asked;
    const TSkinPlan plan = PlanSkin(skin, [&](const std::string& name) {
        const int n = asked[name]++;
        FUZZ_CHECK(n == 0, "asked twice for " + Visible(name) + "\n" + Visible(text));
        TSkinBitmapProbe probe;
        if (sizes.empty()) return probe;
        const auto [w, h] = sizes[asked.size() % sizes.size()];
        if (w < 0) {
            probe.Kind = TSkinBitmapProbe::Invalid;
            probe.Error = "invalid " + name;
        } else if (w > 0 && h > 0) {
            probe.Kind = TSkinBitmapProbe::Loadable;
            probe.Width = w;
            probe.Height = h;
        }
        return probe;
    });
    const auto where = [&] {
        return "bitmaps " + std::to_string(plan.BitmapPixels) + " work " +
               std::to_string(plan.DrawPixels) + "\ndefinition " + Visible(text);
    };
    FUZZ_CHECK(plan.Ok == plan.Error.empty(), where());
    if (!plan.Ok) return 0;
    FUZZ_CHECK(static_cast<std::int64_t>(plan.Width) * plan.Height <= MaxSkinWindowPixels, where());
    FUZZ_CHECK(plan.BitmapPixels <= MaxSkinBitmapPixels, where());
    FUZZ_CHECK(plan.DrawPixels <= MaxSkinDrawPixels, where());
    FUZZ_CHECK(plan.Parts.size() == skin.Parts.size(), where());

    const TSkinRect window{0, 0, plan.Width, plan.Height};
    for (std::size_t i = 0; i < plan.Parts.size(); ++i) {
        const TSkinPartPlan& part = plan.Parts[i];
        if (!part.Drawn) {
            for (const auto& edge : part.Edges)
                FUZZ_CHECK(edge[0] == 0 && edge[1] == 0, where());
            continue;
        }
        const TSkinRect& seen = part.Visible;
        FUZZ_CHECK(!seen.Empty() && Inside(seen, TSkinRect{0, 0, part.Width, part.Height}),
                   where());
        // The piece on its parent lies on the piece of the parent that was made.
        const TSkinRect onParent{part.X + seen.Left, part.Y + seen.Top, part.X + seen.Right,
                                 part.Y + seen.Bottom};
        const int parent = skin.Parts[i].Parent;
        if (parent < 0) {
            FUZZ_CHECK(Inside(onParent, window), where());
        } else {
            const TSkinPartPlan& up = plan.Parts[static_cast<std::size_t>(parent)];
            FUZZ_CHECK(up.Drawn && Inside(onParent, up.Visible), where());
        }
        // Every tile counted lies in the part's picture and meets the piece that shows.
        for (int e = 0; e < 8; ++e) {
            const auto [w, h] = part.Edges[static_cast<std::size_t>(e)];
            if (w == 0) continue;
            FUZZ_CHECK(skin.Parts[i].Frame, where());
            TSkinTileRange tiles{0, 1};
            if (e == 0 || e == 2) tiles = VisibleSkinTiles(part.Height, h, seen.Top, seen.Bottom);
            if (e == 1 || e == 3) tiles = VisibleSkinTiles(part.Width, w, seen.Left, seen.Right);
            FUZZ_CHECK(tiles.First < tiles.End, where());
            FUZZ_CHECK(!IntersectSkinRect(
                            seen, SkinEdgePiece(e, tiles.First, part.Width, part.Height, w, h))
                            .Empty(),
                       where());
        }
    }
    return 0;
}
