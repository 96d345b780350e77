#pragma once
// The text rules of a skin definition: positions, colours, the "[UserDefine]" overrides, how
// sizes follow a window that differs from the designed size, and the reading sequence of a
// definition into a plain record. No bitmap is loaded here; bitmap names are kept as the
// definition writes them, and the composer (Win32 layer) turns the record into pixels.
//
// Skins come from downloads, so every number that becomes geometry is clamped:
//   - sizes (window, designed size, menu area, plain parts): 0..MaxSkinSize, the window and the
//     designed size 1..MaxSkinSize;
//   - offsets from positions: -MaxSkinSize..MaxSkinSize (a thing of at most MaxSkinSize pixels
//     placed on a surface of at most MaxSkinSize pixels is visible at exactly the same offsets
//     before and after the clamp);
//   - the line space: 0..MaxSkinLineSpace.
// With these limits any sum or difference of a few of them stays far inside 32 bits.
// Picture parts form a tree read without recursion: at most MaxSkinParts parts in all and at most
// MaxSkinDepth levels; a child that names its own section or one of its ancestors is skipped.
// At most MaxUserDefineLines "[UserDefine]" lines are applied, and a definition of more than
// MaxSkinLines lines is refused: every look-up walks the lines, and a definition is small.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu/MenuModel.h"
#include "settings/IniStr.h"

inline constexpr int MaxSkinSize = 8192;
inline constexpr int MaxSkinLineSpace = 256;
inline constexpr int MaxSkinParts = 1024;
inline constexpr int MaxSkinDepth = 16;
inline constexpr int MaxUserDefineLines = 1024;
inline constexpr int MaxSkinLines = 65536;

// ---- Positions ----------------------------------------------------------------------------

// A position text taken apart: empty or a plain integer (Offset), "Middle"/"Center" (Centre), or
// "-" + N measured from the far edge (FromFar). A "-" followed by anything but an integer is
// Malformed: placing it ends the load of the skin.
struct TSkinPosition {
    enum TKind { Offset, Centre, FromFar, Malformed };
    TKind Kind = Offset;
    int Value = 0; // the offset, or N of a FromFar position; clamped to +-MaxSkinSize

    bool operator==(const TSkinPosition&) const = default;
};

TSkinPosition ParseSkinPosition(std::string_view value);
// The offset of a thing of the given size on a surface of the given total size (both clamped to
// 0..MaxSkinSize here), or nothing for a Malformed position.
std::optional<int> PlaceSkinPosition(const TSkinPosition& position, int total, int size);
// ParseSkinPosition and PlaceSkinPosition in one.
std::optional<int> GetPositionInt(std::string_view value, int total, int size);

// The background bitmap's alignment codes: 0 left or top, 1 centred, 2 right or bottom. Any
// other code places it at 0.
int AlignSkinOffset(int code, int total, int size);

// ---- Colours ------------------------------------------------------------------------------

struct TSkinColorName {
    const char* Name;
    std::uint32_t Value;
};
// The 42 colour names in their table sequence, from clBlack to clNone.
extern const std::array<TSkinColorName, 42> SkinColorNames;

// A colour name (letter case ignored) or an integer (decimal, or hexadecimal after "$", "x" or
// "0x"; leading blanks and a sign allowed) as a 0x00BBGGRR value; nothing for other text.
std::optional<std::uint32_t> ParseSkinColor(std::string_view text);

// ---- Overrides and resizing ---------------------------------------------------------------

// Applies the override lines after the first "[UserDefine]" line (letter case ignored) up to the
// end of the document: a line Section_Key=Value sets [Section] Key to Value. The lines are taken
// before any is applied, so keys that the overrides add are not read as overrides themselves.
void ChangeUserDefineSkin(TIniStringList& ini);

// Resize codes, only the low byte looked at: 1 the width grows by dx, 2 the height by dy, 3 both.
// Width and height come back clamped to 0..MaxSkinSize.
void ApplySkinResize(int resize, int dx, int dy, int& width, int& height);

// ---- The record ---------------------------------------------------------------------------

// What the caller hands the loader and what the loader reports, fields in their sequence.
struct TSkinInfo {
    std::string Path; // in: full path of the definition; empty for the skin library's
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool Transparent = false;
    std::uint32_t TransparentColor = 0;
    std::string Text; // not set by the loader
    std::string EnableIcon;
    std::string DisableIcon;
};

