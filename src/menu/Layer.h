#pragma once
// Makes one window semi-transparent as a whole through the system's layered windows, when the
// system offers them (SetLayeredWindowAttributes, looked up in user32.dll at run time).
#include <windows.h>

class TWindowLayer {
public:
    explicit TWindowLayer(HWND window);
    ~TWindowLayer();
    TWindowLayer(const TWindowLayer&) = delete;
    TWindowLayer& operator=(const TWindowLayer&) = delete;

    HWND GetLayeredWindow() const { return Window; }
    // The system offers layered windows.
    bool Enabled() const { return SetAttributes != nullptr; }
    // The opacity, 8..255 (255 opaque).
    int LayerLevel() const { return Level; }

    // Clamps the level to 8..255, stores it, makes the window layered and applies the level.
    // Nothing happens when the level is already stored and the window is layered.
    void SetLayerLevel(int level);
    // Adds or removes the layered style; the stored level stays.
    void BeginTransparent();
    void EndTransparent();

    // The opacity of a settings level: -1 none (opaque, not layered), 0..16 (and above) give
    // 127, 135, ..., 255.
    static int OpacityOfSetting(int settingsLevel);
    // Applies a settings level to the window.
    void ApplySetting(int settingsLevel);

private:
    using TSetAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    bool Layered() const;

    HWND Window;
    int Level = 255;
    HMODULE Library = nullptr;
    TSetAttributes SetAttributes = nullptr;
};
