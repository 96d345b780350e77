#pragma once
// The menu window's list control: one page of up to 26 lettered menu lines over the skin
// picture, with four page marks, the choice of a line by letters and arrows, and the drawing of
// all of it. The model (lines, choice, page, layout) is TMenuImage; where each line, glyph and
// underline goes is MenuGeometry; this class is the window, the canvas and the glue.
//
// Drawing goes to an off-screen surface of the control's size that is kept between paints and
// copied to the screen: a full paint composes the surface (background, 26 positions, marks) only
// when something invalidated it, and the partial redraws (a new choice, the focus, a page mark,
// a new page) update the surface and copy just the rectangles they changed.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/Window.h"
#include "menu/GdiBitmap.h"
#include "menu/GdiMetrics.h"
#include "menu/MenuModel.h"
#include "menu/SkinDefinition.h"

class TStringList;
class TSkinPicture;
class TMenuAccessible;

// The modifier keys held with a key event.
enum : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
};
using TShiftState = unsigned;

class TListImage : public TCustomWindow {
public:
    using TKeyEvent = std::function<void(std::uint16_t& key, TShiftState shift)>;
    using TNotifyEvent = std::function<void()>;
    using TRectEvent = std::function<void(const RECT& rect)>;

    TListImage();
    ~TListImage() override;

    // Creates the control as a child of the parent at (0, 0), 640 x 480 unless told otherwise;
    // it is a tab stop and visible with its parent.
    bool Create(HWND parent, int width = 640, int height = 480);

    TMenuImage& Menu() { return FMenu; }
    const TMenuImage& Menu() const { return FMenu; }
    // Mark 0 is the protect mark, marks 1 to 3 those of pages 1 to 3.
    TPageImage& Mark(int index) { return FMarks.at(static_cast<std::size_t>(index)); }
    TPageMarks& Marks() { return FMarks; }

    // The background where there is no skin picture.
    std::uint32_t Color() const { return FColor; }
    void SetColor(std::uint32_t value);
    // Extra pixels per menu row when the menu height comes from the font; below 0 is refused.
    int LineSpace() const { return FLineSpace; }
    void SetLineSpace(int value);

    // The composed skin picture, copied at 24 bits per pixel (nullptr empties it); the marks'
    // frames are composed over it again and the whole control waits for a paint.
    void SetPicture(HBITMAP picture);
    HBITMAP Picture() const { return FPicture.Handle(); }
    bool PictureEmpty() const { return FPicture.Empty(); }
    // The picture's palette, owned by the control from now on (nullptr for none).
    void SetPalette(HPALETTE palette);
    HPALETTE GetPalette() const { return FPalette; }

    // A mark's loaded frames, stacked vertically (copied at 24 bits per pixel). Its composed
    // frames are made by CreateMask, which a new picture runs for every mark.
    void SetMarkBitmap(int index, HBITMAP frames);
    // Composes the frames of one mark over the skin background into the right half of its
    // bitmap; an index outside 0..3 raises ERangeError.
    void CreateMask(int index);

    // Reads a skin definition (the lines; bitmap names relative to the folder of info's Path) and
    // gives the control its look: the menu's colours, area and line space, the picture with the
    // marks composed over it, the palette; the control takes the picture's size. info gets the
    // window's size, shape and tray icon names; region, when given and the skin is shaped, the
    // window region, which the caller then owns. Pictures named without "." come from the skin
    // library, loaded for the call. False with the reason in error: the control keeps its look.
    // The menu font must be set first: a menu area that follows the window's height is never
    // lower than the font needs.
    // The skin is composed once at its design scale and kept: the control shows it at its own
    // scale (Dpi), and info gets the window's size at that scale.
    bool LoadSkinData(TSkinInfo& info, const TStringList& lines, std::string& error,
                      HRGN* region = nullptr);
    // The display scale in dots per inch (96 at first): the skin's picture, areas and marks are
    // shown at dpi / 96 of their design, the font at the scale's own size. A new scale shows the
    // kept skin at once and gives, as LoadSkinData does, the window's size and shape; false when
    // the scale is the one shown or there is no skin yet (only the scale is kept then).
    int Dpi() const { return FDpi; }
    bool SetDpi(int dpi, TSkinInfo& info, HRGN* region = nullptr);
    // The skin library ("Skin.dll" by the system's search), loaded once until UnloadDLL.
    bool LoadDLL();
    void UnloadDLL();