// One picture part ("Option-" + n or a section named as a child), as its section reads.
struct TSkinPart {
    std::string Section;
    int Depth = 0;   // 0 for an "Option-" section
    int Parent = -1; // index in TSkinDefinition::Parts, -1 for an "Option-" section
    std::string Bitmap;
    // Recolouring of the loaded bitmap: only with a Bitmap and a FromColor1. Recolour without
    // RecolourValid ends the load once the bitmap has loaded.
    bool Recolour = false;
    bool RecolourValid = false;
    std::array<std::uint32_t, 4> RecolourColors{}; // from1, to1, from2, to2
    // A plain part (no Bitmap): its size with the resize applied, and its fill colour.
    int Resize = 0;
    int Width = 0;
    int Height = 0;
    std::optional<std::uint32_t> Color; // present and valid
    TSkinPosition Left, Top;
    std::vector<int> Children; // indices in TSkinDefinition::Parts, in drawing sequence
    bool Frame = false;
    bool FrameTransparent = false; // FrameTransparent and a valid FrameTransparentColor
    std::uint32_t FrameTransparentColor = 0;
    // Line_L, Line_T, Line_R, Line_B, Corner_LT, Corner_RT, Corner_LB, Corner_RB, when Frame.
    std::array<std::string, 8> Edges;
    bool Transparent = false;
    std::optional<std::uint32_t> TransparentColor; // present and valid
};

// A page mark: 0 "MenuProtect", 1 to 3 "Page-1" to "Page-3".
struct TSkinMark {
    std::string Section;
    std::string Bitmap; // empty: the mark keeps what it had from an earlier skin
    TSkinPosition Left, Top;
    std::optional<std::uint32_t> TransparentColor; // set only when the text is not empty
    bool Transparent = false;
};

struct TSkinDefinition {
    bool Ok = true;
    std::string Error;                 // why the load ends, when not Ok (Japanese, for the user)
    std::vector<std::string> Warnings; // what was clamped or skipped (English notes, never shown)

    std::string Folder; // bitmap names are relative to it
    int DesignWidth = 720;
    int DesignHeight = 480;
    int Width = 720;
    int Height = 480;
    int Dx = 0;
    int Dy = 0;
    std::string Name;
    std::string Dll;

    std::uint32_t Color = 0;
    std::string Bitmap;
    int PositionX = 1;
    int PositionY = 1;
    bool Transparent = false;
    std::uint32_t TransparentColor = 0;

    std::uint32_t SelectColor = 0xFF0000;
    std::uint32_t NormalColor = 0xFFFF00;
    bool Relation = false;
    std::optional<std::uint32_t> RelationColor;
    int LineSpace = 4;
    int MenuResize = 0;
    int MenuLeft = 64;
    int MenuTop = 32;
    int MenuWidth = 400;
    int MenuHeight = 220;

    std::vector<TSkinPart> Parts; // every part in drawing sequence (parents before children)
    std::vector<int> Options;     // the "Option-" parts
    std::array<TSkinMark, 4> Marks;
};

// The height the menu font needs for a line space (the menu's GetWindowHeight).
using TSkinFontHeight = std::function<int(int lineSpace)>;

// Reads a definition in the loader's sequence: the lines are copied, "[UserDefine]" applied to
// the copy, then sizes, icons, menu colours and area, background, picture parts and marks. Fills
// info's out fields. When fontHeight is given, a menu area that follows the window's height is
// never lower than the font needs. Never throws; a definition of more than MaxSkinLines lines, or
// a malformed "-" position of the menu area or of a plain part that is always drawn, ends the
// reading with Ok false and the reason in Error.
TSkinDefinition ReadSkinDefinition(const TIniStringList& lines, TSkinInfo& info,
                                   const TSkinFontHeight& fontHeight = {});

// Gives the menu model what a definition read Ok sets on it, in the reading sequence: the text
// colours and shadow, the area's size and place, then the column width. The shadow colour
// changes only when the definition has one. The line space belongs to the window control. A
// definition that did not read Ok changes nothing and gives false.
bool ApplySkinToMenu(const TSkinDefinition& skin, TMenuImage& menu);

// The folder part of a path including its final backslash; empty when there is none.
std::string SkinFolderOf(std::string_view path);
