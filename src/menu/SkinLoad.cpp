// The list control's skin load: a definition read, composed and installed in one step.
#include <exception>

#include "frame/StringList.h"
#include "menu/SkinCompose.h"
#include "menu/listimage.h"

namespace {
// The skin library's picture export: fills the handle with a new bitmap that the caller owns.
using TGetSkinBitmap = BOOL(WINAPI*)(const char* name, HBITMAP* bitmap);
} // namespace

bool TListImage::LoadDLL() {
    if (FDll) return true;
    FDll = LoadLibraryA("Skin.dll");
    return FDll != nullptr;
}

void TListImage::UnloadDLL() {
    if (FDll) FreeLibrary(FDll);
    FDll = nullptr;
}

bool TListImage::LoadSkinData(TSkinInfo& info, const TStringList& lines, std::string& error,
                              HRGN* region) {
    if (region) *region = nullptr;
    TIniStringList ini;
    ini.SetItems(lines);
    // The font's height is asked at the definition's line space; a failed load puts it back.
    const int formerLineSpace = FLineSpace;
    auto fail = [&](const std::string& reason) {
        SetLineSpace(formerLineSpace);
        error = reason;
        return false;
    };
    const TSkinDefinition skin = ReadSkinDefinition(ini, info, [this](int lineSpace) {
        SetLineSpace(lineSpace);
        return GetWindowHeight();
    });
    if (!skin.Ok) return fail(skin.Error);
    // The library is asked only for names without ".", so a skin of files never loads it.
    const TSkinLibraryImages library = [this](const std::string& name) -> HBITMAP {
        if (!LoadDLL()) return nullptr;
        const auto get = LibraryExport<TGetSkinBitmap>(FDll, "_GetSkinBitmap");
        HBITMAP bitmap = nullptr;
        return get && get(name.c_str(), &bitmap) ? bitmap : nullptr;
    };
    TSkinComposeResult composed;
    try {
        composed = ComposeSkin(skin, library);
    } catch (const std::exception& e) {
        composed.Ok = false;
        composed.Error = e.what();
    }
    UnloadDLL();
    if (!composed.Ok) return fail(composed.Error);
    ApplySkinToMenu(skin, FMenu);
    SetLineSpace(skin.LineSpace);
    SetColor(skin.Color);
    InstallSkinPicture(*this, skin, *composed.Picture);
    if (region && skin.Transparent) *region = composed.Picture->Region.Release();
    return true;
}
