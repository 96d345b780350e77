#include "menu/SkinCompose.h"

#include "menu/listimage.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// ---- Pixel access -----------------------------------------------------------------------------

// The bits of a 24 bits-per-pixel device-independent section; Bits is null for anything else.
struct TPixels {
    std::uint8_t* Bits = nullptr;
    int Stride = 0;
    int Width = 0;
    int Height = 0;
    bool BottomUp = true;

    explicit TPixels(const TMemoryBitmap& bitmap) {
        if (bitmap.Empty()) return;
        DIBSECTION section{};
        if (GetObjectA(bitmap.Handle(), sizeof section, &section) != sizeof section) return;
        if (section.dsBm.bmBitsPixel != 24 || !section.dsBm.bmBits) return;
        GdiFlush(); // drawing still queued must reach the bits first
        Bits = static_cast<std::uint8_t*>(section.dsBm.bmBits);
        Stride = section.dsBm.bmWidthBytes;
        Width = section.dsBm.bmWidth;
        Height = section.dsBm.bmHeight;
        BottomUp = section.dsBmih.biHeight > 0;
    }
    std::uint8_t* Row(int y) const { return Bits + (BottomUp ? Height - 1 - y : y) * Stride; }
    static COLORREF Get(const std::uint8_t* p) {
        return static_cast<COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16));
    }
    static void Set(std::uint8_t* p, COLORREF c) {
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
    }
};

// The bitmap itself when its bits can be read, otherwise a 24 bits-per-pixel copy of it.
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

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

// The file named, then what is wrong with it.
std::string BitmapError(const std::string& path, const std::string& fault) {
    std::string error = "画像ファイル ";
    error += Quoted(path);
    error += " を読み込めませんでした。";
    error += fault;
    return error;
}

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t DWord(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
           (static_cast<std::uint32_t>(p[3]) << 24);
}

// The header checks of LoadSkinBitmap: an empty text when the header is acceptable.
std::string CheckBitmapHeader(const std::uint8_t* header, std::size_t got, std::uint64_t fileSize) {
    constexpr std::size_t FileHeader = 14;
    if (got < FileHeader + 12) return "ビットマップのヘッダーより短いファイルです。";
    if (header[0] != 'B' || header[1] != 'M')
        return "ビットマップファイルではありません (先頭が \"BM\" ではありません)。";
    const std::uint32_t offBits = DWord(header + 10);
    const std::uint32_t infoSize = DWord(header + 14);
    if (infoSize != 12 && (infoSize < 40 || infoSize > 124))
        return std::string("ヘッダーの大きさが ")
            .append(std::to_string(infoSize))
            .append(" バイトのビットマップには対応していません。");
    if (got < FileHeader + infoSize)
        return "ビットマップのヘッダーの途中でファイルが終わっています。";
    std::int64_t width = 0, height = 0;
    unsigned planes = 0, bitCount = 0;
    std::uint32_t compression = BI_RGB, imageSize = 0, colorsUsed = 0;
    const std::uint8_t* info = header + FileHeader;
    if (infoSize == 12) {
        width = Word(info + 4);
        height = Word(info + 6);
        planes = Word(info + 8);
        bitCount = Word(info + 10);
    } else {
        width = static_cast<std::int32_t>(DWord(info + 4));
        height = static_cast<std::int32_t>(DWord(info + 8));
        planes = Word(info + 12);
        bitCount = Word(info + 14);
        compression = DWord(info + 16);
        imageSize = DWord(info + 20);
        colorsUsed = DWord(info + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width < 1 || width > MaxSkinSize || height < 1 || height > MaxSkinSize) {
        std::string fault = "画像の大きさ ";
        fault.append(std::to_string(width)).append(" x ").append(std::to_string(height));
        fault.append(" は 1 から ").append(std::to_string(MaxSkinSize)).append(" の範囲外です。");
        return fault;
    }
    if (planes != 1) return "プレーン数が 1 ではありません。";
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return std::string("1 ピクセル ")
            .append(std::to_string(bitCount))
            .append(" ビットの画像には対応していません。");
    if (bitCount <= 8 && colorsUsed > (1u << bitCount)) return "カラーテーブルが長すぎます。";
    // The colour table (or the three masks of bit fields) follows the header.
    std::uint64_t table = 0;
    if (bitCount <= 8)
        table = (colorsUsed ? colorsUsed : 1u << bitCount) * (infoSize == 12 ? 3u : 4u);
    else if (compression == BI_BITFIELDS && infoSize == 40)
        table = 12;
    if (FileHeader + infoSize + table > fileSize)
        return "カラーテーブルの途中でファイルが終わっています。";
    if (offBits < FileHeader + infoSize || offBits > fileSize)
        return "画素データの位置がファイルの外を指しています。";
    const std::uint64_t available = fileSize - offBits;
    switch (compression) {
    case BI_RGB:
    case BI_BITFIELDS: {
        if (compression == BI_BITFIELDS && bitCount != 16 && bitCount != 32)
            return "ビットフィールド形式ですが、1 ピクセル 16 ビットでも 32 ビットでもありません。";
        const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
        const std::uint64_t needed = stride * static_cast<std::uint64_t>(height);
        if (needed > available) {
            std::string fault = "ファイルが途中で切れています。画素データに ";
            fault.append(std::to_string(needed)).append(" バイト要りますが、");
            fault.append(std::to_string(available)).append(" バイトしかありません。");
            return fault;
        }
        return {};
    }
    case BI_RLE8:
    case BI_RLE4:
        if ((compression == BI_RLE8 ? 8u : 4u) != bitCount || topDown)
            return "ランレングス圧縮は、この画像のビット数や上下の向きでは使えません。";
        if (imageSize == 0 || imageSize > available)
            return "圧縮された画素データが途中で切れています。";
        return {};
    default:
        return std::string("圧縮形式 ")
            .append(std::to_string(compression))
            .append(" には対応していません。");
    }
}

// Loads a bitmap name of the definition: joined with the skin folder; a name without "." is a
// picture of the skin library.
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
    std::string path = skin.Folder;
    path += name;
    return LoadSkinBitmap(path, bitmap, error);
}

