#include "menu/SkinCompose.h"

#include "menu/SkinBitmapHeader.h"
#include "menu/SkinComposeShared.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// ---- Pixel access -----------------------------------------------------------------------------

const TMemoryBitmap& As24(const TMemoryBitmap& bitmap, TMemoryBitmap& copy) {
    if (bitmap.Empty() || TPixels(bitmap).Bits) return bitmap;
    if (copy.Create24(bitmap.Width, bitmap.Height))
        BitBlt(copy.Dc(), 0, 0, bitmap.Width, bitmap.Height, bitmap.Dc(), 0, 0, SRCCOPY);
    return copy;
}

void FillRectangle(TMemoryBitmap& bitmap, int left, int top, int right, int bottom,
                   std::uint32_t color) {
    TPixels pixels(bitmap);
    if (!pixels.Bits) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, pixels.Width);
    bottom = std::min(bottom, pixels.Height);
    const COLORREF resolved = ResolveColor(color);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* p = pixels.Row(y) + left * 3;
        for (int x = left; x < right; ++x, p += 3)
            TPixels::Set(p, resolved);
    }
}

void Fill(TMemoryBitmap& bitmap, std::uint32_t color) {
    FillRectangle(bitmap, 0, 0, bitmap.Width, bitmap.Height, color);
}

void Draw(TMemoryBitmap& target, int x, int y, const TMemoryBitmap& source) {
    if (target.Empty() || source.Empty()) return;
    BitBlt(target.Dc(), x, y, source.Width, source.Height, source.Dc(), 0, 0, SRCCOPY);
}

namespace {

// CreateMask for a loaded mark: the right half of each frame shows the frame over the background.
bool ComposeMark(const TMemoryBitmap& background, TSkinMarkPicture& mark) {
    const int w = mark.Width, loadedHeight = mark.Frames.Height;
    if (!mark.Composed.Create24(2 * w, loadedHeight + mark.Height)) return false;
    Draw(mark.Composed, 0, 0, mark.Frames);
    if (!mark.Transparent) {
        Draw(mark.Composed, w, 0, mark.Frames);
        return true;
    }
    const COLORREF clear = ResolveColor(mark.TransparentColor);
    TPixels frames(mark.Frames), composed(mark.Composed), under(background);
    if (!frames.Bits || !composed.Bits) return false;
    const int frameRows = 2 * mark.Height; // two frames
    for (int row = 0; row < frameRows && row < loadedHeight; ++row) {
        const int by = mark.Top + row % std::max(mark.Height, 1);
        const std::uint8_t* from = frames.Row(row);
        std::uint8_t* to = composed.Row(row) + w * 3;
        for (int col = 0; col < w; ++col, from += 3, to += 3) {
            COLORREF color = TPixels::Get(from);
            if (color == clear) {
                const int bx = mark.Left + col;
                color = 0;
                if (under.Bits && bx >= 0 && by >= 0 && bx < under.Width && by < under.Height)
                    color = TPixels::Get(under.Row(by) + bx * 3);
            }
            TPixels::Set(to, color);
        }
    }
    // The mask: one bit a pixel, rows padded to 16 bits as CreateBitmap takes them.
    const int maskStride = ((w + 15) / 16) * 2;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(maskStride) * loadedHeight, 0);
    for (int row = 0; row < loadedHeight; ++row) {
        const std::uint8_t* from = frames.Row(row);
        for (int col = 0; col < w; ++col, from += 3)
            if (TPixels::Get(from) == clear)
                bits[static_cast<std::size_t>(row) * maskStride + col / 8] |=
                    static_cast<std::uint8_t>(0x80 >> (col % 8));
    }
    mark.Mask.Reset(CreateBitmap(w, loadedHeight, 1, 1, bits.data()));
    return static_cast<bool>(mark.Mask);
}

// The picture the palette is taken from: the background with the marks' composed frames below.
bool PaletteSource(const TSkinDefinition& skin, const TSkinPicture& picture,
                   TMemoryBitmap& source) {
    const TMemoryBitmap& b = picture.Background;
    int height = b.Height;
    for (const TSkinMarkPicture& mark : picture.Marks)
        if (mark.Loaded) height += mark.Composed.Height;
    if (!source.Create24(b.Width, height)) return false;
    Fill(source, SkinPixel(b, 0, 0));
    Draw(source, 0, 0, b);
    int top = b.Height;
    for (const TSkinMarkPicture& mark : picture.Marks) {
        if (!mark.Loaded) continue;
        BitBlt(source.Dc(), 0, top, mark.Width, mark.Composed.Height, mark.Composed.Dc(),
               mark.Width, 0, SRCCOPY);
        top += mark.Composed.Height;
    }
    const int markWidth = picture.Marks[0].Loaded ? picture.Marks[0].Width : 0;
    FillRectangle(source, markWidth, b.Height, b.Width, b.Height + 4, skin.NormalColor);
    FillRectangle(source, markWidth, b.Height + 4, b.Width, b.Height + 8, skin.SelectColor);
    return true;
}

