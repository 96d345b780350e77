#include "dialogs/TabSummary.h"

#include "dialogs/Unit2Ids.h"

namespace {
const char* YesNo(bool value) {
    return value ? "はい" : "いいえ";
}
const char ReadOnlyNote[] = "\n\n（この設定は \"Mirto.ini\" で変更できます。）";
} // namespace

void TSummaryPage::Load(const TSettingsDialogData& data) {
    SetItemText(IDC_SUMMARY, Describe(data));
}

void TSummaryPage::Layout(int width, int height) {
    SetWindowPos(Item(IDC_SUMMARY), nullptr, 12, 12, width - 24, height - 24,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string DescribeClipboardPage(const TSettingsDialogData& data) {
    const TSettingData& s = data.Settings;
    std::string text = "起動時の定型文：";
    text += s.Startup == 1 && !s.LoadFile.empty() ? s.LoadFile : std::string("（ブランク）");
    text.append("\n定型文のフォルダ：").append(s.ListDir);
    text.append("\n履歴を保存する：").append(YesNo(s.SaveHistory));
    return text.append(ReadOnlyNote);
}