std::string PositionError(const std::string& section, const char* key) {
    std::string error = "[";
    error += section;
    error += "] ";
    error += key;
    error += " の位置は \"-\" の後が数値ではありません。";
    return error;
}

bool CreatePart(const TSkinDefinition& skin, int index, TMemoryBitmap& target, int placeWidth,
                int placeHeight, std::string& error, int depth, const TSkinLibraryImages& library) {
    const TSkinPart& part = skin.Parts[static_cast<std::size_t>(index)];
    TMemoryBitmap picture;
    bool ready = false;
    if (!part.Bitmap.empty()) {
        const TSkinBitmapLoad load = LoadNamed(skin, part.Bitmap, picture, error, library);
        if (load == TSkinBitmapLoad::Invalid) return false;
        ready = load == TSkinBitmapLoad::Loaded;
        if (ready && part.Recolour) {
            if (!part.RecolourValid) {
                std::string text(1, '[');
                text.append(part.Section)
                    .append("] の置き換える色 (FromColor1, ToColor1, FromColor2, ToColor2) に、"
                            "ないものか色ではないものがあります。");
                error = std::move(text);
                return false;
            }
            const auto& c = part.RecolourColors;
            SwapColorBitmap(picture, c[0], c[1], c[2], c[3]);
        }
    } else if (part.Color) {
        if (!picture.Create24(part.Width, part.Height)) {
            error = std::string(1, '[').append(part.Section).append("] を作るメモリが足りません。");
            return false;
        }
        Fill(picture, *part.Color);
        ready = true;
    }
    if (!ready) return true;

    const std::optional<int> x = PlaceSkinPosition(part.Left, placeWidth, picture.Width);
    if (!x) {
        error = PositionError(part.Section, "Left");
        return false;
    }
    const std::optional<int> y = PlaceSkinPosition(part.Top, placeHeight, picture.Height);
    if (!y) {
        error = PositionError(part.Section, "Top");
        return false;
    }
    if (picture.Empty()) return true; // a plain part of no area: nothing to draw on or with

    // The reader never nests deeper than MaxSkinDepth nor lets a part name an ancestor; the
    // depth check keeps a hand-made record from recursing without end all the same.
    if (depth < MaxSkinDepth) {
        for (int child : part.Children) {
            if (child <= index || child >= static_cast<int>(skin.Parts.size())) continue;
            if (!CreatePart(skin, child, picture, picture.Width, picture.Height, error, depth + 1,
                            library))
                return false;
        }
    }

    if (part.Frame) {
        const int W = picture.Width, H = picture.Height;
        TMemoryBitmap edge;
        for (std::size_t e = 0; e < part.Edges.size(); ++e) {
            if (part.Edges[e].empty()) continue;
            const TSkinBitmapLoad load = LoadNamed(skin, part.Edges[e], edge, error, library);
            if (load == TSkinBitmapLoad::Invalid) return false;
            if (load != TSkinBitmapLoad::Loaded || edge.Empty()) continue;
            const int w = edge.Width, h = edge.Height;
            auto put = [&](int ex, int ey) {
                if (part.FrameTransparent)
                    DrawTransparent(picture, ex, ey, edge, part.FrameTransparentColor);
                else
                    Draw(picture, ex, ey, edge);
            };
            switch (e) {
            case 0: // Line_L
            case 2: // Line_R
                for (int k = 0; (k + 1) * h < H; ++k)
                    put(e == 0 ? 0 : W - w, k * h);
                break;
            case 1: // Line_T
            case 3: // Line_B
                for (int k = 0; (k + 1) * w < W; ++k)
                    put(k * w, e == 1 ? 0 : H - h);
                break;
            case 4:
                put(0, 0);
                break;
            case 5:
                put(W - w, 0);
                break;
            case 6:
                put(0, H - h);
                break;
            default:
                put(W - w, H - h);
                break;
            }
        }
    }

    if (part.Transparent) {
        if (part.TransparentColor) DrawTransparent(target, *x, *y, picture, *part.TransparentColor);
    } else {
        Draw(target, *x, *y, picture);
    }
    return true;
}

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

