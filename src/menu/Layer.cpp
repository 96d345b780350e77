#include "menu/Layer.h"

#include <algorithm>

TWindowLayer::TWindowLayer(HWND window) : Window(window) {
    Library = LoadLibraryA("user32.dll");
    if (Library != nullptr)
        SetAttributes = reinterpret_cast<TSetAttributes>(
            reinterpret_cast<void*>(GetProcAddress(Library, "SetLayeredWindowAttributes")));
}

TWindowLayer::~TWindowLayer() {
    if (Library == nullptr) return;
    EndTransparent();
    FreeLibrary(Library);
}

bool TWindowLayer::Layered() const {
    return (GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

void TWindowLayer::SetLayerLevel(int level) {
    if (!Enabled()) return;
    level = std::clamp(level, 8, 255);
    // The same level again changes nothing, unless the window was made opaque in between: then
    // the level the settings ask for is applied again.
    if (level == Level && (level == 255 || Layered())) return;
    Level = level;
    BeginTransparent();
    SetAttributes(Window, 0, static_cast<BYTE>(Level), LWA_ALPHA);
}

void TWindowLayer::BeginTransparent() {
    if (!Enabled()) return;
    const LONG style = GetWindowLongA(Window, GWL_EXSTYLE);
    if ((style & WS_EX_LAYERED) == 0) SetWindowLongA(Window, GWL_EXSTYLE, style | WS_EX_LAYERED);
}

void TWindowLayer::EndTransparent() {
    if (!Enabled()) return;
    const LONG style = GetWindowLongA(Window, GWL_EXSTYLE);
    if ((style & WS_EX_LAYERED) != 0) SetWindowLongA(Window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
}

int TWindowLayer::OpacityOfSetting(int settingsLevel) {
    return std::min(settingsLevel, 16) * 8 + 127;
}

void TWindowLayer::ApplySetting(int settingsLevel) {
    if (settingsLevel < 0)
        EndTransparent();
    else
        SetLayerLevel(OpacityOfSetting(settingsLevel));
}
