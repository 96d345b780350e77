#include "menu/SkinPlan.h"

#include <algorithm>
#include <map>
#include <optional>

#include "menu/SkinBitmapHeader.h"

TSkinRect IntersectSkinRect(const TSkinRect& a, const TSkinRect& b) {
    const TSkinRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                      std::min(a.Bottom, b.Bottom)};
    return r.Empty() ? TSkinRect{} : r;
}

TSkinRect VisibleSkinRect(const TSkinRect& visible, int x, int y, int width, int height) {
    // Sizes and places stay within +-2 * MaxSkinSize: no sum here leaves 32 bits.
    const TSkinRect placed{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    const TSkinRect seen = IntersectSkinRect(visible, placed);
    if (seen.Empty()) return {};
    return {seen.Left - x, seen.Top - y, seen.Right - x, seen.Bottom - y};
}

TSkinTileRange VisibleSkinTiles(int length, int tile, int visibleStart, int visibleEnd) {
    if (tile <= 0 || length <= tile) return {};
    const int count = (length - 1) / tile; // the k with (k + 1) * tile < length
    const int first = std::max(visibleStart, 0) / tile;
    const int end = std::min(count, visibleEnd <= 0 ? 0 : (visibleEnd - 1) / tile + 1);
    return first < end ? TSkinTileRange{first, end} : TSkinTileRange{};
}

TSkinRect SkinEdgePiece(int edge, int k, int width, int height, int pieceWidth, int pieceHeight) {
    int x = 0, y = 0;
    switch (edge) {
    case 0:
        y = k * pieceHeight;
        break; // Line_L
    case 1:
        x = k * pieceWidth;
        break; // Line_T
    case 2:
        x = width - pieceWidth, y = k * pieceHeight;
        break; // Line_R
    case 3:
        x = k * pieceWidth, y = height - pieceHeight;
        break; // Line_B
    case 4:
        break; // Corner_LT
    case 5:
        x = width - pieceWidth;
        break; // Corner_RT
    case 6:
        y = height - pieceHeight;
        break; // Corner_LB
    default:
        x = width - pieceWidth, y = height - pieceHeight;
        break; // Corner_RB
    }
    return {x, y, x + pieceWidth, y + pieceHeight};
}

std::string SkinBitmapPath(const TSkinDefinition& skin, const std::string& name) {
    return name.find('.') == std::string::npos ? name : skin.Folder + name;
}

namespace {

std::string Section(const std::string& section) {
    std::string text = "[";
    text += section;
    text += ']';
    return text;
}

std::string PositionError(const std::string& section, const char* key) {
    return Section(section).append(" ").append(key).append(
        " の位置は \"-\" の後が数値ではありません。");
}

class TPlanner {
public:
    TPlanner(const TSkinDefinition& skin, const TSkinBitmapProber& probe, TSkinPlan& plan)
        : Skin(skin), Probe(probe), Plan(plan) {}

    bool Run() {
        Plan.Width = std::clamp(Skin.Width, 1, MaxSkinSize);
        Plan.Height = std::clamp(Skin.Height, 1, MaxSkinSize);
        const std::int64_t window = static_cast<std::int64_t>(Plan.Width) * Plan.Height;
        if (window > MaxSkinWindowPixels)
            return Fail(std::string("ウィンドウの大きさ ")
                            .append(std::to_string(Plan.Width))
                            .append(" x ")
                            .append(std::to_string(Plan.Height))
                            .append(" は大きすぎます。背景は合計 ")
                            .append(std::to_string(MaxSkinWindowPixels))
                            .append(" ピクセルまでです。"));
        if (!Work(window, "ウィンドウ")) return false;
        const TSkinRect whole{0, 0, Plan.Width, Plan.Height};

        if (!Skin.Bitmap.empty()) {
            const TSkinBitmapProbe* bitmap = Ask(Skin.Bitmap);
            if (!bitmap) return false;
            if (bitmap->Kind == TSkinBitmapProbe::Loadable) {
                const int x = AlignSkinOffset(Skin.PositionX, Plan.Width, bitmap->Width);
                const int y = AlignSkinOffset(Skin.PositionY, Plan.Height, bitmap->Height);
                const TSkinRect seen = VisibleSkinRect(whole, x, y, bitmap->Width, bitmap->Height);
                if (!seen.Empty()) {
                    if (!Decode(Skin.Bitmap, *bitmap) || !Work(seen.Area(), "背景の画像"))
                        return false;
                    Plan.Background = true;
                    Plan.BackgroundX = x;
                    Plan.BackgroundY = y;
                }
            }
        }

        Plan.Parts.assign(Skin.Parts.size(), TSkinPartPlan{});
        for (int option : Skin.Options)
            if (!Part(option, whole, Plan.Width, Plan.Height, 0)) return false;

        for (std::size_t k = 0; k < Skin.Marks.size(); ++k)
            if (!Mark(Skin.Marks[k], Plan.Marks[k])) return false;

        // The palette is taken from the window's picture, and a shaped window scans it once more.
        if (!Work(window, "ウィンドウ")) return false;
        if (Skin.Transparent && !Work(window, "ウィンドウ")) return false;
        Plan.Ok = true;
        return true;
    }

private:
    const TSkinDefinition& Skin;
    const TSkinBitmapProber& Probe;
    TSkinPlan& Plan;
    std::map<std::string, TSkinBitmapProbe> Probed; // names repeat: each is asked once

    bool Fail(std::string error) {
        Plan.Error = std::move(error);
        return false;
    }

    // Counts a piece of work; false (and the refusal) past the limit.
    bool Work(std::int64_t pixels, const std::string& what) {
        if (pixels <= 0) return true;
        Plan.DrawPixels += std::max(pixels, SkinDrawMinimum);
        if (Plan.DrawPixels <= MaxSkinDrawPixels) return true;
        return Fail(std::string(what)
                        .append(" で描く量が大きすぎます。一つの背景で描くのは合計 ")
                        .append(std::to_string(MaxSkinDrawPixels))
                        .append(" ピクセルまでです。"));
    }

    // Counts a bitmap about to be decoded, in the bitmaps' total and as work.
    bool Decode(const std::string& name, const TSkinBitmapProbe& bitmap) {
        const std::int64_t pixels = static_cast<std::int64_t>(bitmap.Width) * bitmap.Height;
        Plan.BitmapPixels += pixels;
        const std::string path = SkinBitmapPath(Skin, name);
        if (Plan.BitmapPixels > MaxSkinBitmapPixels)
            return Fail(SkinBitmapError(path, std::string("画像の大きさ ")
                                                  .append(std::to_string(bitmap.Width))
                                                  .append(" x ")
                                                  .append(std::to_string(bitmap.Height))
                                                  .append(" は大きすぎます。一つの背景で"
                                                          "読み込む画像は合計 ")
                                                  .append(std::to_string(MaxSkinBitmapPixels))
                                                  .append(" ピクセルまでです。")));
        return Work(pixels, "\"" + path + "\"");
    }

    // The probe of a name; nullptr (and the fault) when it is Invalid.
    const TSkinBitmapProbe* Ask(const std::string& name) {
        auto found = Probed.find(name);
        if (found == Probed.end()) found = Probed.emplace(name, Probe(name)).first;
        const TSkinBitmapProbe& probe = found->second;
        if (probe.Kind == TSkinBitmapProbe::Invalid) {
            Fail(probe.Error);
            return nullptr;
        }
        if (probe.Kind == TSkinBitmapProbe::Loadable && (probe.Width <= 0 || probe.Height <= 0))
            found->second.Kind = TSkinBitmapProbe::Missing; // nothing to draw with
        return &found->second;
    }

    // One part placed within placeWidth x placeHeight on a parent of which `visible` shows.
    bool Part(int index, const TSkinRect& visible, int placeWidth, int placeHeight, int depth) {
        const TSkinPart& part = Skin.Parts[static_cast<std::size_t>(index)];
        int width = part.Width, height = part.Height;
        const TSkinBitmapProbe* bitmap = nullptr;
        if (!part.Bitmap.empty()) {
            bitmap = Ask(part.Bitmap);
            if (!bitmap) return false;
            if (bitmap->Kind != TSkinBitmapProbe::Loadable) return true;
            if (part.Recolour && !part.RecolourValid)
                return Fail(Section(part.Section)
                                .append(" の置き換える色 (FromColor1, ToColor1, FromColor2, "
                                        "ToColor2) に、ないものか色ではないものがあります。"));
            width = bitmap->Width;
            height = bitmap->Height;
        } else if (!part.Color) {
            return true; // a plain part without a colour is not drawn
        }
        const std::optional<int> x = PlaceSkinPosition(part.Left, placeWidth, width);
        if (!x) return Fail(PositionError(part.Section, "Left"));
        const std::optional<int> y = PlaceSkinPosition(part.Top, placeHeight, height);
        if (!y) return Fail(PositionError(part.Section, "Top"));
        // A transparent part without its colour is never drawn, nor is anything on it.
        if (part.Transparent && !part.TransparentColor) return true;
        const TSkinRect seen = VisibleSkinRect(visible, *x, *y, width, height);
        if (seen.Empty()) return true;

        const std::string what = Section(part.Section);
        if (bitmap && !Decode(part.Bitmap, *bitmap)) return false;
        if (!Work(seen.Area(), what)) return false; // its visible piece made
        TSkinPartPlan& planned = Plan.Parts[static_cast<std::size_t>(index)];
        planned = {true, *x, *y, width, height, seen, {}};

        // The reader never nests deeper than MaxSkinDepth nor lets a part name an ancestor; the
        // depth check keeps a hand-made record from recursing without end all the same.
        if (depth < MaxSkinDepth)
            for (int child : part.Children) {
                if (child <= index || child >= static_cast<int>(Skin.Parts.size())) continue;
                if (!Part(child, seen, width, height, depth + 1)) return false;
            }
        if (part.Frame)
            for (int edge = 0; edge < 8; ++edge)
                if (!Edge(part, edge, planned)) return false;
        return Work(seen.Area(), what); // drawn onto the parent
    }

    bool Edge(const TSkinPart& part, int edge, TSkinPartPlan& planned) {
        const std::string& name = part.Edges[static_cast<std::size_t>(edge)];
        if (name.empty()) return true;
        const TSkinBitmapProbe* piece = Ask(name);
        if (!piece) return false;
        if (piece->Kind != TSkinBitmapProbe::Loadable) return true;
        const int w = piece->Width, h = piece->Height;
        const TSkinRect& seen = planned.Visible;
        TSkinTileRange tiles{0, 1};
        if (edge == 0 || edge == 2)
            tiles = VisibleSkinTiles(planned.Height, h, seen.Top, seen.Bottom);
        else if (edge == 1 || edge == 3)
            tiles = VisibleSkinTiles(planned.Width, w, seen.Left, seen.Right);
        if (tiles.First >= tiles.End) return true;
        // Every tile of a line lies across the same band: the first tells whether any shows.
        const auto shown = [&](int k) {
            return IntersectSkinRect(seen,
                                     SkinEdgePiece(edge, k, planned.Width, planned.Height, w, h));
        };
        if (shown(tiles.First).Empty()) return true;
        const std::string what = Section(part.Section) + " " + EdgeName(edge);
        if (!Decode(name, *piece)) return false;
        for (int k = tiles.First; k < tiles.End; ++k)
            if (!Work(shown(k).Area(), what)) return false;
        planned.Edges[static_cast<std::size_t>(edge)] = {w, h};
        return true;
    }

    static const char* EdgeName(int edge) {
        static const char* const names[8] = {"Line_L",    "Line_T",    "Line_R",    "Line_B",
                                             "Corner_LT", "Corner_RT", "Corner_LB", "Corner_RB"};
        return names[edge];
    }

    bool Mark(const TSkinMark& mark, TSkinMarkPlan& planned) {
        if (mark.Bitmap.empty()) return true;
        const TSkinBitmapProbe* bitmap = Ask(mark.Bitmap);
        if (!bitmap) return false;
        if (bitmap->Kind != TSkinBitmapProbe::Loadable) return true;
        const int width = bitmap->Width, loaded = bitmap->Height, height = loaded / 2;
        const std::optional<int> left = PlaceSkinPosition(mark.Left, Plan.Width, width);
        if (!left) return Fail(PositionError(mark.Section, "Left"));
        const std::optional<int> top = PlaceSkinPosition(mark.Top, Plan.Height, height);
        if (!top) return Fail(PositionError(mark.Section, "Top"));
        if (!Decode(mark.Bitmap, *bitmap)) return false;
        // The frames composed over the background beside the loaded ones (2 x width wide, a
        // frame taller), their rows in the palette's picture, and the control's copy.
        const std::int64_t composed = static_cast<std::int64_t>(width) * (loaded + height);
        if (!Work(3 * composed + static_cast<std::int64_t>(width) * loaded, Section(mark.Section)))
            return false;
        planned = {true, *left, *top, width, height, loaded};
        return true;
    }
};

} // namespace

TSkinPlan PlanSkin(const TSkinDefinition& skin, const TSkinBitmapProber& probe) {
    TSkinPlan plan;
    TPlanner(skin, probe, plan).Run();
    return plan;
}
