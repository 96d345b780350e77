// The list control's drawing: the off-screen surface, the background, the 26 positions of the
// shown page glyph by glyph, the chosen line's underline, the page marks and their frames.
#include <algorithm>

#include "frame/Errors.h"
#include "menu/ListImage.h"

namespace {

RECT ToRect(const TMenuRect& r) {
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

void Unite(RECT& into, const RECT& more) {
    into.left = std::min(into.left, more.left);
    into.top = std::min(into.top, more.top);
    into.right = std::max(into.right, more.right);
    into.bottom = std::max(into.bottom, more.bottom);
}

void FillWith(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// Text drawn from its top-left corner, clipped to the line's rectangle, without a background.
void DrawClipped(HDC dc, int x, int y, const RECT& clip, const std::string& text) {
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()), nullptr);
}

// The ternary raster operation "destination AND NOT source".
constexpr DWORD RopDestinationAndNotSource = 0x00220326;

} // namespace

bool TListImage::EnsureSurface() {
    if (!Handle) return false;
    RECT client{};
    GetClientRect(Handle, &client);
    if (client.right <= 0 || client.bottom <= 0) return false;
    if (!FSurface.Empty() && FSurface.Width == client.right && FSurface.Height == client.bottom)
        return true;
    HDC screen = GetDC(Handle);
    const bool made = FSurface.CreateForDisplay(screen, client.right, client.bottom);
    ReleaseDC(Handle, screen);
    FComposed = false;
    return made && !FSurface.Empty();
}

void TListImage::Compose() {
    if (!EnsureSurface()) return;
    FComposing = true;
    BeginDraw();
    DrawBaseImage(FSurface.Dc());
    FComposed = true;
    DrawMenu(true);
    for (const TPageImage& mark : FMarks)
        DrawPageIndex(mark);
    EndDraw();
    FComposing = false;
    FDamage.clear();
}

void TListImage::ReleaseSurface() {
    FSurface.Free();
    Invalidate();
}

void TListImage::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle, &ps);
    if (!FComposed) Compose();
    if (FComposed) CopyToScreen(dc, ps.rcPaint);
    EndPaint(Handle, &ps);
}

void TListImage::RenderTo(HDC dc) {
    if (!FComposed) Compose();
    if (FComposed) CopyToScreen(dc, RECT{0, 0, FSurface.Width, FSurface.Height});
}

void TListImage::CopyToScreen(HDC dc, const RECT& rect) {
    HPALETTE old = nullptr;
    if (FPalette) {
        old = SelectPalette(dc, FPalette, TRUE);
        RealizePalette(dc);
    }
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FSurface.Dc(),
           rect.left, rect.top, SRCCOPY);
    if (old) SelectPalette(dc, old, TRUE);
}

void TListImage::Damage(const RECT& rect) {
    if (!FComposing) FDamage.push_back(rect);
}

void TListImage::FlushDamage() {
    if (FDamage.empty() || !Handle || !FComposed) {
        FDamage.clear();
        return;
    }
    HDC dc = GetDC(Handle);
    for (const RECT& rect : FDamage) {
        CopyToScreen(dc, rect);
        if (OnScreenUpdate) OnScreenUpdate(rect);
    }
    ReleaseDC(Handle, dc);
    FDamage.clear();
}

void TListImage::BeginDraw() {
    if (FDrawing) return;
    FDrawing = true;
    if (FPalette && FSurface.Dc()) {
        FSavedPalette = SelectPalette(FSurface.Dc(), FPalette, TRUE);
        RealizePalette(FSurface.Dc());
    }
}

void TListImage::EndDraw() {
    if (!FDrawing) return;
    if (FSavedPalette && FSurface.Dc()) SelectPalette(FSurface.Dc(), FSavedPalette, TRUE);
    FSavedPalette = nullptr;
    FDrawing = false;
    FlushDamage();
}

void TListImage::DrawBaseImage(HDC dc) {
    if (FPicture.Empty()) {
        RECT client{};
        if (Handle) GetClientRect(Handle, &client);
        FillWith(dc, client, ResolveColor(FColor));
        return;
    }
    BitBlt(dc, 0, 0, FPicture.Width, FPicture.Height, FPicture.Dc(), 0, 0, SRCCOPY);
}

void TListImage::EraseRect(HDC dc, const RECT& rect) {
    if (FPicture.Empty()) {
        FillWith(dc, rect, ResolveColor(FColor));
        return;
    }
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FPicture.Dc(),
           rect.left, rect.top, SRCCOPY);
}

void TListImage::DrawMenu(bool backgroundDrawn) {
    const int end = FMenu.GetPageIndex() * FMenu.GetPerPage();
    for (int i = FMenu.GetFirstIndex(); i < end; ++i)
        ItemRepaint(i, i == FMenu.ItemIndex(), backgroundDrawn);
}

