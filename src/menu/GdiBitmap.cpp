#include "menu/GdiBitmap.h"

#include <utility>

COLORREF ResolveColor(std::uint32_t color) {
    if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

static HBITMAP NewDib(int width, int height, WORD bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A fresh section is zero-filled: black.
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

bool TMemoryBitmap::Select(HBITMAP bitmap, int width, int height) {
    if (!bitmap) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        return false;
    }
    Free();
    DcHandle = dc;
    Bitmap = bitmap;
    OldBitmap = SelectObject(dc, bitmap);
    Width = width;
    Height = height;
    return true;
}

bool TMemoryBitmap::CreateForDisplay(HDC reference, int width, int height) {
    if (width <= 0 || height <= 0) {
        Free();
        return true;
    }
    if (GetDeviceCaps(reference, BITSPIXEL) * GetDeviceCaps(reference, PLANES) >= 24)
        return Select(NewDib(width, height, 32), width, height);
    return Select(CreateCompatibleBitmap(reference, width, height), width, height);
}

bool TMemoryBitmap::Create24(int width, int height) {
    if (width <= 0 || height <= 0) {
        Free();
        return true;
    }
    return Select(NewDib(width, height, 24), width, height);
}

bool TMemoryBitmap::Assign24(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectA(source, sizeof info, &info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        Free();
        return source == nullptr;
    }
    TMemoryBitmap copy;
    if (!copy.Create24(info.bmWidth, info.bmHeight)) return false;
    HDC from = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(from, source);
    BitBlt(copy.Dc(), 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, old);
    DeleteDC(from);
    Swap(copy);
    return true;
}

bool TMemoryBitmap::Resize24(int width, int height) {
    TMemoryBitmap resized;
    if (!resized.Create24(width, height)) return false;
    if (!Empty() && !resized.Empty())
        BitBlt(resized.Dc(), 0, 0, Width, Height, DcHandle, 0, 0, SRCCOPY);
    Swap(resized);
    return true;
}

void TMemoryBitmap::Swap(TMemoryBitmap& other) {
    std::swap(DcHandle, other.DcHandle);
    std::swap(Bitmap, other.Bitmap);
    std::swap(OldBitmap, other.OldBitmap);
    std::swap(Width, other.Width);
    std::swap(Height, other.Height);
}

void TMemoryBitmap::Free() {
    if (DcHandle) {
        SelectObject(DcHandle, OldBitmap);
        DeleteDC(DcHandle);
    }
    if (Bitmap) DeleteObject(Bitmap);
    DcHandle = nullptr;
    Bitmap = nullptr;
    OldBitmap = nullptr;
    Width = Height = 0;
}
