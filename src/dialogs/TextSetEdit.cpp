#include "dialogs/TextSetEdit.h"

#include <algorithm>
#include <utility>

#include "frame/Errors.h"
#include "frame/Platform.h"
#include "settings/Profile.h"

TTextSetTexts TextsOfList(const TStringList& list) {
    TTextSetTexts texts(list.Items().begin(), list.Items().end());
    texts.resize(TextSetSize);
    return texts;
}

TStringList ListOfTexts(const TTextSetTexts& texts) {
    TStringList list;
    for (const std::string& text : texts)
        list.Add(text);
    return list;
}

std::string ShortenText(std::string_view text, std::size_t n) {
    if (text.size() <= n) return std::string(text);
    // Walk the characters from the start: a trail byte may look like a lead byte.
    std::size_t cut = 0;
    while (cut < n) {
        const std::size_t width =
            Platform().IsLeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
        if (cut + width > n) break;
        cut += width;
    }
    return std::string(text.substr(0, cut)) + " ...";
}

namespace {
int Position(int page, int key) {
    return page * TextSetPageSize + key;
}
} // namespace

bool TextPageHasText(const TTextSetTexts& texts, int page) {
    for (int key = 0; key < TextSetPageSize; ++key)
        if (!texts[static_cast<std::size_t>(Position(page, key))].empty()) return true;
    return false;
}

bool LaterTextPagesHaveText(const TTextSetTexts& texts, int page) {
    for (int later = page + 1; later < TextSetPageCount; ++later)
        if (TextPageHasText(texts, later)) return true;
    return false;
}

void DeleteTextPage(TTextSetTexts& texts, int page, bool compact) {
    int blank = page;
    if (compact) {
        for (int later = page + 1; later < TextSetPageCount; ++later)
            ApplyTextPageOperation(texts, TLauncherEditMode::Copy, later, later - 1);
        blank = TextSetPageCount - 1;
    }
    for (int key = 0; key < TextSetPageSize; ++key)
        texts[static_cast<std::size_t>(Position(blank, key))].clear();
}

void ApplyTextPageOperation(TTextSetTexts& texts, TLauncherEditMode mode, int shownPage,
                            int targetPage) {
    for (int key = 0; key < TextSetPageSize; ++key)
        ApplyTextEntryOperation(texts, mode, Position(shownPage, key), Position(targetPage, key));
}

void ApplyTextEntryOperation(TTextSetTexts& texts, TLauncherEditMode mode, int source, int target) {
    auto& from = texts[static_cast<std::size_t>(source)];
    auto& to = texts[static_cast<std::size_t>(target)];
    if (mode == TLauncherEditMode::Copy)
        to = from;
    else
        std::swap(from, to);
}

std::string TextMenuCaption(const TTextSetTexts& texts, int position) {
    std::string caption(1, KeyLetter(position));
    caption += ": ";
    caption += ShortenText(texts[static_cast<std::size_t>(position)], 32);
    return caption;
}

namespace {
std::string TextQuestion(char letter, std::string_view text, const char* ending) {
    std::string question("キー '");
    question += letter;
    question += "'には以下のテキストが登録されています。\n\n　";
    question += ShortenText(text, 96);
    question += "\n\n";
    return question += ending;
}
} // namespace

std::string DeleteTextQuestion(char letter, std::string_view text) {
    return TextQuestion(letter, text, "このデータを削除してもよろしいでしょうか？");
}

std::string OverwriteTextQuestion(char letter, std::string_view text) {
    return TextQuestion(letter, text, "このデータに上書きしてもよろしいでしょうか？");
}

TWindowFields NormaliseWindow(const TWindowFields& fields) {
    TWindowFields result = fields;
    if (result.StartPage > result.EndPage) {
        std::swap(result.StartPage, result.EndPage);
        std::swap(result.StartKey, result.EndKey);
    } else if (result.StartPage == result.EndPage && result.StartKey > result.EndKey) {
        std::swap(result.StartKey, result.EndKey);
    }
    return result;
}

int WindowTop(const TWindowFields& fields) {
    return std::max(Position(fields.StartPage, fields.StartKey), -1);
}

int WindowBottom(const TWindowFields& fields) {
    return std::max(Position(fields.EndPage, fields.EndKey), -1);
}

bool InHistoryWindow(bool history, const TWindowFields& fields, int position) {
    if (!history || !fields.Complete()) return false;
    const int start = Position(fields.StartPage, fields.StartKey);
    const int end = Position(fields.EndPage, fields.EndKey);
    return position >= std::min(start, end) && position <= std::max(start, end);
}

TEditorWindow EditorWindowOfSet(const TTextSetWindow& window) {
    TEditorWindow editor;
    editor.History = window.HasHistory;
    int start = window.Top, end = window.Bottom;
    if (start == -1) {
        editor.History = false;
        start = 0;
        if (end == -1) end = TextSetSize - 1;
    } else if (end == -1) {
        editor.History = true;
        end = TextSetSize - 1;
    }
    // A hand-edited value outside the menu's positions is brought into them.
    start = std::clamp(start, 0, TextSetSize - 1);
    end = std::clamp(end, 0, TextSetSize - 1);
    editor.Fields = {start / TextSetPageSize, start % TextSetPageSize, end / TextSetPageSize,
                     end % TextSetPageSize};
    return editor;
}

std::string NewTextSetTitle(const TStringList& lines) {
    for (int n = 1;; ++n) {
        std::string title = std::string("クリップボード設定") + std::to_string(n);
        if (std::find(lines.begin(), lines.end(), title) == lines.end()) return title;
    }
}

std::string SelectedSetFile(int line, const TStringList& fileNames, const std::string& fallback) {
    if (line < 0) return fallback;
    if (line == 0 || static_cast<std::size_t>(line) > fileNames.Count()) return "";
    return fileNames[static_cast<std::size_t>(line - 1)];
}

int LineOfSetFile(const TStringList& fileNames, const std::string& fileName) {
    if (fileName.empty()) return 0;
    return fileNames.IndexOfIgnoringCase(fileName) + 1;
}

bool ReadHistoryLoadSwitch(const std::string& path) {
    TProfile ini;
    if (!Platform().FileExists(path) || !ini.LoadFromFile(path)) return false;
    return ini.ReadBool("Basic", "LoadHistory", false);
}

void WriteHistoryLoadSwitch(const std::string& path, bool load) {
    TProfile ini;
    if (Platform().FileExists(path) && !ini.LoadFromFile(path))
        throw EFileError(std::string("ファイル \"") + path + "\" を読み込めません。");
    ini.WriteString("Basic", "LoadHistory", load ? "1" : "0");
    ini.Flush(path);
}