void TListImage::ItemRepaint(int index, bool selected, bool backgroundDrawn) {
    // Until the surface is composed, the next paint draws everything anyway.
    if (!FComposed || FSurface.Empty()) return;
    FFonts.Update(FMenu.Font(), FDpi);
    HDC dc = FSurface.Dc();
    const TGdiTextMetrics metrics(dc, FFonts);
    TItemLayout layout;
    if (!LayoutItem(FMenu, metrics, index, layout)) return;

    const RECT rect = ToRect(layout.Rect);
    const int top = rect.top;
    if (!backgroundDrawn) EraseRect(dc, rect);
    RECT changed = rect;

    const bool relation = FMenu.Relation();
    const COLORREF shadow = ResolveColor(FMenu.RelationColor());
    const COLORREF color = ResolveColor(FMenu.GetFontColor(selected, Focused()));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

    // The letter label, in the font's Latin glyphs.
    SelectObject(dc, FFonts.Get(AnsiCharset));
    if (relation) {
        SetTextColor(dc, shadow);
        for (int dx : {-1, 0})
            for (int dy : {-1, 0})
                DrawClipped(dc, layout.LabelX + dx, top + dy, rect, layout.Label);
    }
    SetTextColor(dc, color);
    DrawClipped(dc, layout.LabelX, top, rect, layout.Label);

    // The text, each glyph in its own character set.
    for (const TMenuGlyph& glyph : layout.Glyphs) {
        SelectObject(dc, FFonts.Get(glyph.Charset));
        if (relation) {
            SetTextColor(dc, shadow);
            for (int dx : {-1, 0})
                for (int dy : {-1, 0})
                    DrawClipped(dc, glyph.X + dx, top + GlyphOffset(glyph, layout.Unit, dy), rect,
                                glyph.Text);
        }
        SetTextColor(dc, color);
        DrawClipped(dc, glyph.X, top + GlyphOffset(glyph, layout.Unit), rect, glyph.Text);
    }

    // The chosen line's underlines (or bars with the shadow on), not clipped to the line.
    const std::vector<TMenuRect> underlines =
        selected ? Underlines(layout, relation) : std::vector<TMenuRect>{};
    if (!underlines.empty()) {
        const COLORREF underlineColor = ResolveColor(FMenu.GetFontColor(true, Focused()));
        SetROP2(dc, R2_COPYPEN);
        HPEN pen = CreatePen(PS_SOLID, 1, relation ? shadow : underlineColor);
        HBRUSH brush = CreateSolidBrush(underlineColor);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        for (const TMenuRect& u : underlines) {
            if (relation) {
                Rectangle(dc, u.Left, u.Top, u.Right, u.Bottom);
                Unite(changed, RECT{u.Left, u.Top, u.Right, u.Bottom});
            } else {
                MoveToEx(dc, u.Left, u.Top, nullptr);
                LineTo(dc, u.Right, u.Bottom);
                Unite(changed, RECT{u.Left, u.Top, u.Right, u.Bottom + 1});
            }
        }
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
    Damage(changed);
}

void TListImage::DrawPageIndex(const TPageImage& mark) {
    if (!FComposed || FSurface.Empty()) return;
    const auto index = static_cast<std::size_t>(&mark - FMarks.data());
    if (index >= FMarks.size()) return;
    const RECT to = ToRect(MarkRect(mark));
    const TMemoryBitmap& frames = FMarkBitmaps[index];
    if (mark.ImageIndex() < 0 || frames.Empty()) {
        EraseRect(FSurface.Dc(), to);
    } else {
        const TMenuRect from = MarkFrameRect(mark);
        BitBlt(FSurface.Dc(), to.left, to.top, mark.Width(), mark.Height(), frames.Dc(), from.Left,
               from.Top, SRCCOPY);
    }
    Damage(to);
}

void TListImage::CreateMask(int index) {
    if (index < 0 || index > 3) throw ERangeError("登録数を超えています。");
    TMemoryBitmap& frames = FMarkBitmaps[index];
    // A mark that never had pictures has nothing to compose.
    if (FMarkLoadedHeights[index] <= 0) return;
    const TPageImage& mark = FMarks[static_cast<std::size_t>(index)];
    const int w = mark.Width();
    const int h = mark.Height();
    if (w <= 0 || h <= 0) return;
    // The loaded frames stay in the left half; the composed ones go to the right half. The
    // bitmap is sized from its loaded height, so composing again does not make it grow.
    frames.Resize24(2 * w, FMarkLoadedHeights[index] + h);
    HDC dc = frames.Dc();
    if (!mark.Transparent()) {
        BitBlt(dc, w, 0, w, frames.Height, dc, 0, 0, SRCCOPY);
        return;
    }

    TMemoryBitmap background;
    RECT client{};
    if (Handle) GetClientRect(Handle, &client);
    background.Create24(FPicture.Empty() ? client.right : FPicture.Width,
                        FPicture.Empty() ? client.bottom : FPicture.Height);
    if (!background.Empty()) DrawBaseImage(background.Dc());
    TMemoryBitmap frame;
    frame.Create24(w, h);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    const COLORREF transparent = ResolveColor(mark.TransparentColor());
    const COLORREF white = RGB(255, 255, 255);
    for (int f = 0; f < mark.ImageCount(); ++f) {
        const int y = f * h;
        // The skin background under the mark.
        if (!background.Empty())
            BitBlt(dc, w, y, w, h, background.Dc(), mark.Left(), mark.Top(), SRCCOPY);
        // The mask: white where the loaded picture has the transparent colour.
        SetBkColor(dc, transparent);
        BitBlt(maskDc, 0, 0, w, h, dc, 0, y, SRCCOPY);
        // Keep the background only where the picture is transparent...
        SetBkColor(dc, white);
        SetTextColor(dc, RGB(0, 0, 0));
        BitBlt(dc, w, y, w, h, maskDc, 0, 0, SRCAND);
        // ...and lay the picture, black where it is transparent, over it.
        BitBlt(frame.Dc(), 0, 0, w, h, dc, 0, y, SRCCOPY);
        SetBkColor(frame.Dc(), white);
        SetTextColor(frame.Dc(), RGB(0, 0, 0));
        BitBlt(frame.Dc(), 0, 0, w, h, maskDc, 0, 0, RopDestinationAndNotSource);
        BitBlt(dc, w, y, w, h, frame.Dc(), 0, 0, SRCPAINT);
    }
    SelectObject(maskDc, oldMask);
    DeleteDC(maskDc);
    DeleteObject(mask);
}
