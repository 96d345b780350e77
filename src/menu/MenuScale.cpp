#include "menu/MenuScale.h"

std::vector<TScaleRect> ScaleRects(const std::vector<TScaleRect>& rects, int dpi) {
    std::vector<TScaleRect> scaled;
    scaled.reserve(rects.size());
    for (const TScaleRect& r : rects) {
        const TScaleRect s{ScaleToDpi(r.Left, dpi), ScaleToDpi(r.Top, dpi),
                           ScaleToDpi(r.Right, dpi), ScaleToDpi(r.Bottom, dpi)};
        if (s.Right > s.Left && s.Bottom > s.Top) scaled.push_back(s);
    }
    return scaled;
}

TSkinDefinition ScaledSkinGeometry(const TSkinDefinition& skin, int dpi) {
    TSkinDefinition scaled = skin;
    auto length = [dpi](int& value) { value = ScaleToDpi(value, dpi); };
    length(scaled.Width);
    length(scaled.Height);
    length(scaled.LineSpace);
    // The menu area by its edges, so that it stays where the picture's panel is.
    const int right = ScaleToDpi(skin.MenuLeft + skin.MenuWidth, dpi);
    const int bottom = ScaleToDpi(skin.MenuTop + skin.MenuHeight, dpi);
    length(scaled.MenuLeft);
    length(scaled.MenuTop);
    scaled.MenuWidth = right - scaled.MenuLeft;
    scaled.MenuHeight = bottom - scaled.MenuTop;
    return scaled;
}
