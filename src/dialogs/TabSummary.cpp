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

std::string DescribeFontPage(const TSettingsDialogData& data) {
    const TMenuSettings& m = data.Menu;
    std::string text = "フォント：";
    text += m.FontName.empty() ? std::string("（既定）") : m.FontName;
    text.append("\nサイズ：").append(std::to_string(m.FontSize));
    text.append("\n太字：").append(YesNo(m.FontBold));
    text.append("\n斜体：").append(YesNo(m.FontItalic));
    return text.append(ReadOnlyNote);
}

std::string DescribeBackgroundPage(const TSettingsDialogData& data) {
    const TSettingData& s = data.Settings;
    std::string text = "背景：";
    text += s.Skin.empty() ? std::string("標準の背景 (Skin.dll)") : s.Skin;
    text += "\n透明度：";
    text += s.Transparent < 0 ? std::string("なし") : std::to_string(s.Transparent);
    return text.append(ReadOnlyNote);
}

std::string DescribePositionPage(const TSettingsDialogData& data) {
    static const char* const Places[] = {"画面の中央", "左上", "左下", "右上", "右下"};
    const int position = data.Settings.Position;
    std::string text = "表示位置：";
    text +=
        position >= 0 && position <= 4 ? std::string(Places[position]) : std::to_string(position);
    return text.append(ReadOnlyNote);
}
