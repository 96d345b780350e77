#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "TestFolder.h"

#include <cstdlib>
#include <string>
#include <vector>

// The tray takes its two pictures from the program's own file by index: 0 normal (blue), 1
// paused (grey). Any other icon added before them would shift what the tray shows.

namespace {

std::string ProgramPath() {
    return BuiltProgramsFolder() + "\\Mirto.exe";
}

struct TIconPixels {
    int Width = 0;
    int Height = 0;
    std::vector<RGBQUAD> Pixels; // top-down rows
};

TIconPixels ReadIcon(HICON icon) {
    TIconPixels result;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return result;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    result.Width = bitmap.bmWidth;
    result.Height = bitmap.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    result.Pixels.resize(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, bitmap.bmHeight, result.Pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return result;
}

// The background colour just inside the left edge, half way down: clear of the white mark.
RGBQUAD Background(const TIconPixels& icon) {
    return icon.Pixels[static_cast<size_t>(icon.Height / 2) * icon.Width + icon.Width / 6];
}

} // namespace

TEST(ProgramIcons, TheProgramHoldsExactlyTheNormalAndThePausedIcon) {
    const std::string program = ProgramPath();
    EXPECT_EQ(ExtractIconExA(program.c_str(), -1, nullptr, nullptr, 0), 2u) << program;

    HICON large[2] = {};
    HICON small[2] = {};
    for (int index = 0; index < 2; ++index) {
        ASSERT_EQ(ExtractIconExA(program.c_str(), index, &large[index], &small[index], 1), 2u)
            << "icon " << index;
        ASSERT_NE(large[index], nullptr);
        ASSERT_NE(small[index], nullptr);
    }

    const TIconPixels normal = ReadIcon(large[0]);
    const TIconPixels paused = ReadIcon(large[1]);
    const TIconPixels normalSmall = ReadIcon(small[0]);
    EXPECT_EQ(normal.Width, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(normalSmall.Width, GetSystemMetrics(SM_CXSMICON));
    ASSERT_FALSE(normal.Pixels.empty());
    ASSERT_FALSE(paused.Pixels.empty());

    const RGBQUAD blue = Background(normal);
    EXPECT_GT(blue.rgbBlue, blue.rgbRed + 60) << "index 0 is the normal (blue) icon";
    const RGBQUAD grey = Background(paused);
    EXPECT_EQ(grey.rgbRed, grey.rgbGreen) << "index 1 is the paused (grey) icon";
    EXPECT_EQ(grey.rgbGreen, grey.rgbBlue) << "index 1 is the paused (grey) icon";

    for (HICON icon : {large[0], large[1], small[0], small[1]})
        DestroyIcon(icon);
}
