#pragma once
// What every end-to-end test shares: a program folder of its own, the program started in it,
// and a small focused window of the test's own at the pointer's parking spot, from which the
// keys come.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Harness.h"

// Settings file text from its lines, each ended with CR LF.
inline std::string IniText(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

class MirtoTest : public testing::Test {
protected:
    // The built libraries that the folder gets as Mirto.dll and Skin.dll.
    explicit MirtoTest(const std::string& hookLibrary = "Mirto.dll",
                       const std::string& skinLibrary = "testing\\PlainSkin.dll")
        : Folder(hookLibrary, skinLibrary) {}

    TProgramFolder Folder;
    std::unique_ptr<TMirto> Mirto;

    void SetUp() override { ASSERT_TRUE(Folder.Ready()) << "cannot lay out " << Folder.Path(); }

    void TearDown() override {
        // A test that stopped half-way must not leave a key held for the next one.
        ReleaseModifiers();
        Mirto.reset();
    }

    // Starts the program and waits for its form and tray icon.
    void StartResident(const std::string& arguments = {}) {
        Mirto = std::make_unique<TMirto>(Folder, arguments);
        ASSERT_TRUE(Mirto->Started()) << "cannot start " << Folder.FilePath("Mirto.exe");
        ASSERT_TRUE(Mirto->WaitResident()) << "the program did not become resident";
    }

    // Writes the settings file and starts the program with it.
    void StartWithSettings(const std::string& settings) {
        ASSERT_TRUE(Folder.Write("Mirto.ini", settings));
        StartResident();
    }

    // Parks the pointer and gives the keyboard focus to a small window of the test's own there.
    // One window serves every test: Wine takes a while to destroy a window that had the focus.
    void FocusKeyWindow() {
        const POINT spot = ParkPointer();
        static TTestWindow keyWindow("keys", WS_POPUP | WS_VISIBLE, spot.x - 12, spot.y - 12, 24,
                                     24, RGB(255, 255, 255), WS_EX_APPWINDOW);
        ASSERT_TRUE(keyWindow.Focus()) << "the test's window did not get the focus";
    }

    // The program reads the call keys from the keyboard, which Wine answers from a thread's
    // earlier reading of a released key for 50 ms: tests that need the program to see keys as
    // they are now wait this long (with a margin) after it last read them.
    static constexpr ULONGLONG KeyReadingExpiry = 120;

    HWND Form() const { return Mirto ? Mirto->Form() : nullptr; }
    bool MenuVisible() const { return IsWindowVisible(Form()) != FALSE; }

    // Waits until the menu is hidden and the program has finished hiding it: hiding the active
    // window hands the foreground to another window, which must be over before the test moves
    // the focus itself.
    bool WaitMenuHidden() const {
        return WaitFor([&] { return !MenuVisible(); }) && RoundTrip(Form());
    }
};
