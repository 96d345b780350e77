#pragma once
// The check of a BMP file's header that the composer makes before the system reads the file.
// Skins come from downloads: a file of a few bytes may declare any size, so the size it declares
// is checked and counted before a single pixel is decoded.
#include <cstddef>
#include <cstdint>
#include <string>

// How many bytes of a file the check reads: the file header and the longest information header.
inline constexpr std::size_t SkinBitmapHeaderBytes = 14 + 124;

// What the header declares; Width and Height are set when the fault is empty.
struct TSkinBitmapHeader {
    std::string Fault; // empty when the header is acceptable; else what is wrong, for the user
    int Width = 0;
    int Height = 0;
};

// Checks the first `got` bytes of a file of fileSize bytes: its signature, an information header
// of a size image editors write (12, 40, 56, 108 or 124 bytes), the sizes it claims against the
// file's size (colour table and padded rows included), width and height 1..MaxSkinSize, 1, 4, 8,
// 16, 24 or 32 bits per pixel, a known compression (never with rows stored top-down).
TSkinBitmapHeader CheckSkinBitmapHeader(const std::uint8_t* header, std::size_t got,
                                        std::uint64_t fileSize);

// The text naming a bitmap file that cannot be used, then what is wrong with it.
std::string SkinBitmapError(const std::string& path, const std::string& fault);