// ---- The palette quantiser ------------------------------------------------------------------

struct TColorCell {
    int Channel[3]; // red, green, blue
    std::uint32_t Count;
};

void SplitCells(std::vector<TColorCell>::iterator first, std::vector<TColorCell>::iterator end,
                int depth, std::vector<PALETTEENTRY>& palette) {
    if (first == end) return;
    double total = 0, sum[3] = {}, squares[3] = {};
    for (auto cell = first; cell != end; ++cell) {
        total += cell->Count;
        for (int c = 0; c < 3; ++c) {
            sum[c] += static_cast<double>(cell->Channel[c]) * cell->Count;
            squares[c] += static_cast<double>(cell->Channel[c]) * cell->Channel[c] * cell->Count;
        }
    }
    double mean[3], variance[3];
    for (int c = 0; c < 3; ++c) {
        mean[c] = sum[c] / total;
        variance[c] = squares[c] / total - mean[c] * mean[c];
    }
    if (depth == 8) {
        PALETTEENTRY entry{};
        entry.peRed = static_cast<BYTE>(mean[0] + 0.5);
        entry.peGreen = static_cast<BYTE>(mean[1] + 0.5);
        entry.peBlue = static_cast<BYTE>(mean[2] + 0.5);
        palette.push_back(entry);
        return;
    }
    const double r = variance[0], g = variance[1], b = variance[2];
    int channel = 0;
    if (4 * g > 3 * r || 2 * b > 3 * r) {
        channel = 1;
        if (3 * r > 4 * g || 2 * b > 3 * g) channel = 2;
    }
    const double pivot = mean[channel];
    auto upper = std::partition(
        first, end, [&](const TColorCell& cell) { return cell.Channel[channel] <= pivot; });
    SplitCells(upper, end, depth + 1, palette);
    SplitCells(first, upper, depth + 1, palette);
}

} // namespace

// ---- Bitmap files -----------------------------------------------------------------------------

TSkinBitmapLoad ProbeSkinBitmap(const std::string& path, int& width, int& height,
                                std::string& error) {
    width = height = 0;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TSkinBitmapLoad::Missing;
    LARGE_INTEGER size{};
    std::uint8_t header[SkinBitmapHeaderBytes] = {};
    DWORD got = 0;
    const bool read =
        GetFileSizeEx(file, &size) && ReadFile(file, header, sizeof header, &got, nullptr) != FALSE;
    CloseHandle(file);
    if (!read) {
        error = SkinBitmapError(path, "ファイルを読み取れません。");
        return TSkinBitmapLoad::Invalid;
    }
    const TSkinBitmapHeader checked =
        CheckSkinBitmapHeader(header, got, static_cast<std::uint64_t>(size.QuadPart));
    if (!checked.Fault.empty()) {
        error = SkinBitmapError(path, checked.Fault);
        return TSkinBitmapLoad::Invalid;
    }
    width = checked.Width;
    height = checked.Height;
    return TSkinBitmapLoad::Loaded;
}

