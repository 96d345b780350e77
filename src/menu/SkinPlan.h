#pragma once
// The plan of a composition: where each picture part of a definition goes, what of it can be seen
// in the window, which bitmaps must be decoded and what the whole costs, decided from the
// definition and the sizes the bitmaps' headers declare before any pixel is made.
//
// Skins come from downloads, and a definition of a few hundred bytes can name thousands of
// parts of 8192 x 8192 pixels or a small compressed file that declares as much. A part is
// clipped to its parent and the parent to the window before anything is made for it: a part,
// child or edge piece that cannot be seen costs nothing. What remains is counted, and a skin
// whose count goes over a limit is refused with a text naming what was too large:
//   - the window: at most MaxSkinWindowPixels pixels;
//   - bitmaps: the pixels every decoded bitmap declares, counted at each load, at most
//     MaxSkinBitmapPixels in all;
//   - work: the pixels made, filled and drawn (the window, each part's visible piece and its
//     drawing onto its parent, each visible edge piece, the marks' frames composed over the
//     background, the palette's and the region's scans), at most MaxSkinDrawPixels in all;
//     each drawing counts at least SkinDrawMinimum, since each is a call to the system.
// A skin up to a 4K screen's size with a background picture and several full-window layers fits;
// whatever a definition says, the composition holds at most a few hundred megabytes and works
// for at most a few hundred milliseconds.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "menu/SkinDefinition.h"

inline constexpr std::int64_t MaxSkinWindowPixels = 4096 * 2304;
inline constexpr std::int64_t MaxSkinBitmapPixels = 16 * 1024 * 1024;
inline constexpr std::int64_t MaxSkinDrawPixels = 96 * 1024 * 1024;
inline constexpr std::int64_t SkinDrawMinimum = 1024;

// A rectangle of pixels, right and bottom excluded.
struct TSkinRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    bool Empty() const { return Right <= Left || Bottom <= Top; }
    std::int64_t Area() const {
        return Empty() ? 0 : static_cast<std::int64_t>(Right - Left) * (Bottom - Top);
    }
    bool operator==(const TSkinRect&) const = default;
};

// The common part of two rectangles; an empty rectangle when they do not meet.
TSkinRect IntersectSkinRect(const TSkinRect& a, const TSkinRect& b);

// What can be seen of a thing of width x height placed at (x, y) on a surface of which only
// `visible` can be seen (surface coordinates): the rectangle in the thing's own coordinates,
// empty when none of it shows.
TSkinRect VisibleSkinRect(const TSkinRect& visible, int x, int y, int width, int height);

// The tiles of an edge line: a piece `tile` long is repeated at k * tile for k = 0, 1, ... while
// (k + 1) * tile < length, so that the last place is left to the corner. The range of k whose
// tiles meet [visibleStart, visibleEnd) along the line: First <= k < End.
struct TSkinTileRange {
    int First = 0;
    int End = 0;
    bool operator==(const TSkinTileRange&) const = default;
};
TSkinTileRange VisibleSkinTiles(int length, int tile, int visibleStart, int visibleEnd);

// Where the pieces of a frame go on a part of width x height: edge e (Line_L, Line_T, Line_R,
// Line_B, Corner_LT, Corner_RT, Corner_LB, Corner_RB) of pieceWidth x pieceHeight, tile k (0 for
// a corner).
TSkinRect SkinEdgePiece(int edge, int k, int width, int height, int pieceWidth, int pieceHeight);

// What the composer learns of a bitmap name before it decodes it.
struct TSkinBitmapProbe {
    enum TKind {
        Loadable, // the header is acceptable (or the library has the picture): Width x Height
        Missing,  // no such file or library picture: the part is skipped
        Invalid,  // the composition ends with Error
    };
    TKind Kind = Missing;
    int Width = 0;
    int Height = 0;
    std::string Error;
};
using TSkinBitmapProber = std::function<TSkinBitmapProbe(const std::string& name)>;

// One picture part of TSkinDefinition::Parts in the plan.
struct TSkinPartPlan {
    bool Drawn = false; // reached, ready, some of it visible and drawn onto its parent
    int X = 0, Y = 0;   // its place on its parent
    int Width = 0, Height = 0;
    TSkinRect Visible; // in its own coordinates; only this piece of it is made
    // The sizes of the frame's pieces that load and show; 0 x 0 for the others.
    std::array<std::array<int, 2>, 8> Edges{};
};

struct TSkinMarkPlan {
    bool Loaded = false;
    int Left = 0, Top = 0;
    int Width = 0, Height = 0; // of one frame
    int LoadedHeight = 0;      // of the bitmap: two frames stacked
};

struct TSkinPlan {
    bool Ok = false;
    std::string Error;         // why the skin is refused, naming what was too large or at fault
    int Width = 0, Height = 0; // of the window
    bool Background = false;   // the background bitmap loads and shows, at (BackgroundX, Y)
    int BackgroundX = 0, BackgroundY = 0;
    std::vector<TSkinPartPlan> Parts; // one per TSkinDefinition::Parts
    std::array<TSkinMarkPlan, 4> Marks;
    std::int64_t BitmapPixels = 0; // counted so far (all, for an Ok plan)
    std::int64_t DrawPixels = 0;
};

// Plans a definition that read Ok, in the composition's sequence (background, parts depth
// first, marks), asking probe about each bitmap name a visible part needs. The first fault ends
// the plan: an Invalid bitmap, a malformed position, an invalid recolouring, a limit passed.
TSkinPlan PlanSkin(const TSkinDefinition& skin, const TSkinBitmapProber& probe);

// The name of a bitmap for the user: the file's path, or the library picture's name.
std::string SkinBitmapPath(const TSkinDefinition& skin, const std::string& name);