    // The menu area's height that the font needs (13 rows of up to three text lines and the
    // line space).
    int GetWindowHeight();

    // The key handling: the owner's OnKeyDown first; a key it leaves non-zero goes to the menu's
    // own navigation.
    void KeyDown(std::uint16_t& key, TShiftState shift);

    // Drawing (see the class comment).
    void Paint();
    void DrawMenu(bool backgroundDrawn);
    void ItemRepaint(int index, bool selected, bool backgroundDrawn);
    void DrawBaseImage(HDC dc);
    void DrawPageIndex(const TPageImage& mark);
    void BeginDraw();
    void EndDraw();
    // Copies the whole control as it shows (composing it first if needed) onto the device
    // context at (0, 0); the same path serves WM_PRINTCLIENT.
    void RenderTo(HDC dc);
    // Marks the whole control for a fresh composition at the next paint.
    void Invalidate();
    // Gives up the off-screen surface (the control's largest memory after its picture); the next
    // paint composes a new one.
    void ReleaseSurface();

    bool Focused() const { return Handle && GetFocus() == Handle; }

    // For accessibility clients: the menu's name ("ランチャ", "クリップボード"), which with the
    // page names the list; a new name is announced while the list shows.
    const std::string& MenuName() const { return FMenuName; }
    void SetMenuName(const std::string& name);
    // The screen rectangle of the line at a child id (1..26 on the shown page), at the scale
    // shown; false for another id.
    bool LineScreenRect(int child, RECT& rect);
    // Tells accessibility clients that the menu popped up or went away.
    void AnnouncePopup(bool shown);

    // Events for the owner.
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    // Told of every rectangle that a partial redraw copies to the screen.
    TRectEvent OnScreenUpdate;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Reactions to the model.
    void ItemsChanged();
    void IndexChanging();
    void IndexChanged();
    void PageChanged(int oldPage, int newPage);
    void ChangePage(int pageCount);
    void PageIndexChanged(const TPageImage& mark);
    void PictureChanged();
    void DoEnter();
    void DoExit();
    // A change for accessibility clients, told only while the list shows.
    void Announce(DWORD event, LONG child);
    void DrawFocus();

    // The off-screen surface.
    bool EnsureSurface();
    void Compose();
    void Damage(const RECT& rect);
    void FlushDamage();
    void CopyToScreen(HDC dc, const RECT& rect);
    void EraseRect(HDC dc, const RECT& rect);
    bool ShowingOnScreen() const;

    TShiftState KeyShiftState(LPARAM lParam) const;
    bool HandleKey(UINT message, WPARAM wParam, LPARAM lParam);

    std::uint32_t FColor = 0;
    TMemoryBitmap FPicture;
    HPALETTE FPalette = nullptr;
    HPALETTE FSavedPalette = nullptr;
    bool FDrawing = false;
    int FLineSpace = 4;
    TMenuImage FMenu;
    TPageMarks FMarks;
    TMemoryBitmap FMarkBitmaps[4];
    int FMarkLoadedHeights[4] = {};
    TMenuFonts FFonts;

    TMemoryBitmap FSurface;
    bool FComposed = false;
    bool FComposing = false;
    std::vector<RECT> FDamage;
    // The skin as composed at its design scale, and the scale shown. Shown at the design scale,
    // the kept picture gives its background up to the control's own copy, and takes it back from
    // there before another scale is shown; false when that copy cannot be made.
    bool ShowSkinAtDpi(TSkinInfo& info, HRGN* region);
    // Takes what a composition made, as a skin load ends: each loaded mark its bounds, frames
    // (two), transparency and no frame shown; then the picture, over which the marks' frames are
    // composed again; then a copy of the palette; the control takes the picture's size. Marks
    // that did not load keep what they had.
    void InstallPicture(const TSkinDefinition& skin, const TSkinPicture& picture);
    int FDpi = 96;
    struct TKeptSkin {
        TSkinDefinition Skin;
        TSkinInfo Info; // what the definition told the caller
        std::unique_ptr<TSkinPicture> Picture;
    };
    std::unique_ptr<TKeptSkin> FKept;
    bool FSwallowSysChar = false;
    HMODULE FDll = nullptr;
    std::string FMenuName;
    // Made at the first question of an accessibility client; cut off as the control goes.
    TMenuAccessible* FAccessible = nullptr;
};
