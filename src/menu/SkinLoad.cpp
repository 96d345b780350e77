// The list control's skin load: a definition read, composed and installed in one step.
#include <exception>

#include "frame/StringList.h"
#include "menu/SkinCompose.h"
#include "menu/ListImage.h"
#include "system/PathsWin.h"

namespace {
// The skin library's picture export: fills the handle with a new bitmap that the caller owns.
using TGetSkinBitmap = BOOL(WINAPI*)(const char* name, HBITMAP* bitmap);
} // namespace

bool TListImage::LoadDLL() {
    if (FDll) return true;
    // The program folder's library only: never one that the search would find elsewhere.
    FDll = LoadLibraryA((ProgramFolder() + "Skin.dll").c_str());
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
    // Asked in design pixels: the font at this scale, measured back to the design.
    const TSkinDefinition skin = ReadSkinDefinition(ini, info, [this](int lineSpace) {
        SetLineSpace(ScaleToDpi(lineSpace, FDpi));
        return DesignLengthAt(GetWindowHeight(), FDpi);
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
    FKept = std::make_unique<TKeptSkin>(TKeptSkin{skin, info, std::move(composed.Picture)});
    return ShowSkinAtDpi(info, region);
}

bool TListImage::SetDpi(int dpi, TSkinInfo& info, HRGN* region) {
    if (region) *region = nullptr;
    if (dpi <= 0 || dpi == FDpi) return false;
    FDpi = dpi;
    Invalidate();
    if (!FKept) return false;
    return ShowSkinAtDpi(info, region);
}

void TListImage::InstallPicture(const TSkinDefinition& skin, const TSkinPicture& picture) {
    for (std::size_t k = 0; k < picture.Marks.size(); ++k) {
        const TSkinMarkPicture& mark = picture.Marks[k];
        if (!mark.Loaded) continue;
        TPageImage& target = Mark(static_cast<int>(k));
        target.SetBounds(mark.Left, mark.Top, mark.Width, mark.Height);
        TGdiObject<HBITMAP> frames = LooseBitmapCopy(mark.Frames);
        SetMarkBitmap(static_cast<int>(k), frames.Get());
        target.SetImageCount(2);
        target.SetImageIndex(-1);
        if (skin.Marks[k].TransparentColor) target.SetTransparentColor(mark.TransparentColor);
        target.SetTransparent(mark.Transparent);
    }
    // The background stays selected into its own device context: the control gets a copy.
    TGdiObject<HBITMAP> background = LooseBitmapCopy(picture.Background);
    SetPicture(background.Get());
    SetPalette(CopyPalette(picture.Palette.Get()));
    if (Handle)
        SetWindowPos(Handle, nullptr, 0, 0, picture.Width(), picture.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TListImage::ShowSkinAtDpi(TSkinInfo& info, HRGN* region) {
    TMemoryBitmap& design = FKept->Picture->Background;
    if (design.Empty()) {
        // Given up at the design scale: the control's picture is that background, pixel for pixel.
        if (FPicture.Empty() || !design.Create24(FPicture.Width, FPicture.Height)) return false;
        BitBlt(design.Dc(), 0, 0, design.Width, design.Height, FPicture.Dc(), 0, 0, SRCCOPY);
    }
    const TSkinDefinition skin = ScaledSkinGeometry(FKept->Skin, FDpi);
    ApplySkinToMenu(skin, FMenu);
    SetLineSpace(skin.LineSpace);
    SetColor(skin.Color);
    std::unique_ptr<TSkinPicture> scaled;
    if (FDpi != DesignDpi) scaled = ScaleSkinPicture(*FKept->Picture, FDpi);
    InstallPicture(skin, scaled ? *scaled : *FKept->Picture);
    info = FKept->Info;
    info.Width = ScaleToDpi(info.Width, FDpi);
    info.Height = ScaleToDpi(info.Height, FDpi);
    if (region && skin.Transparent && FKept->Picture->Region) {
        HRGN shape = FKept->Picture->Region.Get();
        if (FDpi == DesignDpi) {
            *region = CreateRectRgn(0, 0, 0, 0);
            if (*region) CombineRgn(*region, shape, nullptr, RGN_COPY);
        } else {
            *region = ScaleRegion(shape, FDpi);
        }
    }
    // The menu stays resident: one copy of the picture is enough where the scales agree.
    if (FDpi == DesignDpi && FPicture.Width == design.Width && FPicture.Height == design.Height)
        design.Free();
    return true;
}
