#include "dialogs/LauncherEdit.h"

#include <algorithm>

#include "frame/StringList.h"
#include "launcher/Launch.h"
#include "system/PathText.h"

const char* const DeletePageQuestion = "このページを削除してもよろしいでしょうか？";
const char* const CompactPagesQuestion = "以後のページを前に詰めますか？";

int SlotOfRow(int page, int row) {
    return page * LauncherPageSize + row - 1;
}

char KeyLetter(int slot) {
    return static_cast<char>('A' + slot % LauncherPageSize);
}

bool PageIsEmpty(const TLaunchItemTable& table, int page) {
    for (int row = 1; row <= LauncherPageSize; ++row) {
        const int slot = SlotOfRow(page, row);
        if (!table.GetName(slot).empty() || !table.GetPath(slot).empty()) return false;
    }
    return true;
}

bool LaterPagesInUse(const TLaunchItemTable& table, int page) {
    for (int later = page + 1; later < LauncherPageCount; ++later)
        if (!PageIsEmpty(table, later)) return true;
    return false;
}

namespace {
void ClearPage(TLaunchItemTable& table, int page) {
    for (int row = 1; row <= LauncherPageSize; ++row)
        table.ClearItem(SlotOfRow(page, row));
}
} // namespace

void DeletePage(TLaunchItemTable& table, int page, bool compact) {
    if (!compact) {
        ClearPage(table, page);
        return;
    }
    for (int later = page + 1; later < LauncherPageCount; ++later)
        ApplyPageOperation(table, TLauncherEditMode::Copy, later, later - 1);
    ClearPage(table, LauncherPageCount - 1);
}

void ApplyPageOperation(TLaunchItemTable& table, TLauncherEditMode mode, int shownPage,
                        int targetPage) {
    for (int row = 1; row <= LauncherPageSize; ++row)
        ApplyKeyOperation(table, mode, SlotOfRow(shownPage, row), SlotOfRow(targetPage, row));
}

bool KeyCopyOverwrites(const TLaunchItemTable& table, int target) {
    return !table.GetPath(target).empty();
}

void ApplyKeyOperation(TLaunchItemTable& table, TLauncherEditMode mode, int source, int target) {
    if (mode == TLauncherEditMode::Copy)
        table.CopyItem(source, target);
    else
        table.ExchangeItems(source, target);
}

std::string KeyMenuCaption(const TLaunchItemTable& table, int slot) {
    std::string caption(1, KeyLetter(slot));
    caption += ": ";
    // The name as the grid shows it, line breaks as blanks; "&" doubled, or the menu would take
    // it for an access key.
    for (char c : table.GetName(slot)) {
        if (c == '&') caption += '&';
        caption += c == '\n' || c == '\r' ? ' ' : c;
    }
    return caption;
}

bool KeyMenuEntryEnabled(int slot, int shownPage, int selectedRow) {
    return slot != SlotOfRow(shownPage, selectedRow);
}

std::string UnassignQuestion(char letter) {
    std::string text("キー \"");
    text += letter;
    text += "\" への割り当てを解除してもよろしいでしょうか？";
    return text;
}

std::string OverwriteQuestion(char letter, std::string_view name, std::string_view path) {
    std::string text("キー '");
    text += letter;
    text += "'には以下のアプリケーションが登録されています。\n\n　名称：";
    text += name;
    text += "\n　パス：";
    text += path;
    text += "\n\nこのデータに上書きしてもよろしいでしょうか？";
    return text;
}

std::string PageOverwriteQuestion(int page) {
    std::string text("Page ");
    text += std::to_string(page + 1);
    text += " は設定されています。\n上書きしてもよろしいでしょうか？";
    return text;
}

bool NameIsBlank(std::string_view name) {
    // Neither line breaks nor blanks occur as the trail byte of a double-byte character.
    std::string text(name);
    std::erase_if(text, [](char c) { return c == '\n' || c == '\r'; });
    return TrimText(text).empty();
}

std::string NameAfterFile(std::string_view name, std::string_view nameSource) {
    if (!NameIsBlank(name)) return std::string(name);
    // "." never trails a double-byte character, so the first byte "." is the first ".".
    const std::string file = FileNamePart(nameSource);
    return file.substr(0, file.find('.'));
}

TLauncherFileKind LauncherFileKind(std::string_view path) {
    const std::string extension = FileExtension(path);
    if (SameText(extension, ".lnk")) return TLauncherFileKind::ShellLink;
    if (SameText(extension, ".url")) return TLauncherFileKind::UrlShortcut;
    return TLauncherFileKind::Plain;
}

int SizeOfShowCommand(int showCommand) {
    constexpr int showMinNoActive = 7;
    switch (showCommand) {
    case swShowNormal:
        return 0;
    case swShowMinimized:
    case showMinNoActive:
        return 1;
    case swShowMaximized:
        return 2;
    default:
        return 3;
    }
}

std::string WorkDirOrPathFolder(std::string_view workDir, std::string_view path) {
    if (!workDir.empty()) return std::string(workDir);
    return std::string(path.substr(0, FileNameStart(path)));
}

int DropRow(int row, int selectedRow) {
    if (row == -1) return selectedRow;
    return std::clamp(row, 1, LauncherPageSize);
}

std::array<int, 5> LauncherColumnWidths(int gridWidth, int gridLineWidth, int keyColumnWidth,
                                        int dpi) {
    const int minWidth = ScaleToDpi(MinGridColumnWidth, dpi);
    const int w = gridWidth - 7 * gridLineWidth - keyColumnWidth - ScaleToDpi(18, dpi);
    const int u = w / 14;
    std::array<int, 5> widths{3 * u, 5 * u, u, 2 * u, 0};
    int given = 0;
    for (int i = 0; i < 4; ++i) {
        widths[i] = std::max(widths[i], minWidth);
        given += widths[i];
    }
    widths[4] = std::max(w - given, minWidth);
    return widths;
}

TGridColumnChange StretchLastColumn(const std::vector<int>& widths, int last, int lineWidth,
                                    int clientWidth, int minWidth) {
    if (last < 0 || last >= static_cast<int>(widths.size())) return {};
    int used = lineWidth;
    for (int column = 0; column < last; ++column)
        used += widths[static_cast<std::size_t>(column)] + lineWidth;
    const int rest = clientWidth - used;
    if (rest >= minWidth) {
        if (widths[static_cast<std::size_t>(last)] == rest) return {};
        return {last, rest};
    }
    int need = minWidth - rest;
    for (int column = last - 1; column >= 0; --column) {
        const int width = widths[static_cast<std::size_t>(column)];
        if (width <= minWidth) continue;
        const int take = need;
        need -= width - minWidth;
        if (need <= 0) return {column, width - take};
    }
    return {};
}
