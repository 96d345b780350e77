#pragma once
// Turns a skin definition (SkinDefinition.h) into GDI objects: the window picture composed from
// the background and the picture parts, the page marks' frames composed over it with their masks,
// the palette of the result and, for a shaped skin, the window region.
//
// Every object made here is owned by a TSkinPicture until it is handed on; a composition that
// fails frees whatever it had made and says why in a Japanese text for the user, naming the file,
// the section and key, or the value at fault. Bitmap files come from downloaded skins, so their
// headers are checked before the system reads them, and the whole composition is planned and
// counted (SkinPlan.h) before anything is made: only what shows in the window is made.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "menu/GdiBitmap.h"
#include "menu/MenuScale.h"
#include "menu/SkinDefinition.h"

// Owns one GDI object (bitmap, region, palette) and deletes it at the end unless released.
template <class THandle> class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(THandle handle) : FHandle(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : FHandle(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    THandle Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    // The caller owns the object from now on.
    THandle Release() {
        THandle handle = FHandle;
        FHandle = nullptr;
        return handle;
    }
    void Reset(THandle handle = nullptr) {
        if (FHandle) DeleteObject(FHandle);
        FHandle = handle;
    }

private:
    THandle FHandle = nullptr;
};

// ---- Bitmap files ---------------------------------------------------------------------------

enum class TSkinBitmapLoad {
    Loaded,  // the bitmap holds the picture at 24 bits per pixel
    Missing, // the file cannot be opened (or the name is a library image): the part is skipped
    Invalid, // the file opens but is not a bitmap we accept: the composition ends
};

// Reads a BMP file into a 24 bits-per-pixel bitmap. The header is checked first
// (CheckSkinBitmapHeader). An Invalid result names the file and the fault in error; the bitmap is
// then empty.
TSkinBitmapLoad LoadSkinBitmap(const std::string& path, TMemoryBitmap& bitmap, std::string& error);
// Reads and checks only the header: Loaded with the size it declares, or Missing, or Invalid.
TSkinBitmapLoad ProbeSkinBitmap(const std::string& path, int& width, int& height,
                                std::string& error);

// ---- Pixels ---------------------------------------------------------------------------------

// Recolours a 24 bits-per-pixel bitmap in place (colours resolved): a pixel of from1 becomes to1,
// otherwise a pixel of from2 becomes to2. SwapColor does the same with one pair.
void SwapColorBitmap(TMemoryBitmap& bitmap, std::uint32_t from1, std::uint32_t to1,
                     std::uint32_t from2, std::uint32_t to2);
void SwapColor(TMemoryBitmap& bitmap, std::uint32_t from, std::uint32_t to);

// Copies source onto target at (x, y), clipped to the target, leaving out the source's pixels
// of the transparent colour (resolved). Both are 24 bits per pixel.
void DrawTransparent(TMemoryBitmap& target, int x, int y, const TMemoryBitmap& source,
                     std::uint32_t transparentColor);

// The pixel at (x, y) of a 24 bits-per-pixel bitmap as 0x00BBGGRR; CLR_INVALID outside.
COLORREF SkinPixel(const TMemoryBitmap& bitmap, int x, int y);

// The region of every pixel of the bitmap whose colour is not exactly the given one (not
// resolved: a system colour matches nothing). Built from one-pixel-high runs, SkinRegionBatch
// rectangles per system call, the batches' regions merged in pairs. nullptr only when the system
// refuses. The HBITMAP forms take a bitmap that is not selected into any device context.
// A batch could hold up to 4000 rectangles, but some implementations of the system call add the
// rectangles one by one at a cost that grows with the square of the batch (under Wine a batch of
// 4000 takes about 23 ms, one of 250 well under 1 ms). Measured under Wine on a 1920 x 1080
// checkerboard of single pixels (a million runs): 8 s with batches of 4000 merged one after
// another into the result, 1.7 s with 1024 merged in pairs, 0.4 s with 128 merged in pairs.
// make stands for ExtCreateRegion (tests give one that fails); when it or a merge fails, the
// result is nullptr.
inline constexpr int SkinRegionBatch = 128;
using TRegionFromRects = std::function<HRGN(const RGNDATA* data, DWORD size)>;
HRGN BitmapToRegion(const TMemoryBitmap& bitmap, std::uint32_t color,
                    const TRegionFromRects& make = {});
HRGN BitmapToRegion(HBITMAP bitmap, std::uint32_t color, const TRegionFromRects& make = {});

// A palette of at most 256 colours for the bitmap, by splitting the colour cells of a 5-6-5
// histogram along the channel of the largest spread, eight levels deep. A picture of one colour
// gives one entry. nullptr for an empty bitmap.
HPALETTE PaletteFromBitmap(const TMemoryBitmap& bitmap);
HPALETTE PaletteFromBitmap(HBITMAP bitmap);

// ---- The composition ------------------------------------------------------------------------

// The skin library's picture of a name (a name without "."): a new bitmap, which the composer
// then owns and deletes, or nullptr when the library has none.
using TSkinLibraryImages = std::function<HBITMAP(const std::string& name)>;

// One page mark: its loaded frames (two frames stacked) and, beside each frame, the frame over
// the composed background (CreateMask's right half), with the mask of its transparent colour.
struct TSkinMarkPicture {
    bool Loaded = false; // false: the mark keeps what it had from an earlier skin
    int Left = 0;
    int Top = 0;
    int Width = 0;  // of one frame
    int Height = 0; // of one frame: the loaded bitmap's height / 2
    bool Transparent = false;
    std::uint32_t TransparentColor = 0;
    // Width x loaded height: the bitmap as loaded.
    TMemoryBitmap Frames;
    // 2 x Width wide, loaded height + Height high: left half the loaded frames, right half
    // each frame composed over the background (transparent pixels show the background).
    TMemoryBitmap Composed;
    // Monochrome, Width x loaded height: white where the loaded frames have the transparent
    // colour, black elsewhere. Made for transparent marks only.
    TGdiObject<HBITMAP> Mask;
};

class TSkinPicture {
public:
    TMemoryBitmap Background; // the window picture, 24 bits per pixel
    std::array<TSkinMarkPicture, 4> Marks;
    TGdiObject<HPALETTE> Palette;
    // Made for a shaped skin only. Once SetWindowRgn has taken it, the system owns it: use
    // ApplyRegion, or Release it before handing it over yourself.
    TGdiObject<HRGN> Region;

    int Width() const { return Background.Width; }
    int Height() const { return Background.Height; }
    // Gives the region to the window; on success the region belongs to the window.
    bool ApplyRegion(HWND window, bool repaint = true);
};

struct TSkinComposeResult {
    bool Ok = false;
    std::string Error;                     // why the composition ended, when not Ok
    std::unique_ptr<TSkinPicture> Picture; // null when not Ok
};

// Composes the picture of a definition that read Ok: the background colour and bitmap, the
// "Option-" parts with their children, the marks, the palette and, when the definition is
// transparent, the region. Bitmap names are relative to skin.Folder; names without "." are
// pictures of the skin library, asked of library (a part whose picture neither gives is
// skipped). A skin beyond the limits of SkinPlan.h is refused before anything is made. A failed
// result owns nothing.
TSkinComposeResult ComposeSkin(const TSkinDefinition& skin, const TSkinLibraryImages& library = {});

// A copy of a palette (nullptr for none).
HPALETTE CopyPalette(HPALETTE palette);
// The picture of a composition at a display scale (MenuScale.h): the background stretched
// smoothly, the marks' places and frames pixel by pixel (their transparent colour stays exact),
// the palette copied; no region (ScaleRegion). nullptr when the system refuses the bitmaps.
std::unique_ptr<TSkinPicture> ScaleSkinPicture(const TSkinPicture& design, int dpi);
// A new region of the design region's rectangles at the scale; nullptr for none.
HRGN ScaleRegion(HRGN region, int dpi);
// A 24-bit copy of the bitmap selected into no device context, which a control's setters can
// select themselves; empty when the system refuses it.
TGdiObject<HBITMAP> LooseBitmapCopy(const TMemoryBitmap& bitmap);

// Takes the region off the window; the system frees it.
void ReleaseSkinRegion(HWND window);
