// The clipboard half of the main form: capturing copied texts into the history, pasting the
// chosen one, and keeping the history file.
#include <iterator>

#include "clipboard/ClipboardWin.h"
#include "clipboard/TextSet.h"
#include "core/Unit1.h"
#include "frame/Errors.h"
#include "frame/MessageBox.h"
#include "system/PathsWin.h"
#include "system/SysInfoWin.h"

// Capture listens to the clipboard's own change notification, which has no chain that another
// program could break. Joining sends no notification, so the text already on the clipboard does
// not enter the history.
bool TForm1::JoinClipboardChain() {
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

void TForm1::LeaveClipboardChain() {
    if (!ClipboardJoined) return;
    RemoveClipboardFormatListener(Handle);
    ClipboardJoined = false;
}

void TForm1::OnClipboardChanged() {
    // Our own write was taken into the history as it was made (PasteChosenText).
    if (OwnClipboardWrite != 0 && GetClipboardSequenceNumber() == OwnClipboardWrite) return;
    TClipboardText text;
    if (ReadClipboardText(Handle, text) != TClipboardRead::Text) return;
    Record(text);
}

void TForm1::Record(const TClipboardText& text) {
    History->BringTo(History->HistoryTop(), text.Ansi);
    // The Unicode text goes with the history entry for this run, so that characters that code
    // page 932 lacks paste back as copied; only texts the history holds are kept.
    if (!text.Unicode.empty()) UnicodeTexts[text.Ansi] = text.Unicode;
    for (auto entry = UnicodeTexts.begin(); entry != UnicodeTexts.end();)
        entry = History->History().IndexOfIgnoringCase(entry->first) < 0 ? UnicodeTexts.erase(entry)
                                                                         : std::next(entry);
    HistoryChanged();
}

void TForm1::HistoryChanged() {
    if (!Settings.SaveHistory || !History->Modified()) return;
    // One short timer, armed by a change: none runs while nothing changes.
    Timer4.SetEnabled(false);
    Timer4.SetEnabled(true);
}

void TForm1::Timer4Timer() {
    SaveHistoryFile();
}

void TForm1::SaveHistoryFile() {
    Timer4.SetEnabled(false);
    if (!Settings.SaveHistory) return;
    try {
        SaveHistory(*History, ProgramFolder());
    } catch (const EFileError&) {
        // A history that cannot be written now is written at the next change or at the end.
    }
}

void TForm1::PasteChosenText(int position) {
    const TStringList& items = History->Items();
    if (position < 0 || static_cast<std::size_t>(position) >= items.Count()) return;
    const std::string chosen = items[position];
    // A blank line has nothing to paste: the clipboard keeps what it holds.
    if (chosen.empty()) return;
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
    if (OwnClipboardWrite == 0) return;
    Application().AddIdleHandler([this] { return PasteOnIdle(); });
}

bool TForm1::PasteOnIdle() {
    Application().ClearIdleHandlers();
    // The keys typed here release Shift and Alt before Control + V, so they complete no call
    // pair: the hook stays installed (removing it would also restart the 32-bit companion).
    RestoreForeground(PreviousForeground);
    TypePasteKeys();
    return true;
}
