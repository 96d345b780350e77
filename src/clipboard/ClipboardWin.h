#pragma once
// The clipboard as the clipboard menu uses it: reading a copied text, writing a chosen one, and
// typing the paste into the window that was active.
//
// Texts are read from the clipboard's Unicode text when it has one and converted to code page 932
// here, so that the same characters always give the same bytes (the system's own conversion to
// the plain-text format follows the keyboard layout at the time of the copy). The Unicode text is
// kept beside, so that a text with characters that code page 932 cannot hold pastes back as it
// was copied.
#include <windows.h>

#include <string>

// A text of the clipboard: its code page 932 bytes, and the Unicode text it came from (empty
// for a text copied in the plain-text format only).
struct TClipboardText {
    std::string Ansi;
    std::wstring Unicode;
};

enum class TClipboardRead {
    Text,     // a text that is not empty
    NoText,   // no text, or an empty one (a picture, files, ...)
    Excluded, // marked by its owner as not to be recorded (password managers do so)
    TooLarge, // more than MaxRecordedText bytes
    Busy,     // another program kept the clipboard open
};

// Texts longer than this are not recorded; the clipboard itself is left as it is.
inline constexpr std::size_t MaxRecordedText = 1u << 20;

// The mark our own typed keys carry in dwExtraInfo.
inline constexpr ULONG_PTR PasteKeyMark = 0x4D69724F; // "OriM"

// Reads the clipboard's text: opens it once, without waiting (Busy while another program holds
// it open; the caller tries again later), looks at its formats once and reads the text once.
TClipboardRead ReadClipboardText(HWND owner, TClipboardText& text);

// Puts the text on the clipboard: the Unicode text (the given one, or the ANSI text converted),
// the ANSI text, and the Japanese locale beside them. Returns the clipboard's sequence number
// after the write, by which the change notification of this write is told apart; 0 when the
// clipboard could not be written.
DWORD WriteClipboardText(HWND owner, const TClipboardText& text);

// The paste's modifiers, pressed as the menu hides: Control down, Shift and Alt of both hands
// up. ReleasePasteModifiers lets Control go again when there is nothing to paste.
void PressPasteModifiers();
void ReleasePasteModifiers();

// Types the rest of the paste into the foreground window: V, then Control's release. Where the
// system resets the keyboard state as the window takes the focus back (Wine on an X display),
// waits (a bounded time) for that reset first and presses the modifiers again. Every key carries
// PasteKeyMark.
void TypePasteKeys();

// Brings the window to the foreground if it is not there, and waits (a bounded time) until it
// is. True when it is the foreground window.
bool RestoreForeground(HWND window);
