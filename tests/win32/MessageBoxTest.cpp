#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "frame/MessageBox.h"
#include "frame/Platform.h"

namespace {

// Answers the first message box captioned with the application's caption by pressing the
// button, and records the box's text. Polls until the box appears or the test gives up.
struct TBoxAnswerer {
    explicit TBoxAnswerer(int button) : Button(button) {}

    int Button;
    std::string Caption;
    std::string Text;
    std::atomic<bool> Stop{false};

    void Run() {
        for (int i = 0; i < 3000 && !Stop; ++i) {
            HWND box = FindWindowA("#32770", AppCaption);
            if (box) {
                char buffer[256] = {};
                GetWindowTextA(box, buffer, sizeof buffer);
                Caption = buffer;
                // The text is the box's static control.
                HWND label = GetDlgItem(box, 0xFFFF);
                if (label) {
                    GetWindowTextA(label, buffer, sizeof buffer);
                    Text = buffer;
                }
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(Button, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, Button)));
                return;
            }
            Sleep(10);
        }
    }
};

} // namespace

TEST(ShowMessageBox, CarriesTheApplicationCaptionAndReturnsTheButtonPressed) {
    TBoxAnswerer answerer(IDNO);
    std::thread thread(&TBoxAnswerer::Run, &answerer);
    const int result = ShowMessageBox(nullptr, "保存しますか？", MB_YESNO | MB_ICONQUESTION);
    answerer.Stop = true;
    thread.join();
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(answerer.Caption, std::string(AppCaption));
    EXPECT_EQ(answerer.Text, "保存しますか？");
}
