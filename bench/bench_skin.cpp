// What a skin set-up costs (definition read, composition, marks, palette, region), per sample
// skin and for a generated 1920 x 1080 shaped skin, against the floor of filling and copying one
// bitmap of the same size in the same run; and BitmapToRegion alone for that shape, with the
// number of rectangles its region holds. Medians of [count] (default 10) after one warm-up.
//
// Usage: bench_skin [count]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Clock.h"
#include "menu/SkinCompose.h"
#include "settings/IniStr.h"

namespace {

double MedianMs(int count, const std::function<void()>& run) {
    run();
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const double start = bench::NowMicroseconds();
        run();
        times.push_back((bench::NowMicroseconds() - start) / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One set-up of the definition file: read, compose (with the region for a shaped skin).
bool SetUp(const std::string& path) {
    TIniStringList lines;
    lines.LoadFromFile(path);
    TSkinInfo info;
    info.Path = path;
    const TSkinDefinition skin = ReadSkinDefinition(lines, info);
    return skin.Ok && ComposeSkin(skin).Ok;
}

// The floor: a bitmap of the size filled and copied once.
void FillAndCopy(int width, int height) {
    TMemoryBitmap from, to;
    from.Create24(width, height);
    to.Create24(width, height);
    const RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(RGB(40, 60, 90));
    FillRect(from.Dc(), &all, brush);
    DeleteObject(brush);
    BitBlt(to.Dc(), 0, 0, width, height, from.Dc(), 0, 0, SRCCOPY);
}

// A 24-bit BMP file: an ellipse on magenta (the transparent colour), drawn row by row.
bool WriteEllipseBmp(const std::string& path, int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * height;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    const double a = width / 2.0, b = height / 2.0;
    for (int y = 0; y < height; ++y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5 - a) / a, dy = (y + 0.5 - b) / b;
            const bool inside = dx * dx + dy * dy <= 1.0;
            row[x * 3] = static_cast<char>(inside ? 0x90 : 0xFF);     // blue
            row[x * 3 + 1] = static_cast<char>(inside ? 0x60 : 0x00); // green
            row[x * 3 + 2] = static_cast<char>(inside ? 0x30 : 0xFF); // red
        }
        bytes.append(row);
    }
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
    return ok && written == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(3, std::atoi(argv[1])) : 10;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "MirtoBenchSkin\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string big = folder + "Big.ini";
    if (!WriteEllipseBmp(folder + "big.bmp", 1920, 1080)) {
        std::printf("bench_skin: cannot write the generated skin\n");
        return 1;
    }
    TIniStringList bigDefinition;
    bigDefinition.SetItems(
        TStringList({"[Size]", "Def_Width=1920", "Def_Height=1080", "[Basic]", "Bitmap=big.bmp",
                     "Transparent=1", "TransparentColor=clFuchsia"}));
    bigDefinition.SaveToFile(big);

    struct TSkin {
        const char* Name;
        std::string Path;
        int Width, Height;
    } skins[] = {{"Kiri (560 x 380)", std::string(MIRTO_SKIN_DIR) + "Kiri.ini", 560, 380},
                 {"Maru (520 x 340, shaped)", std::string(MIRTO_SKIN_DIR) + "Maru.ini", 520, 340},
                 {"generated 1920 x 1080, shaped", big, 1920, 1080}};
    std::printf("skin set-up, medians of %d (ms)\n", count);
    std::printf("  %-32s %10s %10s %8s\n", "skin", "set-up", "floor", "ratio");
    for (const TSkin& skin : skins) {
        if (!SetUp(skin.Path)) {
            std::printf("bench_skin: %s does not set up\n", skin.Path.c_str());
            return 1;
        }
        const double setUp = MedianMs(count, [&] { SetUp(skin.Path); });
        const double floor = MedianMs(count, [&] { FillAndCopy(skin.Width, skin.Height); });
        std::printf("  %-32s %10.2f %10.2f %7.1fx\n", skin.Name, setUp, floor, setUp / floor);
    }

    TMemoryBitmap shape;
    std::string error;
    if (LoadSkinBitmap(folder + "big.bmp", shape, error) != TSkinBitmapLoad::Loaded) {
        std::printf("bench_skin: %s\n", error.c_str());
        return 1;
    }
    DWORD rectangles = 0;
    const double region = MedianMs(count, [&] {
        HRGN made = BitmapToRegion(shape, RGB(255, 0, 255));
        rectangles = GetRegionData(made, 0, nullptr);
        DeleteObject(made);
    });
    rectangles = rectangles > sizeof(RGNDATAHEADER)
                     ? static_cast<DWORD>((rectangles - sizeof(RGNDATAHEADER)) / sizeof(RECT))
                     : 0;
    std::printf("BitmapToRegion of the 1920 x 1080 ellipse: %.2f ms, %lu rectangles\n", region,
                static_cast<unsigned long>(rectangles));
    DeleteFileA((folder + "big.bmp").c_str());
    DeleteFileA(big.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