TSkinBitmapLoad LoadSkinBitmap(const std::string& path, TMemoryBitmap& bitmap, std::string& error) {
    bitmap.Free();
    int width = 0, height = 0;
    const TSkinBitmapLoad probe = ProbeSkinBitmap(path, width, height, error);
    if (probe != TSkinBitmapLoad::Loaded) return probe;
    TGdiObject<HBITMAP> loaded(static_cast<HBITMAP>(LoadImageA(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!loaded) {
        error = SkinBitmapError(path, "システムが画像として読み取れませんでした。");
        return TSkinBitmapLoad::Invalid;
    }
    if (!bitmap.Assign24(loaded.Get()) || bitmap.Empty()) {
        bitmap.Free();
        error = SkinBitmapError(path, "画像を読み込むメモリが足りません。");
        return TSkinBitmapLoad::Invalid;
    }
    return TSkinBitmapLoad::Loaded;
}
// ---- Pixels -----------------------------------------------------------------------------------

COLORREF SkinPixel(const TMemoryBitmap& bitmap, int x, int y) {
    TPixels pixels(bitmap);
    if (!pixels.Bits || x < 0 || y < 0 || x >= pixels.Width || y >= pixels.Height)
        return CLR_INVALID;
    return TPixels::Get(pixels.Row(y) + x * 3);
}

void SwapColorBitmap(TMemoryBitmap& bitmap, std::uint32_t from1, std::uint32_t to1,
                     std::uint32_t from2, std::uint32_t to2) {
    TPixels pixels(bitmap);
    if (!pixels.Bits) return;
    const COLORREF f1 = ResolveColor(from1), t1 = ResolveColor(to1);
    const COLORREF f2 = ResolveColor(from2), t2 = ResolveColor(to2);
    for (int y = 0; y < pixels.Height; ++y) {
        std::uint8_t* p = pixels.Row(y);
        for (int x = 0; x < pixels.Width; ++x, p += 3) {
            const COLORREF c = TPixels::Get(p);
            if (c == f1)
                TPixels::Set(p, t1);
            else if (c == f2)
                TPixels::Set(p, t2);
        }
    }
}

void SwapColor(TMemoryBitmap& bitmap, std::uint32_t from, std::uint32_t to) {
    SwapColorBitmap(bitmap, from, to, from, to);
}

void DrawTransparent(TMemoryBitmap& target, int x, int y, const TMemoryBitmap& source,
                     std::uint32_t transparentColor) {
    TPixels to(target), from(source);
    if (!to.Bits || !from.Bits) return;
    const COLORREF clear = ResolveColor(transparentColor);
    const int left = std::max(0, -x), right = std::min(from.Width, to.Width - x);
    const int top = std::max(0, -y), bottom = std::min(from.Height, to.Height - y);
    for (int sy = top; sy < bottom; ++sy) {
        const std::uint8_t* s = from.Row(sy) + left * 3;
        std::uint8_t* d = to.Row(sy + y) + (left + x) * 3;
        for (int sx = left; sx < right; ++sx, s += 3, d += 3)
            if (TPixels::Get(s) != clear) std::memcpy(d, s, 3);
    }
}
HPALETTE PaletteFromBitmap(HBITMAP bitmap) {
    TMemoryBitmap copy;
    if (!copy.Assign24(bitmap)) return nullptr;
    return PaletteFromBitmap(copy);
}

HPALETTE PaletteFromBitmap(const TMemoryBitmap& bitmap) {
    TMemoryBitmap copy;
    TPixels pixels(As24(bitmap, copy));
    if (!pixels.Bits) return nullptr;
    constexpr std::size_t Cells = 65536;
    std::vector<std::uint32_t> counts(Cells, 0);
    std::vector<std::uint32_t> low(Cells * 3, 0); // sums of the bits below each cell
    for (int y = 0; y < pixels.Height; ++y) {
        const std::uint8_t* p = pixels.Row(y);
        for (int x = 0; x < pixels.Width; ++x, p += 3) {
            const int b = p[0], g = p[1], r = p[2];
            const std::size_t cell = (r / 8) * 2048 + (g / 4) * 32 + b / 8;
            ++counts[cell];
            low[cell * 3] += r % 8;
            low[cell * 3 + 1] += g % 4;
            low[cell * 3 + 2] += b % 8;
        }
    }
    std::vector<TColorCell> cells;
    for (std::size_t cell = 0; cell < Cells; ++cell) {
        const std::uint32_t n = counts[cell];
        if (n == 0) continue;
        cells.push_back({{static_cast<int>(low[cell * 3] / n + (cell / 2048) * 8),
                          static_cast<int>(low[cell * 3 + 1] / n + (cell / 32 % 64) * 4),
                          static_cast<int>(low[cell * 3 + 2] / n + (cell % 32) * 8)},
                         n});
    }
    std::vector<PALETTEENTRY> entries;
    SplitCells(cells.begin(), cells.end(), 0, entries);
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY), 0);
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), palette->palPalEntry);
    return CreatePalette(palette);
}

// ---- The composition --------------------------------------------------------------------------

