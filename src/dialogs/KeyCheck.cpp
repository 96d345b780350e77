#include "dialogs/KeyCheck.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

namespace {

// Operation names as the messages use them, in the sequence of the checks.
const char* const OperationNames[WindowOperationCount] = {
    "ウィンドウの移動（左）",       "ウィンドウの移動（上）",       "ウィンドウの移動（右）",
    "ウィンドウの移動（下）",       "ウィンドウサイズの変更（左）", "ウィンドウサイズの変更（上）",
    "ウィンドウサイズの変更（右）", "ウィンドウサイズの変更（下）", "ウィンドウの最大化",
    "アプリケーションの最小化",     "ウィンドウサイズの標準化",     "呼び出し切り替え",
    "スクリーンセーバー起動",
};

constexpr TKeyControl MoveKeyLists[4] = {TKeyControl::ComboBox10, TKeyControl::ComboBox11,
                                         TKeyControl::ComboBox12, TKeyControl::ComboBox13};
constexpr TKeyControl SizeKeyLists[4] = {TKeyControl::ComboBox20, TKeyControl::ComboBox21,
                                         TKeyControl::ComboBox22, TKeyControl::ComboBox23};

// One operation as the checks see it: its switch, modifier and key, where it is shown.
struct TOperation {
    bool Enabled;
    int Modifier;
    int Key;
    TSettingsTab Tab;
    TKeyControl KeyList;
};

std::array<TOperation, WindowOperationCount> Operations(const TKeyChoices& c) {
    std::array<TOperation, WindowOperationCount> ops{};
    for (int i = 0; i < 4; ++i) {
        ops[i] = {c.Move.Enabled, c.Move.Modifier, c.Move.Keys[i], TSettingsTab::WindowKeys,
                  MoveKeyLists[i]};
        ops[4 + i] = {c.Size.Enabled, c.Size.Modifier, c.Size.Keys[i], TSettingsTab::WindowKeys,
                      SizeKeyLists[i]};
    }
    auto single = [](const TWindowKeyChoice& k, TSettingsTab tab, TKeyControl list) {
        return TOperation{k.Enabled, k.Modifier, k.Key, tab, list};
    };
    ops[8] = single(c.Maximize, TSettingsTab::WindowKeys, TKeyControl::ComboBox28);
    ops[9] = single(c.Minimize, TSettingsTab::WindowKeys, TKeyControl::ComboBox30);
    ops[10] = single(c.Restore, TSettingsTab::WindowKeys, TKeyControl::ComboBox32);
    ops[11] = single(c.Pause, TSettingsTab::Menu, TKeyControl::ComboBox26);
    ops[12] = single(c.ScreenSaver, TSettingsTab::Background, TKeyControl::ComboBox34);
    return ops;
}

// The groups a call key is compared with, by their modifier lists only.
struct TCallKeyRival {
    bool Enabled;
    int Modifier;
    const char* Name; // as the message names the group's key
};

TKeyCheckResult Failure(std::string message, TSettingsTab tab, TKeyControl focus) {
    return {false, std::move(message), tab, focus};
}

// A call key at a position above 0 against the enabled groups whose modifier position + 1 is the
// same; the message begins with the call key's own name.
bool CallKeyClashes(const TKeyChoices& c, int callKey, const char* callName, TKeyControl callList,
                    TKeyCheckResult& result) {
    const TCallKeyRival rivals[] = {
        {c.Move.Enabled, c.Move.Modifier, "ウィンドウ移動キー"},
        {c.Size.Enabled, c.Size.Modifier, "ウィンドウサイズ変更キー"},
        {c.Maximize.Enabled, c.Maximize.Modifier, "ウィンドウの最大化キー"},
        {c.Minimize.Enabled, c.Minimize.Modifier, "アプリケーションの最小化キー"},
        {c.Restore.Enabled, c.Restore.Modifier, "ウィンドウの標準化キー"},
        {c.Pause.Enabled, c.Pause.Modifier, "呼び出し切り替えキー"},
        {c.ScreenSaver.Enabled, c.ScreenSaver.Modifier, "スクリーンセーバー起動キー"},
    };
    for (const auto& rival : rivals) {
        if (!rival.Enabled || rival.Modifier + 1 != callKey) continue;
        std::string message(callName);
        message.append("と、").append(rival.Name).append("が同じです。");
        result = Failure(std::move(message), TSettingsTab::Menu, callList);
        return true;
    }
    return false;
}

// Two of a group's four keys at the same position: the first list of the pair.
bool StepKeysRepeat(const TStepKeyChoice& group, const TKeyControl (&lists)[4],
                    TKeyCheckResult& result) {
    if (!group.Enabled) return false;
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            if (group.Keys[i] != group.Keys[j]) continue;
            result = Failure("一つのタイプに同じキーを割り当てることはできません。\n"
                             "他のキーを設定してくださいね。",
                             TSettingsTab::WindowKeys, lists[i]);
            return true;
        }
    }
    return false;
}

