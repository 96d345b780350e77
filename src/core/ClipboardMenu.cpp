// The clipboard half of the main form: capturing copied texts into the history, pasting the
// chosen one, and keeping the history file.
#include <algorithm>
#include <iterator>

#include "clipboard/ClipboardWin.h"
#include "clipboard/TextSet.h"
#include "core/MainForm.h"
#include "frame/Errors.h"
#include "frame/MessageBox.h"
#include "system/PathsWin.h"
#include "system/SysInfoWin.h"

namespace {
// How long after the last change the history is written (with "SaveHistory" on), so that a crash
// or a power loss loses at most this much.
constexpr UINT HistorySaveDelay = 3000;
// A timed write that failed is tried again without waiting for a change, after a wait that
// doubles up to this. Another program reading the file at that moment (a virus scanner, a backup)
// makes its replacement fail; a file that stays read-only costs one try a minute.
constexpr UINT HistoryRetryLongest = 60000;
} // namespace

// Capture listens to the clipboard's own change notification, which has no chain that another
// program could break. Joining sends no notification, so the text already on the clipboard does
// not enter the history.
bool TMainForm::JoinClipboardChain() {
    for (;;) {
        SetLastError(0);
        if (AddClipboardFormatListener(Handle)) {
            ClipboardJoined = true;
            return true;
        }
        const DWORD error = GetLastError();
        StopMenuTimers();
        const int answer = ShowMessageBox(Application().Handle(),
                                          GetSystemErrorText(error) +
                                              "\n\nクリップボード履歴機能が設定できません。",
                                          MB_RETRYCANCEL | MB_ICONWARNING);
        if (answer != IDRETRY) return false;
    }
}

void TMainForm::LeaveClipboardChain() {
    Timer5.SetEnabled(false);
    if (!ClipboardJoined) return;
    RemoveClipboardFormatListener(Handle);
    ClipboardJoined = false;
}

void TMainForm::OnClipboardChanged() {
    // A newer copy replaces one still waited for: the clipboard holds only its newest content.
    Timer5.SetEnabled(false);
    CaptureRetry.Reset();
    CaptureClipboard();
}

void TMainForm::CaptureClipboard() {
    // Our own write was taken into the history as it was made (PasteChosenText).
    if (OwnClipboardWrite != 0 && GetClipboardSequenceNumber() == OwnClipboardWrite) return;
    TClipboardText text;
    const TClipboardRead read = ReadClipboardText(Handle, text);
    if (read == TClipboardRead::Busy) {
        // Another program holds the clipboard open: the copy is read a little later, and this
        // thread goes on answering meanwhile.
        if (const unsigned wait = CaptureRetry.Busy()) {
            Timer5.SetInterval(wait);
            Timer5.SetEnabled(true);
        }
        return;
    }
    CaptureRetry.Reset();
    if (read == TClipboardRead::Text) Record(text);
}

void TMainForm::Timer5Timer() {
    Timer5.SetEnabled(false);
    CaptureClipboard();
}

void TMainForm::Record(const TClipboardText& text) {
    History->BringTo(History->HistoryTop(), text.Ansi);
    // The Unicode text goes with the history entry for this run, so that characters that code
    // page 932 lacks paste back as copied; only texts the history holds are kept.
    if (!text.Unicode.empty()) UnicodeTexts[text.Ansi] = text.Unicode;
    for (auto entry = UnicodeTexts.begin(); entry != UnicodeTexts.end();)
        entry = History->History().IndexOfIgnoringCase(entry->first) < 0 ? UnicodeTexts.erase(entry)
                                                                         : std::next(entry);
    HistoryChanged();
}

void TMainForm::HistoryChanged() {
    if (!Settings.SaveHistory || !History->Modified()) return;
    // One short timer, armed by a change: none runs while nothing changes.
    Timer4.SetEnabled(false);
    Timer4.SetInterval(HistorySaveDelay);
    Timer4.SetEnabled(true);
}

void TMainForm::Timer4Timer() {
    // Not while the menu is shown: a history that cannot be written is reported in a message box,
    // which would take the keyboard from the user's choice. The timer runs on meanwhile.
    if (IsWindowVisible(Handle)) return;
    SaveHistoryFile(THistorySave::Timed);
}

void TMainForm::SaveHistoryFile(THistorySave moment) {
    Timer4.SetEnabled(false);
    if (!Settings.SaveHistory) return;
    try {
        SaveHistory(*History, ProgramFolder());
        HistorySaveFailures = 0;
    } catch (const EFileError& e) {
        // The history stays in memory and is written at the next try, the next change or the
        // end. The user hears of it once while the program runs, when the try after the failed
        // one fails too (a moment's reader is not worth a message), and at the end when it is
        // lost; not while the session ends, which a message box would hold up.
        if (moment == THistorySave::SessionEnd) return;
        if (moment == THistorySave::Timed) {
            ++HistorySaveFailures;
            const int doublings = std::min(HistorySaveFailures - 1, 5);
            Timer4.SetInterval(std::min(HistorySaveDelay << doublings, HistoryRetryLongest));
            Timer4.SetEnabled(true);
            if (HistorySaveFailures < 2 || HistorySaveReported) return;
            HistorySaveReported = true;
            ShowMessageBox(
                Application().Handle(),
                std::string(e.what()) +
                    "\n\nクリップボードの履歴を保存できませんでした。\n"
                    "履歴はこのまま保持して、少し後と、履歴が変わったときと終了するときに、"
                    "もう一度保存します。",
                MB_ICONWARNING);
            return;
        }
        ShowMessageBox(Application().Handle(),
                       std::string(e.what()) + "\n\nクリップボードの履歴を保存できませんでした。",
                       MB_ICONSTOP);
    }
}

void TMainForm::PasteChosenText(int position) {
    // The text the menu showed on the line: a copy that arrived while the menu was up has
    // changed the history under it, not the line the user chose.
    const TStringList& items = ListImage1.Menu().Items();
    if (position < 0 || static_cast<std::size_t>(position) >= items.Count()) return;
    const std::string chosen = items[static_cast<std::size_t>(position)];
    // A blank line has nothing to paste: the clipboard keeps what it holds.
    if (chosen.empty()) return;
    // The modifiers go down before anything else, while the application has yet to take the
    // focus back (see TypePasteKeys).
    RestoreForeground(PreviousForeground);
    PressPasteModifiers();
    const bool wasProtected = History->Protect();
    const int top = History->HistoryTop(), bottom = History->HistoryBottom();
    if (top >= 0 && (position < top || (bottom >= 0 && position > bottom)))
        History->SetProtect(true);
    TClipboardText text;
    text.Ansi = chosen;
    if (auto unicode = UnicodeTexts.find(chosen); unicode != UnicodeTexts.end())
        text.Unicode = unicode->second;
    OwnClipboardWrite = WriteClipboardText(Handle, text);
    // What the change notification of this write brings, taken at once: a chosen history line
    // moves to the top, a fixed text or a protected history changes nothing.
    if (OwnClipboardWrite != 0) Record(text);
    History->SetProtect(wasProtected);
    if (OwnClipboardWrite == 0) {
        ReleasePasteModifiers();
        return;
    }
    Application().AddIdleHandler([this] { return PasteOnIdle(); });
}

bool TMainForm::PasteOnIdle() {
    Application().ClearIdleHandlers();
    // The keys typed here release Shift and Alt before Control + V, so they complete no call
    // pair: the hook stays installed (removing it would also restart the 32-bit companion).
    RestoreForeground(PreviousForeground);
    TypePasteKeys();
    return true;
}
