// The bitmap header check on any bytes and any file size: it reads no byte beyond those it is
// given, and a header it accepts declares a size within the skin limits whose pixels, when they
// are not compressed, fit in the file.
#include "FuzzSupport.h"
#include "menu/SkinBitmapHeader.h"
#include "menu/SkinDefinition.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint64_t fileSize = input.ConsumeIntegral<std::uint32_t>();
    // Exactly as many bytes as were read, so that the sanitizer sees any read beyond them.
    const std::vector<std::uint8_t> bytes =
        input.ConsumeBytes<std::uint8_t>(std::min(input.remaining_bytes(), SkinBitmapHeaderBytes));
    const TSkinBitmapHeader header = CheckSkinBitmapHeader(bytes.data(), bytes.size(), fileSize);
    const auto where = [&] {
        return "file size " + std::to_string(fileSize) + " header " +
               Visible(std::string(bytes.begin(), bytes.end())) + "\nfault " + header.Fault;
    };
    if (!header.Fault.empty()) {
        FUZZ_CHECK(header.Width == 0 && header.Height == 0, where());
        return 0;
    }
    FUZZ_CHECK(header.Width >= 1 && header.Width <= MaxSkinSize, where());
    FUZZ_CHECK(header.Height >= 1 && header.Height <= MaxSkinSize, where());
    FUZZ_CHECK(bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M', where());
    const std::uint32_t infoSize = bytes[14] | bytes[15] << 8 | bytes[16] << 16 | bytes[17] << 24;
    if (infoSize >= 40 && bytes.size() >= 34) {
        const unsigned bits = bytes[28] | bytes[29] << 8;
        const std::uint32_t compression =
            bytes[30] | bytes[31] << 8 | bytes[32] << 16 | bytes[33] << 24;
        if (compression == 0) {
            const std::uint64_t stride =
                (static_cast<std::uint64_t>(header.Width) * bits + 31) / 32 * 4;
            FUZZ_CHECK(stride * static_cast<std::uint64_t>(header.Height) <= fileSize, where());
        }
    }
    return 0;
}
