#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>

#include "DialogDriver.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SettingsDialogIds.h"
#include "system/AnsiPath.h"
#include "system/BFolder.h"

// Paths handed to the program in UTF-16 become its ANSI paths exactly, in their short form, or
// not at all: through the conversion itself, a drop on the registration grid, the program
// chooser and the folder chooser.

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
                    CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()))) -
                1);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size() * 2 + 1, '\0');
    narrow.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1,
                                                               narrow.data(),
                                                               static_cast<int>(narrow.size()),
                                                               nullptr, nullptr)) -
                  1);
    return narrow;
}

// A folder whose name the code page cannot hold, with a file in it; removed at the end (the
// test folder's own removal goes by ANSI names).
class TForeignFolder {
public:
    explicit TForeignFolder(const std::string& parent)
        : Folder(Wide(parent) + L"\\caf\u00e9 \u00fc"), File(Folder + L"\\tool.exe") {
        CreateDirectoryW(Folder.c_str(), nullptr);
        HANDLE file = CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "MZ", 2, &written, nullptr);
        CloseHandle(file);
    }
    ~TForeignFolder() {
        DeleteFileW(File.c_str());
        RemoveDirectoryW(Folder.c_str());
    }
    const std::wstring Folder, File;
};

// The path names the file that holds "MZ".
bool NamesTheTool(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char bytes[8] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    return read == 2 && std::memcmp(bytes, "MZ", 2) == 0;
}

// A drop of one file in UTF-16, as the shell makes it.
HDROP WideDropOf(const std::wstring& file) {
    const std::size_t bytes = (file.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(),
                file.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Answers the next message box with OK and returns its text.
std::wstring AnswerBox() {
    HWND box = WaitForDialog("てんみ");
    if (!box) return L"(no message box)";
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

} // namespace

TEST(AnsiPath, KeepsAPathExactlyTakesTheShortFormOrRefusesNamingIt) {
    ASSERT_EQ(GetACP(), 932u);
    TTestFolder folder("MirtoAnsiPath");
    std::string ansi;
    std::wstring refusal;
    // What the code page holds stays as it is, up to 259 bytes.
    ASSERT_TRUE(AnsiPathOf(Wide(folder.Path()) + L"\\表 ソ.exe", ansi, refusal));
    EXPECT_EQ(ansi, folder.Path() + "\\表 ソ.exe");
    const std::wstring longest = L"C:\\" + std::wstring(254, L'a') + L"表";
    ASSERT_TRUE(AnsiPathOf(longest, ansi, refusal));
    EXPECT_EQ(ansi.size(), 259u);
    const std::wstring tooLong = longest + L"b";
    EXPECT_FALSE(AnsiPathOf(tooLong, ansi, refusal));
    EXPECT_NE(refusal.find(L"\"" + tooLong + L"\""), std::wstring::npos);
    EXPECT_NE(refusal.find(L"長すぎる"), std::wstring::npos);

    // Characters outside the code page ("é" is not made "e"): the short form of an existing
    // file, or a refusal naming the path.
    TForeignFolder foreign(folder.Path());
    ASSERT_TRUE(AnsiPathOf(foreign.File, ansi, refusal)) << Narrow(refusal);
    EXPECT_EQ(ansi.find('?'), std::string::npos) << ansi;
    EXPECT_TRUE(NamesTheTool(ansi)) << ansi;
    const std::wstring missing = foreign.Folder + L"\\missing.exe";
    EXPECT_FALSE(AnsiPathOf(missing, ansi, refusal));
    EXPECT_NE(refusal.find(L"\"" + missing + L"\""), std::wstring::npos);
}

TEST(AnsiPath, ADropTooLongIsRefusedAndAForeignNameDroppedOrChosenIsRegisteredByItsShortForm) {
    TTestFolder folder("MirtoDroppedPath");
    TForeignFolder foreign(folder.Path());
    TSettingsDialogData data;
    TSettingsDialog dialog(data);
    TModalRun run([&] { return static_cast<int>(dialog.Execute(nullptr, 0, 0, 0, 460, 452)); });
    HWND frame = WaitForDialog("詳細設定");
    ASSERT_NE(frame, nullptr);
    HWND grid = Descendant(frame, IDC_DROPCATCHGRID1);
    HWND path = Descendant(frame, IDC_EDIT2);
    SetCursorPos(0, 0);
    auto drop = [grid](const std::wstring& file) {
        std::thread([grid, hdrop = WideDropOf(file)] {
            SendMessageA(grid, WM_DROPFILES, reinterpret_cast<WPARAM>(hdrop), 0);
        }).detach();
    };

    const std::wstring tooLong = Wide(folder.Path()) + L"\\" + std::wstring(300, L'x') + L".exe";
    drop(tooLong);
    const std::wstring message = AnswerBox();
    EXPECT_NE(message.find(tooLong), std::wstring::npos) << Narrow(message);
    EXPECT_EQ(WindowText(path), "") << "a cut path was registered";

    drop(foreign.File);
    ASSERT_TRUE(WaitFor([&] { return !WindowText(path).empty(); })) << "nothing registered";
    EXPECT_EQ(WindowText(path).find('?'), std::string::npos) << WindowText(path);
    EXPECT_TRUE(NamesTheTool(WindowText(path))) << WindowText(path);

    // The same file chosen with the browse button's chooser. Posted: the chooser runs its own
    // message loop inside the click.
    SetWindowTextA(path, "");
    HWND browse = Descendant(frame, IDC_BUTTON_BROWSE);
    PostMessageA(GetParent(browse), WM_COMMAND, MAKEWPARAM(IDC_BUTTON_BROWSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(browse));
    HWND chooser = WaitForDialogOf(run, frame);
    ASSERT_NE(chooser, nullptr) << "no chooser";
    // Typed into the chooser's file name box (cmb13).
    SetDlgItemTextW(chooser, 0x47c, foreign.File.c_str());
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !WindowText(path).empty(); })) << "nothing chosen";
    EXPECT_EQ(WindowText(path).find('?'), std::string::npos) << WindowText(path);
    EXPECT_TRUE(NamesTheTool(WindowText(path))) << WindowText(path);
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(run.Result(), IDCANCEL);
}

TEST(AnsiPath, TheFolderChooserGivesAForeignFolderByItsShortForm) {
    TTestFolder folder("MirtoChosenPath");
    TForeignFolder foreign(folder.Path());
    TBrowseForFolder chooser;
    chooser.SetNewStyle(false);
    TModalRun run([&] { return chooser.Execute() ? 1 : 0; });
    HWND dialog = WaitForDialogOf(run);
    ASSERT_NE(dialog, nullptr);
    // Selected as a click in the tree would: by the folder's item list.
    PIDLIST_ABSOLUTE item = nullptr;
    ASSERT_EQ(SHParseDisplayName(foreign.Folder.c_str(), nullptr, &item, 0, nullptr), S_OK);
    SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item));
    CoTaskMemFree(item);
    Click(dialog, IDOK);
    ASSERT_EQ(run.Result(), 1);
    EXPECT_EQ(chooser.Directory.find('?'), std::string::npos) << chooser.Directory;
    EXPECT_TRUE(NamesTheTool(chooser.Directory + "\\tool.exe")) << chooser.Directory;
}
