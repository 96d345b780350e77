// The notification-area icon and its popup menu.

#include <utility>

#include "core/MainForm.h"
#include "system/PathsWin.h"

void TMainForm::NotifyIcon(int state, int operation) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = Handle;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayMessage;
    if (operation != NIM_DELETE) {
        const bool paused = state == -1 ? !HookInstalled : state == 1;
        data.hIcon = paused ? PausedIcon : NormalIcon;
        lstrcpynA(data.szTip, Application().Title().c_str(), 64);
    }
    Shell_NotifyIconA(static_cast<DWORD>(operation), &data);
}

void TMainForm::TrayClick(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        SetForegroundWindow(Application().Handle());
        Application().ProcessMessages();
        return;
    case WM_LBUTTONDBLCLK:
        SetForegroundWindow(Application().Handle());
        Application().ProcessMessages();
        OpenSettings(spRegistration);
        return;
    case WM_RBUTTONDOWN: {
        POINT at{};
        GetCursorPos(&at);
        SetForegroundWindow(Application().Handle());
        Application().ProcessMessages();
        // The popup's owner must be a window of ours in the foreground so that the menu closes
        // when the user clicks elsewhere.
        TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle, nullptr);
        PostMessageA(Handle, WM_NULL, 0, 0);
        return;
    }
    default:
        return;
    }
}

void TMainForm::LoadTrayIcon(HICON& icon, const std::string& fileName, int fallbackIndex) {
    if (icon) DestroyIcon(std::exchange(icon, nullptr));
    if (!fileName.empty()) {
        std::string path = fileName;
        if (path.find(':') == std::string::npos) path = SkinFolder + path;
        icon = static_cast<HICON>(
            LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
    }
    if (!icon) {
        char exe[MAX_PATH * 2] = {};
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        ExtractIconExA(exe, fallbackIndex, nullptr, &icon, 1);
    }
}

void TMainForm::CreatePopupMenu1() {
    PopupMenu1 = CreatePopupMenu();
    const struct {
        int Command;
        const char* Caption;
    } items[] = {
        {cmKeyConfig, "アプリケーションの登録"},
        {cmClip, "クリップボード設定"},
        {cmCallKey, "呼び出しキー"},
        {cmWindowKey, "ウィンドウ操作"},
        {cmFontSetting, "フォント"},
        {cmColorSetting, "背景"},
        {cmPosition, "表示位置"},
        {0, nullptr},
        {cmCloseKey, "常駐解除"},
        {cmPause, "一時停止"},
        {0, nullptr},
        {cmVersion, "バージョン情報"},
    };
    for (const auto& item : items) {
        if (item.Caption)
            AppendMenuA(PopupMenu1, MF_STRING, item.Command, item.Caption);
        else
            AppendMenuA(PopupMenu1, MF_SEPARATOR, 0, nullptr);
    }
    SetMenuDefaultItem(PopupMenu1, cmKeyConfig, FALSE);
}

void TMainForm::PopupMenuCommand(int command) {
    switch (command) {
    case cmKeyConfig:
        OpenSettings(spRegistration);
        return;
    case cmClip:
        OpenSettings(spClipboard);
        return;
    case cmCallKey:
        OpenSettings(spCallKeys);
        return;
    case cmWindowKey:
        OpenSettings(spWindowKeys);
        return;
    case cmFontSetting:
        OpenSettings(spFont);
        return;
    case cmColorSetting:
        OpenSettings(spBackground);
        return;
    case cmPosition:
        OpenSettings(spPosition);
        return;
    case cmCloseKey:
        Close();
        return;
    case cmPause:
        TogglePause();
        return;
    case cmVersion:
        OpenSettings(spVersion);
        return;
    default:
        return;
    }
}
