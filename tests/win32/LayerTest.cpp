#include <gtest/gtest.h>

#include <windows.h>

#include "menu/Layer.h"

namespace {

bool Layered(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// The opacity the system holds for a layered window, or -1.
int Alpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}

class WindowLayer : public testing::Test {
protected:
    void SetUp() override {
        Window = CreateWindowExA(0, "STATIC", "layer", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(Window, nullptr);
    }
    void TearDown() override { DestroyWindow(Window); }
    HWND Window = nullptr;
};

TEST_F(WindowLayer, SettingsLevelsGiveTheirOpacityAndMinusOneMakesTheWindowOpaque) {
    TWindowLayer layer(Window);
    ASSERT_TRUE(layer.Enabled());
    // Opaque at first: the same level again does not make the window layered.
    layer.SetLayerLevel(255);
    EXPECT_FALSE(Layered(Window));

    const struct { int Setting, Alpha; } levels[] = {{0, 127}, {4, 159}, {16, 255}, {40, 255}};
    for (const auto& level : levels) {
        layer.ApplySetting(level.Setting);
        EXPECT_EQ(layer.LayerLevel(), level.Alpha) << level.Setting;
        EXPECT_TRUE(Layered(Window)) << level.Setting;
        EXPECT_EQ(Alpha(Window), level.Alpha) << level.Setting;
    }
    layer.SetLayerLevel(3);
    EXPECT_EQ(layer.LayerLevel(), 8);
    EXPECT_EQ(Alpha(Window), 8);
    layer.SetLayerLevel(300);
    EXPECT_EQ(layer.LayerLevel(), 255);

    // -1 makes the window opaque and keeps the level; the same level asked again applies it.
    layer.ApplySetting(4);
    layer.ApplySetting(-1);
    EXPECT_FALSE(Layered(Window));
    EXPECT_EQ(layer.LayerLevel(), 159);
    layer.ApplySetting(4);
    EXPECT_TRUE(Layered(Window));
    EXPECT_EQ(Alpha(Window), 159);
}

TEST_F(WindowLayer, TheEndLeavesTheWindowOpaque) {
    {
        TWindowLayer layer(Window);
        layer.ApplySetting(2);
        ASSERT_TRUE(Layered(Window));
    }
    EXPECT_FALSE(Layered(Window));
}

} // namespace
