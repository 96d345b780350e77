// The window's shape: the region of a composed picture's pixels that are not its transparent
// colour, the region at a display scale, and handing it to the window.
#include <utility>
#include <vector>

#include "menu/MenuScale.h"
#include "menu/SkinComposeShared.h"

HRGN BitmapToRegion(HBITMAP bitmap, std::uint32_t color, const TRegionFromRects& make) {
    TMemoryBitmap copy;
    if (!copy.Assign24(bitmap)) return nullptr;
    return BitmapToRegion(copy, color, make);
}

HRGN BitmapToRegion(const TMemoryBitmap& bitmap, std::uint32_t color,
                    const TRegionFromRects& make) {
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
    std::vector<std::pair<TGdiObject<HRGN>, int>> pending; // regions and their merge levels
    // Turns the batch into a region and empties it, whatever the system answers; false when the
    // system refuses the region or a merge.
    auto flush = [&] {
        if (count == 0) return true;
        header->dwSize = HeaderSize;
        header->iType = RDH_RECTANGLES;
        header->nCount = count;
        header->nRgnSize = count * sizeof(RECT);
        header->rcBound = {0, 0, pixels.Width, pixels.Height};
        const DWORD size = static_cast<DWORD>(HeaderSize + count * sizeof(RECT));
        const auto* region = reinterpret_cast<const RGNDATA*>(data.data());
        TGdiObject<HRGN> batch(make ? make(region, size) : ExtCreateRegion(nullptr, size, region));
        count = 0;
        if (!batch) return false;
        // Merged in pairs of equal size, as a binary counter carries: every run is copied about
        // log2(batches) times instead of once per later batch.
        pending.push_back({std::move(batch), 0});
        while (pending.size() >= 2 && pending[pending.size() - 2].second == pending.back().second) {
            auto& into = pending[pending.size() - 2];
            if (CombineRgn(into.first.Get(), into.first.Get(), pending.back().first.Get(),
                           RGN_OR) == ERROR)
                return false;
            ++into.second;
            pending.pop_back();
        }
        return true;
    };
    const COLORREF clear = static_cast<COLORREF>(color);
    for (int y = 0; y < pixels.Height; ++y) {
        const std::uint8_t* row = pixels.Row(y);
        int x = 0;
        while (x < pixels.Width) {
            while (x < pixels.Width && TPixels::Get(row + x * 3) == clear)
                ++x;
            if (x == pixels.Width) break;
            const int start = x;
            while (x < pixels.Width && TPixels::Get(row + x * 3) != clear)
                ++x;
            if (count == SkinRegionBatch && !flush()) return nullptr;
            rects[count++] = {start, y, x, y + 1};
        }
    }
    if (!flush()) return nullptr;
    for (auto& part : pending)
        if (CombineRgn(result.Get(), result.Get(), part.first.Get(), RGN_OR) == ERROR)
            return nullptr;
    return result.Release();
}

bool TSkinPicture::ApplyRegion(HWND window, bool repaint) {
    if (!Region || !SetWindowRgn(window, Region.Get(), repaint)) return false;
    Region.Release(); // the window's now
    return true;
}

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

void ReleaseSkinRegion(HWND window) {
    // The system deletes the region the window had; deleting it here as well would free it twice.
    SetWindowRgn(window, nullptr, FALSE);
}
