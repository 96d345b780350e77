#pragma once
// What the composer's units (SkinCompose, SkinParts, SkinRegion) share: the bits of a 24
// bits-per-pixel section read and written in place, and the loading of a definition's bitmaps.
#include <windows.h>

#include <cstdint>
#include <string>

#include "menu/GdiBitmap.h"
#include "menu/SkinCompose.h"
#include "menu/SkinPlan.h"

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
const TMemoryBitmap& As24(const TMemoryBitmap& bitmap, TMemoryBitmap& copy);

// Fills the rectangle (clipped to the bitmap) with the colour, resolved.
void FillRectangle(TMemoryBitmap& bitmap, int left, int top, int right, int bottom,
                   std::uint32_t color);
void Fill(TMemoryBitmap& bitmap, std::uint32_t color);

// Copies the whole source onto the target at (x, y), clipped by the system.
void Draw(TMemoryBitmap& target, int x, int y, const TMemoryBitmap& source);

// Loads a bitmap name of the definition: joined with the skin folder; a name without "." is a
// picture of the skin library.
TSkinBitmapLoad LoadNamed(const TSkinDefinition& skin, const std::string& name,
                          TMemoryBitmap& bitmap, std::string& error,
                          const TSkinLibraryImages& library);

// What the plan learns of a bitmap name before decoding: a file's header, or the size of the
// library's picture.
TSkinBitmapProber SkinBitmapProber(const TSkinDefinition& skin, const TSkinLibraryImages& library);

// Composes the planned picture parts onto the window's picture, each made only as far as it shows.
bool ComposeParts(const TSkinDefinition& skin, const TSkinPlan& plan, TMemoryBitmap& background,
                  std::string& error, const TSkinLibraryImages& library);
