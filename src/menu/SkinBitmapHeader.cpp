#include "menu/SkinBitmapHeader.h"

#include "menu/SkinDefinition.h"

namespace {

// The compressions of the information header.
constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t DWord(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
           (static_cast<std::uint32_t>(p[3]) << 24);
}

// The fault of a header, empty when it is acceptable; width and height as declared.
std::string HeaderFault(const std::uint8_t* header, std::size_t got, std::uint64_t fileSize,
                        std::int64_t& width, std::int64_t& height) {
    constexpr std::size_t FileHeader = 14;
    if (got < FileHeader + 12) return "ビットマップのヘッダーより短いファイルです。";
    if (header[0] != 'B' || header[1] != 'M')
        return "ビットマップファイルではありません (先頭が \"BM\" ではありません)。";
    const std::uint32_t offBits = DWord(header + 10);
    const std::uint32_t infoSize = DWord(header + 14);
    // The core header, the information header and its versions 3, 4 and 5: what image editors
    // write. Any other size (OS/2's 16 and 64, Adobe's 52, sizes no format has) is refused.
    if (infoSize != 12 && infoSize != 40 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return std::string("ヘッダーの大きさが ")
            .append(std::to_string(infoSize))
            .append(" バイトのビットマップには対応していません。");
    if (got < FileHeader + infoSize)
        return "ビットマップのヘッダーの途中でファイルが終わっています。";
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

} // namespace

TSkinBitmapHeader CheckSkinBitmapHeader(const std::uint8_t* header, std::size_t got,
                                        std::uint64_t fileSize) {
    TSkinBitmapHeader result;
    std::int64_t width = 0, height = 0;
    result.Fault = HeaderFault(header, got, fileSize, width, height);
    if (result.Fault.empty()) {
        result.Width = static_cast<int>(width);
        result.Height = static_cast<int>(height);
    }
    return result;
}

std::string SkinBitmapError(const std::string& path, const std::string& fault) {
    std::string error = "画像ファイル \"";
    error += path;
    error += "\" を読み込めませんでした。";
    error += fault;
    return error;
}