TSkinBitmapLoad LoadSkinBitmap(const std::string& path, TMemoryBitmap& bitmap, std::string& error) {
    bitmap.Free();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TSkinBitmapLoad::Missing;
    LARGE_INTEGER size{};
    std::uint8_t header[14 + 124] = {};
    DWORD got = 0;
    const bool read =
        GetFileSizeEx(file, &size) && ReadFile(file, header, sizeof header, &got, nullptr) != FALSE;
    CloseHandle(file);
    if (!read) {
        error = BitmapError(path, "ファイルを読み取れません。");
        return TSkinBitmapLoad::Invalid;
    }
    const std::string fault =
        CheckBitmapHeader(header, got, static_cast<std::uint64_t>(size.QuadPart));
    if (!fault.empty()) {
        error = BitmapError(path, fault);
        return TSkinBitmapLoad::Invalid;
    }
    TGdiObject<HBITMAP> loaded(static_cast<HBITMAP>(LoadImageA(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!loaded) {
        error = BitmapError(path, "システムが画像として読み取れませんでした。");
        return TSkinBitmapLoad::Invalid;
    }
    if (!bitmap.Assign24(loaded.Get()) || bitmap.Empty()) {
        bitmap.Free();
        error = BitmapError(path, "画像を読み込むメモリが足りません。");
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

HRGN BitmapToRegion(HBITMAP bitmap, std::uint32_t color) {
    TMemoryBitmap copy;
    if (!copy.Assign24(bitmap)) return nullptr;
    return BitmapToRegion(copy, color);
}

HRGN BitmapToRegion(const TMemoryBitmap& bitmap, std::uint32_t color) {
    TMemoryBitmap copy;
    TGdiObject<HRGN> result(CreateRectRgn(0, 0, 0, 0));
    if (!result) return nullptr;
    TPixels pixels(As24(bitmap, copy));
    if (!pixels.Bits) return bitmap.Empty() ? result.Release() : nullptr; // empty: nothing shows

    constexpr std::size_t HeaderSize = sizeof(RGNDATAHEADER);
    std::vector<std::uint8_t> data(HeaderSize + SkinRegionBatch * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    auto* rects = reinterpret_cast<RECT*>(data.data() + HeaderSize);
    DWORD count = 0;
    bool ok = true;
    std::vector<std::pair<TGdiObject<HRGN>, int>> pending; // regions and their merge levels
    auto flush = [&] {
        if (count == 0 || !ok) return;
        header->dwSize = HeaderSize;
        header->iType = RDH_RECTANGLES;
        header->nCount = count;
        header->nRgnSize = count * sizeof(RECT);
        header->rcBound = {0, 0, pixels.Width, pixels.Height};
        TGdiObject<HRGN> batch(
            ExtCreateRegion(nullptr, static_cast<DWORD>(HeaderSize + count * sizeof(RECT)),
                            reinterpret_cast<const RGNDATA*>(data.data())));
        count = 0;
        ok = static_cast<bool>(batch);
        if (!ok) return;
        // Merged in pairs of equal size, as a binary counter carries: every run is copied about
        // log2(batches) times instead of once per later batch.
        pending.push_back({std::move(batch), 0});
        while (ok && pending.size() >= 2 &&
               pending[pending.size() - 2].second == pending.back().second) {
            auto& into = pending[pending.size() - 2];
            ok = CombineRgn(into.first.Get(), into.first.Get(), pending.back().first.Get(),
                            RGN_OR) != ERROR;
            ++into.second;
            pending.pop_back();
        }
    };
    const COLORREF clear = static_cast<COLORREF>(color);
    for (int y = 0; y < pixels.Height && ok; ++y) {
        const std::uint8_t* row = pixels.Row(y);
        int x = 0;
        while (x < pixels.Width) {
            while (x < pixels.Width && TPixels::Get(row + x * 3) == clear)
                ++x;
            if (x == pixels.Width) break;
            const int start = x;
            while (x < pixels.Width && TPixels::Get(row + x * 3) != clear)
                ++x;
            if (count == SkinRegionBatch) flush();
            rects[count++] = {start, y, x, y + 1};
        }
    }
    flush();
    for (auto& part : pending)
        ok = ok && CombineRgn(result.Get(), result.Get(), part.first.Get(), RGN_OR) != ERROR;
    if (!ok) return nullptr;
    return result.Release();
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

bool TSkinPicture::ApplyRegion(HWND window, bool repaint) {
    if (!Region || !SetWindowRgn(window, Region.Get(), repaint)) return false;
    Region.Release(); // the window's now
    return true;
}

namespace {

// A copy selected into no device context, which the control's setters can select themselves.
TGdiObject<HBITMAP> LooseCopy(const TMemoryBitmap& bitmap) {
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

} // namespace

void InstallSkinPicture(TListImage& list, const TSkinDefinition& skin,
                        const TSkinPicture& picture) {
    for (std::size_t k = 0; k < picture.Marks.size(); ++k) {
        const TSkinMarkPicture& mark = picture.Marks[k];
        if (!mark.Loaded) continue;
        TPageImage& target = list.Mark(static_cast<int>(k));
        target.SetBounds(mark.Left, mark.Top, mark.Width, mark.Height);
        TGdiObject<HBITMAP> frames = LooseCopy(mark.Frames);
        list.SetMarkBitmap(static_cast<int>(k), frames.Get());
        target.SetImageCount(2);
        target.SetImageIndex(-1);
        if (skin.Marks[k].TransparentColor) target.SetTransparentColor(mark.TransparentColor);
        target.SetTransparent(mark.Transparent);
    }
    // The background stays selected into its own device context: the control gets a copy.
    TGdiObject<HBITMAP> background = LooseCopy(picture.Background);
    list.SetPicture(background.Get());
    list.SetPalette(CopyPalette(picture.Palette.Get()));
    if (HWND handle = list; handle)
        SetWindowPos(handle, nullptr, 0, 0, picture.Width(), picture.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

HRGN ScaleRegion(HRGN region, int dpi) {
    if (!region) return nullptr;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) return nullptr;
    std::vector<unsigned char> block(size);
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    if (GetRegionData(region, size, data) == 0) return nullptr;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    std::vector<TScaleRect> design;
    design.reserve(data->rdh.nCount);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        design.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    const std::vector<TScaleRect> scaled = ScaleRects(design, dpi);
    std::vector<unsigned char> out(sizeof(RGNDATAHEADER) + scaled.size() * sizeof(RECT));
    auto* result = reinterpret_cast<RGNDATA*>(out.data());
    result->rdh.dwSize = sizeof(RGNDATAHEADER);
    result->rdh.iType = RDH_RECTANGLES;
    result->rdh.nCount = static_cast<DWORD>(scaled.size());
    result->rdh.rcBound = {
        ScaleToDpi(data->rdh.rcBound.left, dpi), ScaleToDpi(data->rdh.rcBound.top, dpi),
        ScaleToDpi(data->rdh.rcBound.right, dpi), ScaleToDpi(data->rdh.rcBound.bottom, dpi)};
    auto* target = reinterpret_cast<RECT*>(result->Buffer);
    for (std::size_t i = 0; i < scaled.size(); ++i)
        target[i] = {scaled[i].Left, scaled[i].Top, scaled[i].Right, scaled[i].Bottom};
    return ExtCreateRegion(nullptr, static_cast<DWORD>(out.size()), result);
}

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

void ReleaseSkinRegion(HWND window) {
    // The system deletes the region the window had; deleting it here as well would free it twice.
    SetWindowRgn(window, nullptr, FALSE);
}

bool CreateSkin(const TSkinDefinition& skin, int part, TMemoryBitmap& target, const RECT& place,
                std::string& error, const TSkinLibraryImages& library) {
    if (part < 0 || part >= static_cast<int>(skin.Parts.size())) return true;
    return CreatePart(skin, part, target, place.right - place.left, place.bottom - place.top, error,
                      skin.Parts[static_cast<std::size_t>(part)].Depth, library);
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
    result.Picture = std::make_unique<TSkinPicture>();
    TSkinPicture& picture = *result.Picture;
    TMemoryBitmap& background = picture.Background;
    if (!background.Create24(std::clamp(skin.Width, 1, MaxSkinSize),
                             std::clamp(skin.Height, 1, MaxSkinSize)))
        return fail("背景を作るメモリが足りません。");
    Fill(background, skin.Color);

    std::string error;
    if (!skin.Bitmap.empty()) {
        TMemoryBitmap bitmap;
        const TSkinBitmapLoad load = LoadNamed(skin, skin.Bitmap, bitmap, error, library);
        if (load == TSkinBitmapLoad::Invalid) return fail(error);
        if (load == TSkinBitmapLoad::Loaded)
            Draw(background, AlignSkinOffset(skin.PositionX, background.Width, bitmap.Width),
                 AlignSkinOffset(skin.PositionY, background.Height, bitmap.Height), bitmap);
    }

    const RECT whole = {0, 0, background.Width, background.Height};
    for (int option : skin.Options)
        if (!CreateSkin(skin, option, background, whole, error, library)) return fail(error);

    for (std::size_t k = 0; k < skin.Marks.size(); ++k) {
        const TSkinMark& from = skin.Marks[k];
        TSkinMarkPicture& mark = picture.Marks[k];
        if (from.Bitmap.empty()) continue;
        const TSkinBitmapLoad load = LoadNamed(skin, from.Bitmap, mark.Frames, error, library);
        if (load == TSkinBitmapLoad::Invalid) return fail(error);
        if (load != TSkinBitmapLoad::Loaded) continue;
        mark.Width = mark.Frames.Width;
        mark.Height = mark.Frames.Height / 2;
        const std::optional<int> left = PlaceSkinPosition(from.Left, background.Width, mark.Width);
        if (!left) return fail(PositionError(from.Section, "Left"));
        const std::optional<int> top = PlaceSkinPosition(from.Top, background.Height, mark.Height);
        if (!top) return fail(PositionError(from.Section, "Top"));
        mark.Left = *left;
        mark.Top = *top;
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
