#pragma once
// Bitmaps kept selected in their own memory device context, so that the menu can copy between
// its skin picture, its page-mark frames and its off-screen surface without selecting and
// releasing on every copy.
#include <windows.h>

#include <cstdint>

// A colour value as GDI takes it: a top byte of 0x80 names a system colour by its low byte.
COLORREF ResolveColor(std::uint32_t color);

class TMemoryBitmap {
public:
    TMemoryBitmap() = default;
    ~TMemoryBitmap() { Free(); }
    TMemoryBitmap(const TMemoryBitmap&) = delete;
    TMemoryBitmap& operator=(const TMemoryBitmap&) = delete;

    // A bitmap that holds the display's pixels (reference = a window's device context); its
    // content is undefined until drawn. On a display of 24 or 32 bits a pixel it is a 32-bit
    // device-independent bitmap: the same pixels, in memory of its own that goes back to the
    // system when the bitmap is deleted (a bitmap of the display's own may come from a heap that
    // keeps it); on other displays a bitmap of the display's own format.
    bool CreateForDisplay(HDC reference, int width, int height);
    // A 24 bits-per-pixel device-independent bitmap, filled black.
    bool Create24(int width, int height);
    // A 24 bits-per-pixel copy of the source bitmap (not owned; nullptr gives an empty bitmap).
    bool Assign24(HBITMAP source);
    // Keeps the top-left of the old content in a 24 bits-per-pixel bitmap of the new size; the
    // rest is black.
    bool Resize24(int width, int height);
    void Free();
    void Swap(TMemoryBitmap& other);

    bool Empty() const { return Bitmap == nullptr || Width <= 0 || Height <= 0; }
    HDC Dc() const { return DcHandle; }
    HBITMAP Handle() const { return Bitmap; }
    int Width = 0;
    int Height = 0;

private:
    bool Select(HBITMAP bitmap, int width, int height);
    HDC DcHandle = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ OldBitmap = nullptr;
};