bool SameAscii(char a, char b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (!SameAscii(text[i], prefix[i])) return false;
    return true;
}

} // namespace

TKeyChoices KeyChoicesFromSettings(const TSettingData& data, const TMenuSettings& menu) {
    TKeyChoices c;
    c.LauncherCallKey = data.CallLauncherMenu + 1;
    c.ClipboardCallKey = data.CallClipboardMenu + 1;
    c.PageMemory = data.PageMemory;
    c.Hold = data.Hold;
    c.HoldTime = data.HoldTime;
    c.Line = menu.Line - 1;
    c.ClipboardPages = data.TotalClipboardPage - 1;
    c.DeleteKey = data.DeleteKey + 1;
    c.PageChangeKey = data.PageChangeKey + 1;
    c.SettingKey = data.SettingKey + 1;
    c.SelectCancelKey = data.SelectCancelKey + 1;
    c.QuitKey = data.QuitKey + 1;
    c.ProtectKey = data.ProtectKey + 1;
    auto step = [](int code, int value, const std::array<int, 4>& directions) {
        return TStepKeyChoice{code >= 0, code >= 0 ? code : ~code, directions,
                              std::to_string(value)};
    };
    c.Move = step(data.MoveKey, data.MoveValue, data.MoveDirection);
    c.Size = step(data.SizeKey, data.SizeValue, data.SizeDirection);
    auto single = [&data](int id) {
        const TWindowKey& key = data.WindowKeys[id];
        return TWindowKeyChoice{key.Enabled >= 0, key.Key2, key.Key1};
    };
    c.Maximize = single(wkMaximize);
    c.Minimize = single(wkMinimize);
    c.Restore = single(wkRestore);
    c.Pause = single(wkPause);
    c.ScreenSaver = single(wkScreenSaver);
    c.TrayMenu = data.WindowKeys[wkTrayMenu].Enabled >= 0;
    c.ImeOpen = data.ImeOpen;
    c.ImeClose = data.ImeClose;
    return c;
}

void KeyChoicesToSettings(const TKeyChoices& c, TSettingData& data, TMenuSettings& menu) {
    data.CallLauncherMenu = c.LauncherCallKey - 1;
    data.CallClipboardMenu = c.ClipboardCallKey - 1;
    data.PageMemory = c.PageMemory;
    data.Hold = c.Hold;
    data.HoldTime = c.HoldTime;
    menu.Line = c.Line + 1;
    data.TotalClipboardPage = c.ClipboardPages + 1;
    data.DeleteKey = c.DeleteKey - 1;
    data.PageChangeKey = c.PageChangeKey - 1;
    data.SettingKey = c.SettingKey - 1;
    data.SelectCancelKey = c.SelectCancelKey - 1;
    data.QuitKey = c.QuitKey - 1;
    data.ProtectKey = c.ProtectKey - 1;
    data.MoveKey = c.Move.Enabled ? c.Move.Modifier : ~c.Move.Modifier;
    data.MoveValue = LeadingInteger(c.Move.Step);
    data.MoveDirection = c.Move.Keys;
    data.SizeKey = c.Size.Enabled ? c.Size.Modifier : ~c.Size.Modifier;
    data.SizeValue = LeadingInteger(c.Size.Step);
    data.SizeDirection = c.Size.Keys;
    MirrorStepKeys(data);
    auto single = [&data](int id, const TWindowKeyChoice& choice) {
        data.WindowKeys[id] = {choice.Enabled ? WindowKeyEnabled : WindowKeyDisabled, choice.Key,
                               choice.Modifier};
    };
    single(wkMaximize, c.Maximize);
    single(wkMinimize, c.Minimize);
    single(wkRestore, c.Restore);
    single(wkPause, c.Pause);
    single(wkScreenSaver, c.ScreenSaver);
    data.WindowKeys[wkTrayMenu].Enabled = c.TrayMenu ? WindowKeyEnabled : WindowKeyDisabled;
    data.ImeOpen = c.ImeOpen;
    data.ImeClose = c.ImeClose;
}

int LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

std::string NumberBoxText(std::string_view text) {
    return std::to_string(LeadingInteger(text));
}

std::string WindowOperationName(int operation) {
    if (operation < 0 || operation >= WindowOperationCount) return {};
    return OperationNames[operation];
}

