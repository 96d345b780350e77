#pragma once
// The menu at a display scale. Skins are designed in pixels at 96 dots per inch; on a monitor of
// another scale the menu keeps the same shapes, larger or smaller: lengths and places of the
// design are multiplied by dpi / 96, while the text is drawn with the font at the monitor's own
// scale.
#include <vector>

#include "frame/Scale.h"
#include "menu/SkinDefinition.h"

struct TScaleRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TScaleRect&) const = default;
};
// The rectangles of a region at the scale; those that shrink to nothing are left out.
std::vector<TScaleRect> ScaleRects(const std::vector<TScaleRect>& rects, int dpi);

// The geometry of a definition at the scale: the window's size, the menu area and the line
// space. Colours, pictures and marks are the composition's.
TSkinDefinition ScaledSkinGeometry(const TSkinDefinition& skin, int dpi);
