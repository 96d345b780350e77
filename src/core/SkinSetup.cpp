// The main form's skin: the definition from the skin file or the skin library, the window's size
// and shape, the tray pictures, and what the user is told when the skin cannot be made.
#include <exception>
#include <utility>
#include <vector>

#include "core/MainForm.h"
#include "frame/MessageBox.h"
#include "frame/StringList.h"
#include "menu/SkinCompose.h"
#include "skinlib/StandardSkin.h"
#include "system/HighContrast.h"
#include "system/PathsWin.h"

namespace {
using TSetApplicationHandle = BOOL(WINAPI*)(HWND application);
using TReadIniFile = BOOL(WINAPI*)(char* buffer, const char* settingsPath);
// The definition buffer handed to the skin library, the terminating zero included.
constexpr std::size_t SkinLibraryBufferSize = 262144;
} // namespace

bool TMainForm::ReadStandardSkin(TStringList& lines, std::string& failure) {
    const std::string path = ProgramFolder() + "Skin.dll";
    if (!SkinLibrary) {
        SkinLibrary = LoadLibraryA(path.c_str());
        if (!SkinLibrary) {
            failure = "\"" + path + "\" を読み込めませんでした。";
            return false;
        }
        if (const auto set =
                LibraryExport<TSetApplicationHandle>(SkinLibrary, "_SetApplicationHandle"))
            set(Application().Handle());
    }
    const auto read = LibraryExport<TReadIniFile>(SkinLibrary, "_ReadIniFile");
    std::vector<char> buffer(SkinLibraryBufferSize, '\0');
    if (!read || !read(buffer.data(), SettingsFile.Path().c_str())) {
        failure = "\"" + path + "\" が標準の背景を作れませんでした。";
        return false;
    }
    // A library that filled the whole buffer still gets a terminated text.
    buffer.back() = '\0';
    lines.SetText(buffer.data());
    return true;
}

void TMainForm::SetupSkin() {
    TSkinInfo info;
    info.Path = Settings.Skin;
    TStringList lines;
    std::string failure;
    bool found = false;
    try {
        if (Settings.Skin.empty()) {
            found = ReadStandardSkin(lines, failure);
            // A library that gives the empty definition gives the plain look.
            if (found) lines = PlainLookLines(lines, HighContrastOn());
        } else {
            info.Path = ProgramFolder() + Settings.Skin;
            TIniStringList file;
            file.LoadFromFile(info.Path);
            lines = file.Items();
            found = true;
        }
    } catch (const std::exception& e) {
        failure = e.what();
    }
    SkinFolder =
        Settings.Skin.empty() ? ProgramFolder() + Settings.SkinDir : SkinFolderOf(info.Path);
    HRGN region = nullptr;
    SkinReady = found && ListImage1.LoadSkinData(info, lines, failure, &region);
    HRGN keptShape = std::exchange(KeptShape, nullptr);
    if (SkinReady) {
        TakeSkinShape(info, region);
    } else if (keptShape && !Shaped && !ListImage1.PictureEmpty()) {
        // The earlier picture stays, with its shape.
        if (SetWindowRgn(Handle, keptShape, TRUE)) {
            Shaped = true;
            keptShape = nullptr;
        }
    }
    if (keptShape) DeleteObject(keptShape);
    if (!SkinReady && ListImage1.PictureEmpty()) {
        // No earlier skin to keep: the plain look of an empty definition, so that the menu
        // still shows (720 x 480 at 96 dots per inch, black).
        TSkinInfo plain;
        std::string ignored;
        if (ListImage1.LoadSkinData(plain, PlainLookLines(TStringList(), HighContrastOn()),
                                    ignored))
            TakeSkinShape(plain, nullptr);
    }
    LoadTrayIcon(NormalIcon, SkinReady ? info.EnableIcon : std::string(), 0);
    LoadTrayIcon(PausedIcon, SkinReady ? info.DisableIcon : std::string(), 1);
    NotifyIcon(-1, NIM_MODIFY);
    if (SkinReady) return;
    std::string text = "背景が正しく生成されませんでした。\n設定を見直してくださいね。";
    text += "\n\n";
    text += Settings.Skin.empty() ? "標準の背景 (Skin.dll)" : info.Path;
    if (!failure.empty()) text.append("\n").append(failure);
    StopMenuTimers();
    ShowMessageBox(Application().Handle(), text, MB_ICONSTOP);
    OpenSettings(spBackground);
}

void TMainForm::TakeSkinShape(const TSkinInfo& skin, HRGN region) {
    // The window keeps the skin's size where it stands.
    FixedWidth = skin.Width;
    FixedHeight = skin.Height;
    SetWindowPos(Handle, nullptr, 0, 0, skin.Width, skin.Height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!region) {
        ReleaseSkinRegion();
        return;
    }
    // The window owns the region from now on, and frees the one it had.
    if (SetWindowRgn(Handle, region, TRUE))
        Shaped = true;
    else
        DeleteObject(region);
}

void TMainForm::ScaleMenu(int dpi) {
    TSkinInfo info;
    HRGN region = nullptr;
    if (ListImage1.SetDpi(dpi, info, &region)) TakeSkinShape(info, region);
}

void TMainForm::KeepShape() {
    if (KeptShape) DeleteObject(std::exchange(KeptShape, nullptr));
    if (!Shaped) return;
    KeptShape = CreateRectRgn(0, 0, 0, 0);
    if (KeptShape && GetWindowRgn(Handle, KeptShape) == ERROR)
        DeleteObject(std::exchange(KeptShape, nullptr));
}

void TMainForm::ReleaseSkinRegion() {
    if (!Shaped) return;
    // The system frees the region it took with SetWindowRgn.
    ::ReleaseSkinRegion(Handle);
    Shaped = false;
}
