#include "core/FormRules.h"

#include <algorithm>

#include "system/SysText.h"

TPointI MenuPosition(int position, const TRectI& screen, const TRectI& workArea, int width,
                     int height) {
    switch (position) {
    case 0:
        return {screen.Left + (screen.Width() - width) / 2,
                screen.Top + (screen.Height() - height) / 2};
    case 1:
        return {workArea.Left, workArea.Top};
    case 2:
        return {workArea.Left, workArea.Bottom - height};
    case 3:
        return {workArea.Right - width, workArea.Top};
    case 4:
        return {workArea.Right - width, workArea.Bottom - height};
    default:
        return {screen.Left, screen.Top};
    }
}

int MenuMonitor(const std::vector<TMonitor>& monitors, const TRectI* foreground, TPointI pointer) {
    if (monitors.empty()) return -1;
    if (foreground) {
        long long best = 0;
        int chosen = -1;
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            const TRectI& m = monitors[i].Screen;
            const long long w = std::min(m.Right, foreground->Right) -
                                static_cast<long long>(std::max(m.Left, foreground->Left));
            const long long h = std::min(m.Bottom, foreground->Bottom) -
                                static_cast<long long>(std::max(m.Top, foreground->Top));
            if (w > 0 && h > 0 && w * h > best) {
                best = w * h;
                chosen = static_cast<int>(i);
            }
        }
        if (chosen >= 0) return chosen;
    }
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const TRectI& m = monitors[i].Screen;
        if (pointer.X >= m.Left && pointer.X < m.Right && pointer.Y >= m.Top &&
            pointer.Y < m.Bottom)
            return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Primary) return static_cast<int>(i);
    return 0;
}

std::array<int, 2> CallPairKeys(int pair) {
    constexpr int Shift = 16, Control = 17, Alt = 18;
    switch (pair) {
    case 0:
        return {Shift, Control};
    case 1:
        return {Control, Alt};
    case 2:
        return {Shift, Alt};
    default:
        return {0, 0};
    }
}

TRectI SteppedRect(const TRectI& rect, int direction, int step, bool resize) {
    const int dx = direction == 2 ? 1 : direction == 0 ? -1 : 0;
    const int dy = direction == 3 ? 1 : direction == 1 ? -1 : 0;
    if (resize) return {rect.Left, rect.Top, rect.Right + dx * step, rect.Bottom + dy * step};
    return {rect.Left + dx * step, rect.Top + dy * step, rect.Right + dx * step,
            rect.Bottom + dy * step};
}

bool HideMenuOnClose(const std::vector<std::string>& arguments) {
    // "-w" takes no value: any argument that begins with it counts, the value "0" excepted.
    return GetSwitchValue(arguments, "-w") != SwitchAbsent;
}

TPointI DialogPosition(const TRectI& menu, int width, int height, const TRectI& workArea) {
    TPointI at{menu.Left + (menu.Width() - width) / 2, menu.Top + (menu.Height() - height) / 2};
    if (at.X < workArea.Left) at.X = workArea.Left;
    if (at.X + width > workArea.Right) at.X = workArea.Right - width;
    if (at.Y < workArea.Top) at.Y = workArea.Top;
    if (at.Y + height > workArea.Bottom) at.Y = workArea.Bottom - height;
    return at;
}
