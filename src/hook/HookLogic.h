#pragma once
// What the keyboard hook library does with one key event, apart from the platform: whether the
// event completes a call-key pair (post the notification), asks for the input method to be
// switched, or needs nothing. The hook procedure runs inside every application on every key, so
// the decision is cheap first: a key that is neither a modifier nor an input-method key is
// answered from its code alone, without asking the system anything.
#include <cstdint>

#include "core/ShareData.h"

// One keyboard-hook event: the virtual key and the keystroke bits of the hook's lParam.
struct TKeyEvent {
    unsigned VirtualKey = 0;
    bool KeyUp = false;
    // On a key-down: the key was already down, that is an auto-repeat.
    bool WasDown = false;
    // The right-hand key of Shift, Control or Alt (told apart by the scan code or the extended-key
    // bit when the event carries the generic virtual key).
    bool RightHand = false;
};

// Unpacks the hook's lParam: scan code in bits 16-23, extended key in bit 24, previous key state in
// bit 30, transition (released) in bit 31.
TKeyEvent MakeKeyEvent(unsigned virtualKey, uint32_t keyData);

enum class THookAction {
    None,
    PostLauncher,  // notification with wParam 0
    PostClipboard, // notification with wParam 1
    OpenIme,
    CloseIme,
};

// The keyboard state as the thread that receives the key sees it. The hook asks only about
// modifiers, and only when a modifier goes down.
class TKeyStateQuery {
public:
    // Whether the key (a generic or a left/right modifier code) is held down.
    virtual bool IsDown(unsigned virtualKey) const = 0;

protected:
    ~TKeyStateQuery() = default;
};

// True for the keys the hook acts on: Shift, Control and Alt in any form, and the input-method
// keys. Every other key is passed on untouched.
bool MattersToHook(unsigned virtualKey);

// A call-key pair is pressed when a modifier of the pair goes down while the pair's other modifier
// is held, unless the same modifier was already held on the other hand or the key merely repeats.
// So holding a pair posts once, and a key of the pair must be released before it posts again;
// this needs no memory of earlier events, which the hook could not keep reliably since a release
// may reach another process. When both call keys name the same pair the launch menu wins.
THookAction DecideHookAction(const TKeyEvent& key, const TShareData& share,
                             const TKeyStateQuery& keys);
