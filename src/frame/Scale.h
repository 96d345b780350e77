#pragma once
// Lengths at a display scale. Windows and skins are designed in pixels at 96 dots per inch; on a
// monitor of another scale a length of the design is multiplied by dpi / 96.

inline constexpr int DesignDpi = 96;

// A place or length of the design at the scale, rounded toward negative infinity: two
// rectangles that touch in the design still touch, and a length is the difference of its ends.
int ScaleToDpi(int value, int dpi);
// The length of the design that covers a length at the scale (rounded up).
int DesignLengthAt(int length, int dpi);
