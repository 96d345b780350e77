// The picture parts of a skin on GDI, as the plan (SkinPlan.h) places and clips them: each part
// is made only as large as the piece of it that shows, its children and frame are drawn onto that
// piece, and the piece is drawn onto its parent.
#include "menu/SkinBitmapHeader.h"
#include "menu/SkinComposeShared.h"

TSkinBitmapLoad LoadNamed(const TSkinDefinition& skin, const std::string& name,
                          TMemoryBitmap& bitmap, std::string& error,
                          const TSkinLibraryImages& library) {
    if (name.find('.') == std::string::npos) {
        bitmap.Free();
        if (!library) return TSkinBitmapLoad::Missing;
        const TGdiObject<HBITMAP> given(library(name));
        return given && bitmap.Assign24(given.Get()) && !bitmap.Empty() ? TSkinBitmapLoad::Loaded
                                                                        : TSkinBitmapLoad::Missing;
    }
    return LoadSkinBitmap(SkinBitmapPath(skin, name), bitmap, error);
}

TSkinBitmapProber SkinBitmapProber(const TSkinDefinition& skin, const TSkinLibraryImages& library) {
    return [&skin, &library](const std::string& name) {
        TSkinBitmapProbe probe;
        if (name.find('.') == std::string::npos) {
            if (!library) return probe;
            const TGdiObject<HBITMAP> given(library(name));
            BITMAP info{};
            if (given && GetObjectA(given.Get(), sizeof info, &info) == sizeof info) {
                probe.Kind = TSkinBitmapProbe::Loadable;
                probe.Width = info.bmWidth;
                probe.Height = info.bmHeight;
            }
            return probe;
        }
        const std::string path = SkinBitmapPath(skin, name);
        int width = 0, height = 0;
        switch (ProbeSkinBitmap(path, width, height, probe.Error)) {
        case TSkinBitmapLoad::Loaded:
            probe.Kind = TSkinBitmapProbe::Loadable;
            probe.Width = width;
            probe.Height = height;
            break;
        case TSkinBitmapLoad::Invalid:
            probe.Kind = TSkinBitmapProbe::Invalid;
            break;
        case TSkinBitmapLoad::Missing:
            break;
        }
        return probe;
    };
}

namespace {

// The piece of a part that shows: the loaded picture cut to it (the picture itself when all of it
// shows), or a plain part's colour.
bool MakePiece(const TSkinDefinition& skin, const TSkinPart& part, const TSkinPartPlan& plan,
               TMemoryBitmap& piece, std::string& error, const TSkinLibraryImages& library,
               bool& ready) {
    const TSkinRect& seen = plan.Visible;
    const int width = seen.Right - seen.Left, height = seen.Bottom - seen.Top;
    ready = false;
    if (part.Bitmap.empty()) {
        if (!part.Color) return true;
        if (!piece.Create24(width, height)) {
            error = std::string(1, '[').append(part.Section).append("] を作るメモリが足りません。");
            return false;
        }
        Fill(piece, *part.Color);
        ready = true;
        return true;
    }
    TMemoryBitmap picture;
    const TSkinBitmapLoad load = LoadNamed(skin, part.Bitmap, picture, error, library);
    if (load == TSkinBitmapLoad::Invalid) return false;
    if (load != TSkinBitmapLoad::Loaded) return true;
    if (part.Recolour) {
        const auto& c = part.RecolourColors;
        SwapColorBitmap(picture, c[0], c[1], c[2], c[3]);
    }
    ready = true;
    if (seen == TSkinRect{0, 0, picture.Width, picture.Height}) {
        piece.Swap(picture);
        return true;
    }
    if (!piece.Create24(width, height)) {
        error = std::string(1, '[').append(part.Section).append("] を作るメモリが足りません。");
        return false;
    }
    BitBlt(piece.Dc(), 0, 0, width, height, picture.Dc(), seen.Left, seen.Top, SRCCOPY);
    return true;
}

// The frame's pieces that show, drawn onto the part's piece.
bool DrawFrame(const TSkinDefinition& skin, const TSkinPart& part, const TSkinPartPlan& plan,
               TMemoryBitmap& piece, std::string& error, const TSkinLibraryImages& library) {
    const TSkinRect& seen = plan.Visible;
    TMemoryBitmap edge;
    for (int e = 0; e < 8; ++e) {
        const auto [w, h] = plan.Edges[static_cast<std::size_t>(e)];
        if (w <= 0 || h <= 0) continue;
        const TSkinBitmapLoad load =
            LoadNamed(skin, part.Edges[static_cast<std::size_t>(e)], edge, error, library);
        if (load == TSkinBitmapLoad::Invalid) return false;
        if (load != TSkinBitmapLoad::Loaded || edge.Empty()) continue;
        TSkinTileRange tiles{0, 1};
        if (e == 0 || e == 2)
            tiles = VisibleSkinTiles(plan.Height, h, seen.Top, seen.Bottom);
        else if (e == 1 || e == 3)
            tiles = VisibleSkinTiles(plan.Width, w, seen.Left, seen.Right);
        for (int k = tiles.First; k < tiles.End; ++k) {
            const TSkinRect at = SkinEdgePiece(e, k, plan.Width, plan.Height, w, h);
            if (IntersectSkinRect(seen, at).Empty()) continue;
            const int x = at.Left - seen.Left, y = at.Top - seen.Top;
            if (part.FrameTransparent)
                DrawTransparent(piece, x, y, edge, part.FrameTransparentColor);
            else
                Draw(piece, x, y, edge);
        }
    }
    return true;
}

// CreateSkin: one part onto the piece of its parent that shows, whose top-left is (originX,
// originY) in the parent's coordinates.
bool CreateSkin(const TSkinDefinition& skin, const TSkinPlan& plan, int index,
                TMemoryBitmap& target, int originX, int originY, std::string& error,
                const TSkinLibraryImages& library, int depth) {
    const TSkinPartPlan& planned = plan.Parts[static_cast<std::size_t>(index)];
    if (!planned.Drawn) return true;
    const TSkinPart& part = skin.Parts[static_cast<std::size_t>(index)];
    TMemoryBitmap piece;
    bool ready = false;
    if (!MakePiece(skin, part, planned, piece, error, library, ready)) return false;
    if (!ready) return true;
    const TSkinRect& seen = planned.Visible;
    if (depth < MaxSkinDepth)
        for (int child : part.Children) {
            if (child <= index || child >= static_cast<int>(skin.Parts.size())) continue;
            if (!CreateSkin(skin, plan, child, piece, seen.Left, seen.Top, error, library,
                            depth + 1))
                return false;
        }
    if (part.Frame && !DrawFrame(skin, part, planned, piece, error, library)) return false;
    const int x = planned.X + seen.Left - originX, y = planned.Y + seen.Top - originY;
    if (part.Transparent)
        DrawTransparent(target, x, y, piece, part.TransparentColor.value_or(0));
    else
        Draw(target, x, y, piece);
    return true;
}

} // namespace

bool ComposeParts(const TSkinDefinition& skin, const TSkinPlan& plan, TMemoryBitmap& background,
                  std::string& error, const TSkinLibraryImages& library) {
    for (int option : skin.Options)
        if (!CreateSkin(skin, plan, option, background, 0, 0, error, library, 0)) return false;
    return true;
}
