#pragma once
// Rules of the main form that need no window: where the menu goes, which keys make a call pair,
// how a window key steps a window, the sequence in which window keys are registered.
#include <array>
#include <string>
#include <vector>

struct TRectI {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRectI&) const = default;
};

struct TPointI {
    int X = 0, Y = 0;
    bool operator==(const TPointI&) const = default;
};

// The menu's top-left corner for a "Position" value on a monitor: 0 centred on the monitor's
// full area (halves rounded toward zero), 1-4 the corners of its work area, anything else the
// monitor's top-left corner.
TPointI MenuPosition(int position, const TRectI& screen, const TRectI& workArea, int width,
                     int height);

// A display monitor: its full area and work area in virtual-screen pixels, and its scale.
struct TMonitor {
    TRectI Screen;
    TRectI Work;
    int Dpi = 96;
    bool Primary = false;
};

// The monitor the menu goes to: the one that holds the largest part of the window the user works
// in (ties to the first listed); when no monitor holds any of it (no such window, or one
// minimised off the screen), the one under the pointer; else the primary one, else the first.
// An empty list gives -1.
int MenuMonitor(const std::vector<TMonitor>& monitors, const TRectI* foreground, TPointI pointer);

// The settings dialog's top-left corner: centred on the menu window (halves rounded toward
// zero), then held inside the work area, left and top edges first, so that a dialog larger than
// the work area lines up with its right and bottom edges.
TPointI DialogPosition(const TRectI& menu, int width, int height, const TRectI& workArea);

// The two virtual keys of a call pair (0 Shift+Control, 1 Control+Alt, 2 Shift+Alt); any other
// value gives 0 and 0, a pair that is never down.
std::array<int, 2> CallPairKeys(int pair);

// The rectangle after one step: direction 0 left, 1 up, 2 right, 3 down. Moving shifts the whole
// rectangle; resizing moves the right or bottom edge, so left and up shrink.
TRectI SteppedRect(const TRectI& rect, int direction, int step, bool resize);

// Whether the option "-w" asks for the menu window to be hidden before it is destroyed: given at
// all, even without a value, and not with the value "0".
bool HideMenuOnClose(const std::vector<std::string>& arguments);

// Hot-key identifiers in the sequence they are registered: maximise, minimise, restore, pause,
// screen saver, tray menu, the four move keys, the four resize keys.
inline constexpr std::array<int, 14> WindowKeyRegistrationOrder{0, 1, 2, 11, 12, 13, 3,
                                                                4, 5, 6, 7,  8,  9,  10};
