#include "menu/GdiMetrics.h"

static HFONT CreateMenuFont(const TMenuFont& font, int charset, int pixelsPerInch) {
    LOGFONTA description{};
    // A negative height asks for the character height in pixels, as a point size means.
    description.lfHeight = -MulDiv(font.Size, pixelsPerInch, 72);
    description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.Italic;
    description.lfUnderline = font.Underline;
    description.lfStrikeOut = font.StrikeOut;
    description.lfCharSet = static_cast<BYTE>(charset);
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(description.lfFaceName, font.Name.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&description);
}

void TMenuFonts::Update(const TMenuFont& font, int dpi) {
    if (Made && font == Description && dpi == Dpi) return;
    Free();
    Description = font;
    Dpi = dpi;
    Ansi = CreateMenuFont(font, ANSI_CHARSET, dpi);
    ShiftJis = CreateMenuFont(font, SHIFTJIS_CHARSET, dpi);
    Made = true;
}

void TMenuFonts::Free() {
    if (Ansi) DeleteObject(Ansi);
    if (ShiftJis) DeleteObject(ShiftJis);
    Ansi = ShiftJis = nullptr;
    Made = false;
}

TTextExtent TGdiTextMetrics::Extent(std::string_view text, int charset) const {
    SelectObject(Dc, Fonts.Get(charset));
    SIZE size{};
    GetTextExtentPoint32A(Dc, text.data(), static_cast<int>(text.size()), &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}