std::string KeyPairMessage(int i, int j) {
    if (i < 0 || i >= j || j >= WindowOperationCount) return "未定義のエラーです。";
    std::string message(OperationNames[i]);
    message.append("と").append(OperationNames[j]).append("とが同じキー設定になっています。");
    return message;
}

TKeyCheckResult CheckKeyChoices(const TKeyChoices& c) {
    TKeyCheckResult result;
    if (c.LauncherCallKey > 0) {
        if (c.LauncherCallKey == c.ClipboardCallKey)
            return Failure(
                "ランチメニュー呼び出しキーと、クリップボード履歴メニュー呼び出しキーが同じです。",
                TSettingsTab::Menu, TKeyControl::ComboBox2);
        if (CallKeyClashes(c, c.LauncherCallKey, "ランチメニュー呼び出しキー",
                           TKeyControl::ComboBox2, result))
            return result;
    }
    if (c.ClipboardCallKey > 0 &&
        CallKeyClashes(c, c.ClipboardCallKey, "クリップボード履歴メニュー呼び出しキー",
                       TKeyControl::ComboBox3, result))
        return result;

    const std::pair<int, TKeyControl> commandKeys[] = {
        {c.DeleteKey, TKeyControl::ComboBox15},  {c.PageChangeKey, TKeyControl::ComboBox16},
        {c.SettingKey, TKeyControl::ComboBox17}, {c.SelectCancelKey, TKeyControl::ComboBox18},
        {c.QuitKey, TKeyControl::ComboBox19},    {c.ProtectKey, TKeyControl::ComboBox24},
    };
    for (std::size_t i = 0; i < std::size(commandKeys); ++i) {
        if (commandKeys[i].first <= 0) continue;
        for (std::size_t j = i + 1; j < std::size(commandKeys); ++j)
            if (commandKeys[j].first == commandKeys[i].first)
                return Failure("メニュー表示中に使用するキーが重複しています。", TSettingsTab::Menu,
                               commandKeys[j].second);
    }

    if (StepKeysRepeat(c.Move, MoveKeyLists, result) ||
        StepKeysRepeat(c.Size, SizeKeyLists, result))
        return result;

    const auto ops = Operations(c);
    for (int i = 0; i < WindowOperationCount - 1; ++i) {
        if (!ops[i].Enabled) continue;
        for (int j = i + 1; j < WindowOperationCount; ++j)
            if (ops[j].Enabled && ops[j].Modifier == ops[i].Modifier && ops[j].Key == ops[i].Key)
                return Failure(KeyPairMessage(i, j), ops[i].Tab, ops[i].KeyList);
    }
    return result;
}

std::string NoNameQuestion(int page, char letter, std::string_view path) {
    std::string question("ページ：");
    question.append(std::to_string(page)).append("\n");
    question.append("キー： ").append(1, letter).append("\n");
    question.append("パス： ").append(path).append("\n\n");
    question.append("このファイルには名前が定義されていません。よろしいですか？");
    return question;
}

bool IsUnsearchedAddress(std::string_view path) {
    // "https:" too: a secure web address is as much an address as a plain one.
    return StartsWithIgnoringCase(path, "http:") || StartsWithIgnoringCase(path, "https:") ||
           StartsWithIgnoringCase(path, "ftp:/");
}

TEntryCheckResult CheckLauncherEntries(TLaunchItemTable& table, const TEntryCheckEnvironment& env) {
    TEntryCheckResult result;
    bool ignoreAll = false;
    const int count = std::min(table.Count(), LauncherItemCount);
    for (int index = 0; index < count; ++index) {
        const std::string path = table.GetPath(index);
        if (path.empty()) continue;
        const int page = index / LauncherPageSize + 1;
        const int key = index % LauncherPageSize;
        const char letter = static_cast<char>('A' + key);
        auto stop = [&](TKeyControl focus) {
            result.Ok = false;
            result.Page = page;
            result.Row = key + 1;
            result.Focus = focus;
            return result;
        };
        if (table.GetName(index).empty() && !env.ConfirmNoName(NoNameQuestion(page, letter, path)))
            return stop(TKeyControl::Memo3);
        if (IsUnsearchedAddress(path) || env.PathExists(path)) continue;
        const std::string found = env.SearchProgram(path);
        if (!found.empty()) {
            const std::string longPath = env.LongPath(found);
            table.SetPath(index, longPath.empty() ? found : longPath);
            result.Repaired.push_back(index);
            continue;
        }
        if (ignoreAll) continue;
        switch (env.Missing(page, letter, path)) {
        case TMissingAnswer::Back:
            return stop(TKeyControl::Edit2);
        case TMissingAnswer::IgnoreAll:
            ignoreAll = true;
            break;
        case TMissingAnswer::Ignore:
            break;
        }
    }
    return result;
}