// A copy selected into no device context, which the control's setters can select themselves.
TGdiObject<HBITMAP> LooseBitmapCopy(const TMemoryBitmap& bitmap) {
    TMemoryBitmap copy;
    TPixels from(As24(bitmap, copy));
    if (!from.Bits) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = from.Width;
    info.bmiHeader.biHeight = from.BottomUp ? from.Height : -from.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TGdiObject<HBITMAP> loose(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (loose && bits)
        std::memcpy(bits, from.Bits, static_cast<std::size_t>(from.Stride) * from.Height);
    return loose;
}


HPALETTE CopyPalette(HPALETTE palette) {
    if (!palette) return nullptr;
    const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    if (count == 0) return nullptr;
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* copy = reinterpret_cast<LOGPALETTE*>(block.data());
    copy->palVersion = 0x300;
    copy->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(palette, 0, count, copy->palPalEntry);
    return CreatePalette(copy);
}

namespace {
// The bitmap stretched to the size: smoothly for a picture, pixel by pixel for frames whose
// transparent colour must stay exact.
bool StretchInto(TMemoryBitmap& target, const TMemoryBitmap& source, int width, int height,
                 bool smooth) {
    if (source.Empty() || width <= 0 || height <= 0) return false;
    if (!target.Create24(width, height)) return false;
    SetStretchBltMode(target.Dc(), smooth ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(target.Dc(), 0, 0, nullptr);
    return StretchBlt(target.Dc(), 0, 0, width, height, source.Dc(), 0, 0, source.Width,
                      source.Height, SRCCOPY) != FALSE;
}
} // namespace
std::unique_ptr<TSkinPicture> ScaleSkinPicture(const TSkinPicture& design, int dpi) {
    auto scaled = std::make_unique<TSkinPicture>();
    if (!StretchInto(scaled->Background, design.Background, ScaleToDpi(design.Width(), dpi),
                     ScaleToDpi(design.Height(), dpi), true))
        return nullptr;
    for (std::size_t k = 0; k < design.Marks.size(); ++k) {
        const TSkinMarkPicture& from = design.Marks[k];
        TSkinMarkPicture& to = scaled->Marks[k];
        if (!from.Loaded) continue;
        to.Left = ScaleToDpi(from.Left, dpi);
        to.Top = ScaleToDpi(from.Top, dpi);
        to.Width = std::max(ScaleToDpi(from.Width, dpi), 1);
        to.Height = std::max(ScaleToDpi(from.Height, dpi), 1);
        to.Transparent = from.Transparent;
        to.TransparentColor = from.TransparentColor;
        // The two frames stay stacked, each of the scaled height.
        to.Loaded = StretchInto(to.Frames, from.Frames, to.Width, 2 * to.Height, false);
    }
    scaled->Palette.Reset(CopyPalette(design.Palette.Get()));
    return scaled;
}

TSkinComposeResult ComposeSkin(const TSkinDefinition& skin, const TSkinLibraryImages& library) {
    TSkinComposeResult result;
    // Whatever was made so far goes with the picture.
    auto fail = [&result](std::string error) {
        result.Error = std::move(error);
        result.Picture.reset();
        return std::move(result);
    };
    if (!skin.Ok)
        return fail(skin.Error.empty() ? "背景の設定を読み込めませんでした。" : skin.Error);
    // Nothing is made before the whole is known to fit.
    const TSkinPlan plan = PlanSkin(skin, SkinBitmapProber(skin, library));
    if (!plan.Ok) return fail(plan.Error);
    result.Picture = std::make_unique<TSkinPicture>();
    TSkinPicture& picture = *result.Picture;
    TMemoryBitmap& background = picture.Background;
    if (!background.Create24(plan.Width, plan.Height))
        return fail("背景を作るメモリが足りません。");
    Fill(background, skin.Color);

    std::string error;
    if (plan.Background) {
        TMemoryBitmap bitmap;
        const TSkinBitmapLoad load = LoadNamed(skin, skin.Bitmap, bitmap, error, library);
        if (load == TSkinBitmapLoad::Invalid) return fail(error);
        if (load == TSkinBitmapLoad::Loaded)
            Draw(background, plan.BackgroundX, plan.BackgroundY, bitmap);
    }

    if (!ComposeParts(skin, plan, background, error, library)) return fail(error);

    for (std::size_t k = 0; k < skin.Marks.size(); ++k) {
        const TSkinMark& from = skin.Marks[k];
        const TSkinMarkPlan& planned = plan.Marks[k];
        TSkinMarkPicture& mark = picture.Marks[k];
        if (!planned.Loaded) continue;
        const TSkinBitmapLoad load = LoadNamed(skin, from.Bitmap, mark.Frames, error, library);
        if (load == TSkinBitmapLoad::Invalid) return fail(error);
        if (load != TSkinBitmapLoad::Loaded) continue;
        mark.Width = mark.Frames.Width;
        mark.Height = mark.Frames.Height / 2;
        mark.Left = planned.Left;
        mark.Top = planned.Top;
        mark.Transparent = from.Transparent;
        mark.TransparentColor = from.TransparentColor.value_or(0);
        if (!ComposeMark(background, mark))
            return fail(
                std::string(1, '[').append(from.Section).append("] を作るメモリが足りません。"));
        mark.Loaded = true;
    }

    TMemoryBitmap source;
    if (!PaletteSource(skin, picture, source)) return fail("パレットを作るメモリが足りません。");
    picture.Palette.Reset(PaletteFromBitmap(source));
    if (!picture.Palette) return fail("システムがパレットを作れませんでした。");

    if (skin.Transparent) {
        picture.Region.Reset(BitmapToRegion(background, skin.TransparentColor));
        if (!picture.Region) return fail("システムがウィンドウの形を作れませんでした。");
    }
    result.Ok = true;
    return result;
}
