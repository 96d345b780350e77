#pragma once
// The menu font on GDI, in the two character sets the menu switches between per glyph, and the
// text metrics of the menu geometry measured with it.
#include <windows.h>

#include "menu/MenuGeometry.h"

// The menu font, created once per character set and kept until the face, size or style change.
class TMenuFonts {
public:
    TMenuFonts() = default;
    ~TMenuFonts() { Free(); }
    TMenuFonts(const TMenuFonts&) = delete;
    TMenuFonts& operator=(const TMenuFonts&) = delete;

    // Recreates the fonts when the description or the scale (dots per inch) differs from the
    // one they were made for.
    void Update(const TMenuFont& font, int dpi);
    // The font in ANSI (0) or Shift_JIS (128); any other value gives the Shift_JIS one.
    HFONT Get(int charset) const { return charset == AnsiCharset ? Ansi : ShiftJis; }

private:
    void Free();
    bool Made = false;
    TMenuFont Description;
    int Dpi = 0;
    HFONT Ansi = nullptr;
    HFONT ShiftJis = nullptr;
};

// Measures in the menu font on a device context; selecting a font is left to the caller's
// drawing, so each measurement selects the one for its character set.
class TGdiTextMetrics : public TMenuTextMetrics {
public:
    // The device context's font is selected back when the metrics go: a menu font left selected
    // could not be deleted when the font changes.
    TGdiTextMetrics(HDC dc, const TMenuFonts& fonts)
        : Dc(dc), Fonts(fonts), Original(GetCurrentObject(dc, OBJ_FONT)) {}
    ~TGdiTextMetrics() override { SelectObject(Dc, Original); }
    TGdiTextMetrics(const TGdiTextMetrics&) = delete;
    TGdiTextMetrics& operator=(const TGdiTextMetrics&) = delete;
    TTextExtent Extent(std::string_view text, int charset) const override;
    // Only ASCII letters and digits take the ANSI font (the base class's answer). The code
    // page's own classification also counts the half-width katakana as letters, but drawn
    // in the ANSI character set they come out as Latin-1 signs ("ｶﾀｶﾅ" as "¶À¶Å"), so they
    // stay in Shift_JIS with the rest of the Japanese text.

private:
    HDC Dc;
    const TMenuFonts& Fonts;
    HGDIOBJ Original;
};
