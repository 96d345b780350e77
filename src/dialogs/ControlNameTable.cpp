// The names screen readers give the controls of the dialogs that no label before them names
// (frame/ControlNames.h names the others from their labels).
#include "frame/ControlNames.h"

#include "dialogs/TabAppearanceIds.h"
#include "dialogs/TabKeysIds.h"
#include "dialogs/SettingsDialogIds.h"
#include "dialogs/TextSetEditorIds.h"

namespace {

struct TControlName {
    int Template;
    int Control;
    const char* Name;
};

const TControlName ControlNames[] = {
    {IDD_SETTINGS_DIALOG, IDC_PAGECONTROL1, "設定の項目"},
    {IDD_TAB_FONT, IDC_PANEL3, "フォントのプレビュー"},
    {IDD_TAB_VERSION, IDC_IMAGE1, "ミルトのアイコン"},
    {IDD_TEXTSET_EDITOR, IDC_EDITOR_STRINGGRID1, "テキストの一覧"},
    {IDD_TEXTSET_EDITOR, IDC_EDITOR_MEMO1, "選んだ行のテキスト"},
    // "[page][line] ～ [page][line] を履歴に使う"
    {IDD_TEXTSET_EDITOR, IDC_EDITOR_COMBOBOX2, "履歴に使う最初のページ"},
    {IDD_TEXTSET_EDITOR, IDC_EDITOR_COMBOBOX3, "履歴に使う最初のキー"},
    {IDD_TEXTSET_EDITOR, IDC_EDITOR_COMBOBOX4, "履歴に使う最後のページ"},
    {IDD_TEXTSET_EDITOR, IDC_EDITOR_COMBOBOX5, "履歴に使う最後のキー"},
};

} // namespace

const char* ExplicitControlName(int templateId, int controlId) {
    for (const TControlName& entry : ControlNames)
        if (entry.Template == templateId && entry.Control == controlId) return entry.Name;
    return nullptr;
}
