// What the menu window shows, the keys inside the menu, and acting on the chosen line.
#include "core/MainForm.h"
#include "frame/MessageBox.h"
#include "launcher/LaunchWin.h"
#include "settings/KeyCode.h"

namespace {
// The menu command key that a virtual key gives (Tab, Enter, Space, End, BackSpace, Pause or
// Control+Break), or -1.
int CommandCodeOfKey(int virtualKey) {
    for (int code = 0; code <= 5; ++code)
        if (CommandKeyMatches(code, virtualKey)) return code;
    return -1;
}
} // namespace

void TMainForm::ShowLauncherLines() {
    if (!ClipboardMode) return;
    TMenuImage& menu = ListImage1.Menu();
    menu.SetPageCount(PageCount);
    TStringList names;
    for (int i = 0; i < LaunchItems->Count(); ++i)
        names.Add(LaunchItems->GetName(i));
    menu.SetItems(names);
    ListImage1.SetMenuName("ランチャ");
    ListImage1.Mark(ProtectMark).SetImageIndex(-1);
    ClipboardMode = false;
}

void TMainForm::ShowClipboardLines() {
    ListImage1.SetMenuName("クリップボード");
    // The lines shown stay as they are while the menu is up: the user chooses from what is seen,
    // and copies that arrive meanwhile show on the next call.
    if (ClipboardMode && (!History->Modified() || IsWindowVisible(Handle))) return;
    TMenuImage& menu = ListImage1.Menu();
    menu.SetPageCount(0);
    menu.SetItems(History->Items());
    ClipboardMode = true;
    ListImage1.Mark(ProtectMark).SetImageIndex(History->Protect() ? 0 : 1);
    History->SetModified(false);
}

void TMainForm::RestoreLauncherPage() {
    TMenuImage& menu = ListImage1.Menu();
    if (Settings.PageMemory && RememberedPage <= menu.GetPageCount())
        menu.SetPageIndex(RememberedPage);
    else
        menu.SetPageIndex(1);
}

void TMainForm::FormShow() {
    if (ClipboardMode)
        ListImage1.Menu().SetPageIndex(1);
    else
        RestoreLauncherPage();
    ListImage1.Menu().SetItemIndex(-1);
}

void TMainForm::FormHide() {
    StopMenuTimers();
    TMenuImage& menu = ListImage1.Menu();
    if (!ClipboardMode) RememberedPage = menu.GetPageIndex();
    const int i = menu.ItemIndex();
    if (i >= 0 && i < menu.Count() && ClipboardMode) {
        PasteChosenText(i);
    } else if (i >= 0 && i < menu.Count()) {
        if (!LaunchItem(*LaunchItems, i)) {
            const DWORD error = GetLastError();
            ShowLaunchFailure(Application().Handle(), LaunchItems->GetPath(i), error);
        }
    }
    ShowWindow(Application().Handle(), SW_HIDE);
}

void TMainForm::ListImage1KeyDown(std::uint16_t& key, TShiftState) {
    int result = 0;
    const int code = CommandCodeOfKey(key);
    if (code >= 0) {
        result = MenuKey(code);
    } else if (key >= '1' && key <= '3') {
        ListImage1.Menu().SetPageIndex(key - '0');
        // Taken here: with Alt held, the system would look for a menu accelerator and beep.
        key = 0;
    } else if (key == VK_F12) {
        result = 3;
    } else {
        const int pair = CallPairHeld();
        if (pair == 0 && ClipboardMode) {
            ShowLauncherLines();
            RestoreLauncherPage();
            return;
        }
        if (pair == 1 && !ClipboardMode) {
            ShowClipboardLines();
            return;
        }
    }
    if (result == -1) {
        key = 0;
        result = 0;
    }
    if (result > 0) {
        ListImage1.Menu().SetItemIndex(-1);
        key = 0;
    }
    switch (result) {
    case 1:
        if (Settings.Hold) HideMenu();
        break;
    case 2:
        OpenSettings(ClipboardMode ? spClipboard : spRegistration);
        break;
    case 3:
        OpenSettings(spVersion);
        break;
    case 4:
        PostMessageA(Handle, WM_CLOSE, 0, 0);
        return;
    default:
        break;
    }
    if (Settings.Hold) {
        if (key == VK_ESCAPE) {
            key = 0;
            HideMenu();
        } else if (key >= VK_LEFT && key <= VK_DOWN) {
            key = 0;
        }
    }
}

int TMainForm::MenuKey(int code) {
    TMenuImage& menu = ListImage1.Menu();
    if (code == Settings.PageChangeKey) {
        const int next = menu.GetPageIndex() + 1;
        menu.SetPageIndex(next > menu.GetPageCount() ? 1 : next);
        return -1;
    }
    if (code == Settings.SettingKey) return 2;
    if (code == Settings.SelectCancelKey) return 1;
    if (code == Settings.QuitKey) return 4;
    if (code == Settings.DeleteKey && ClipboardMode) {
        StopMenuTimers();
        AutoHideAllowed = false;
        const int answer = ShowMessageBox(Application().Handle(),
                                          "クリップボードの履歴をクリアしてよろしいでしょうか？",
                                          MB_YESNO | MB_ICONQUESTION);
        AutoHideAllowed = true;
        if (answer == IDYES) {
            History->Clear();
            HistoryChanged();
            menu.SetItems(TStringList());
            HandForegroundBack();
            AutoHideCheck();
            return -1;
        }
        AutoHideCheck();
    }
    if (code == Settings.ProtectKey && ClipboardMode) {
        History->SetProtect(!History->Protect());
        ListImage1.Mark(ProtectMark).SetImageIndex(History->Protect() ? 0 : 1);
        return -1;
    }
    return 0;
}

void TMainForm::ListImage1KeyUp(std::uint16_t&, TShiftState) {
    Timer2.SetEnabled(true);
    AutoHideCheck();
}
