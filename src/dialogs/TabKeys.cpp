#include "dialogs/TabKeys.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "dialogs/TabKeysIds.h"
#include "dialogs/SettingsDialogIds.h"
#include "frame/StringList.h"
#include "frame/Subclass.h"
#include "settings/KeyCode.h"

namespace {

// A switch and the choice it shows.
struct TSwitch {
    int Id;
    bool TKeyChoices::*Value;
};
constexpr TSwitch Switches[] = {
    {IDC_CHECKBOX9, &TKeyChoices::PageMemory}, {IDC_CHECKBOX10, &TKeyChoices::Hold},
    {IDC_CHECKBOX8, &TKeyChoices::TrayMenu},   {IDC_CHECKBOX4, &TKeyChoices::ImeOpen},
    {IDC_CHECKBOX5, &TKeyChoices::ImeClose},
};

// The lists whose position is the choice itself.
enum class TListKind { CallKey, CommandKey, Seconds, OneToThree };
struct TPositionList {
    int Id;
    int TKeyChoices::*Value;
    TListKind Kind;
};
constexpr TPositionList PositionLists[] = {
    {IDC_COMBOBOX2, &TKeyChoices::LauncherCallKey, TListKind::CallKey},
    {IDC_COMBOBOX3, &TKeyChoices::ClipboardCallKey, TListKind::CallKey},
    {IDC_COMBOBOX9, &TKeyChoices::HoldTime, TListKind::Seconds},
    {IDC_COMBOBOX14, &TKeyChoices::Line, TListKind::OneToThree},
    {IDC_COMBOBOX4, &TKeyChoices::ClipboardPages, TListKind::OneToThree},
    {IDC_COMBOBOX15, &TKeyChoices::DeleteKey, TListKind::CommandKey},
    {IDC_COMBOBOX16, &TKeyChoices::PageChangeKey, TListKind::CommandKey},
    {IDC_COMBOBOX17, &TKeyChoices::SettingKey, TListKind::CommandKey},
    {IDC_COMBOBOX18, &TKeyChoices::SelectCancelKey, TListKind::CommandKey},
    {IDC_COMBOBOX19, &TKeyChoices::QuitKey, TListKind::CommandKey},
    {IDC_COMBOBOX24, &TKeyChoices::ProtectKey, TListKind::CommandKey},
};

// The operations with a switch, a modifier list and a key list of their own.
struct TSingleKey {
    int Switch;
    int Modifier;
    int Key;
    TWindowKeyChoice TKeyChoices::*Value;
};
constexpr TSingleKey SingleKeys[] = {
    {IDC_CHECKBOX1, IDC_COMBOBOX27, IDC_COMBOBOX28, &TKeyChoices::Maximize},
    {IDC_CHECKBOX2, IDC_COMBOBOX29, IDC_COMBOBOX30, &TKeyChoices::Minimize},
    {IDC_CHECKBOX3, IDC_COMBOBOX31, IDC_COMBOBOX32, &TKeyChoices::Restore},
    {IDC_CHECKBOX11, IDC_COMBOBOX25, IDC_COMBOBOX26, &TKeyChoices::Pause},
    {IDC_CHECKBOX17, IDC_COMBOBOX33, IDC_COMBOBOX34, &TKeyChoices::ScreenSaver},
};
// A new modifier keeps a single key's choice when the new list holds it, else this one ("_").
constexpr int SingleKeyDefault = 40;

// Moving and resizing: one switch and modifier list for the four directions and a step.
struct TStepKeys {
    int Switch;
    int Modifier;
    int Memo;
    std::array<int, 4> Keys; // left, up, right, down; a new modifier's defaults are the arrows
    TStepKeyChoice TKeyChoices::*Value;
};
constexpr TStepKeys StepKeys[] = {
    {IDC_CHECKBOX15,
     IDC_COMBOBOX5,
     IDC_MEMO1,
     {IDC_COMBOBOX10, IDC_COMBOBOX11, IDC_COMBOBOX12, IDC_COMBOBOX13},
     &TKeyChoices::Move},
    {IDC_CHECKBOX16,
     IDC_COMBOBOX6,
     IDC_MEMO2,
     {IDC_COMBOBOX20, IDC_COMBOBOX21, IDC_COMBOBOX22, IDC_COMBOBOX23},
     &TKeyChoices::Size},
};
constexpr int StepTextLimit = 5;

constexpr int GroupBoxes[] = {IDC_GROUP_LAUNCHER, IDC_GROUP_CLIPBOARD, IDC_GROUP_GENERAL,
                              IDC_GROUP_MOVE,     IDC_GROUP_SIZE,      IDC_GROUP_IME};

bool IsGroupBox(int id) {
    return std::find(std::begin(GroupBoxes), std::end(GroupBoxes), id) != std::end(GroupBoxes);
}

// Controls in which Enter moves the focus to "&Ok" instead of pressing it.
constexpr int EnterToOk[] = {IDC_MEMO1,      IDC_MEMO2,     IDC_CHECKBOX9, IDC_CHECKBOX10,
                             IDC_CHECKBOX11, IDC_CHECKBOX1, IDC_CHECKBOX2, IDC_CHECKBOX3,
                             IDC_CHECKBOX4,  IDC_CHECKBOX5, IDC_CHECKBOX8};

constexpr UINT_PTR KeyListSubclass = 1;
constexpr UINT_PTR EnterSubclass = 2;

// Position 1 "Control + Alt", 3 "Control" and 4 "Alt" hold no Shift: only with those can a
// keypad key be told from its other meaning, so only their key lists offer the keypad.
bool ModifierTakesKeypad(int position) {
    return position == 1 || position == 3 || position == 4;
}

void FillList(HWND list, const TStringList& items) {
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

TStringList NumberItems(int first, int last) {
    TStringList items;
    for (int n = first; n <= last; ++n)
        items.Add(std::to_string(n));
    return items;
}

TStringList ListItems(TListKind kind) {
    TStringList items;
    switch (kind) {
    case TListKind::CallKey:
        BuildCallKeyList(items);
        return items;
    case TListKind::CommandKey:
        BuildCommandKeyList(items);
        return items;
    case TListKind::Seconds:
        return NumberItems(0, 9);
    case TListKind::OneToThree:
        return NumberItems(1, 3);
    }
    return items;
}

std::string SelectedText(HWND list) {
    const LRESULT at = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (at < 0) return {};
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0);
    if (length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(at),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The 13 key lists share one key-down handler: a key with a place of its own in the list
// (keypad keys, Pause, the page keys, the shifted characters) selects it directly. The character
// message that follows such a key is dropped, or the list's own search would act on it as well.
LRESULT CALLBACK KeyListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR swallow) {
    bool& swallowChar = *reinterpret_cast<bool*>(swallow);
    switch (message) {
    case WM_KEYDOWN: {
        swallowChar = false;
        const auto count = static_cast<std::size_t>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        const int position = KeyFieldSelection(static_cast<int>(wParam), count);
        if (position < 0) break;
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        swallowChar = true;
        return 0;
    }
    case WM_CHAR:
        if (swallowChar) {
            swallowChar = false;
            return 0;
        }
        break;
    case WM_KEYUP:
        swallowChar = false;
        break;
    case WM_NCDESTROY:
        RemoveSubclass(list, KeyListProc, KeyListSubclass);
        break;
    default:
        break;
    }
    return DefSubclass(list, message, wParam, lParam);
}

// An open drop-down list takes Enter as its choice.
bool IsDroppedDown(HWND control) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "ComboBox") == 0 && SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0);
}

// Enter in a switch or a number box is not the dialog's default button: it takes the focus to
// "&Ok", for a second Enter to confirm.
LRESULT CALLBACK EnterProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
    switch (message) {
    case WM_GETDLGCODE: {
        const LRESULT code = DefSubclass(control, message, wParam, lParam);
        return AsksAboutEnter(lParam) ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN || IsDroppedDown(control)) break;
        {
            HWND dialog = GetAncestor(control, GA_ROOT);
            if (HWND ok = GetDlgItem(dialog, IDOK))
                SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
        }
        return 0;
    case WM_CHAR:
        if (wParam == '\r') return 0;
        break;
    case WM_NCDESTROY:
        RemoveSubclass(control, EnterProc, EnterSubclass);
        break;
    default:
        break;
    }
    return DefSubclass(control, message, wParam, lParam);
}

// A direction key list's place in its group's row (0 left ... 3 down), -1 for other controls.
int DirectionIndex(int id) {
    for (const auto& step : StepKeys)
        for (std::size_t i = 0; i < step.Keys.size(); ++i)
            if (step.Keys[i] == id) return static_cast<int>(i);
    return -1;
}

// Every key list: the four of each step group and each single operation's.
std::vector<int> KeyListIds() {
    std::vector<int> ids;
    for (const auto& step : StepKeys)
        ids.insert(ids.end(), step.Keys.begin(), step.Keys.end());
    for (const auto& single : SingleKeys)
        ids.push_back(single.Key);
    return ids;
}

} // namespace

void SendEnterToOk(HWND control) {
    SetSubclass(control, EnterProc, EnterSubclass, 0);
}

int KeyControlId(TKeyControl control) {
    using K = TKeyControl;
    static constexpr std::pair<TKeyControl, int> Ids[] = {
        {K::ComboBox2, IDC_COMBOBOX2},   {K::ComboBox3, IDC_COMBOBOX3},
        {K::ComboBox15, IDC_COMBOBOX15}, {K::ComboBox16, IDC_COMBOBOX16},
        {K::ComboBox17, IDC_COMBOBOX17}, {K::ComboBox18, IDC_COMBOBOX18},
        {K::ComboBox19, IDC_COMBOBOX19}, {K::ComboBox24, IDC_COMBOBOX24},
        {K::ComboBox10, IDC_COMBOBOX10}, {K::ComboBox11, IDC_COMBOBOX11},
        {K::ComboBox12, IDC_COMBOBOX12}, {K::ComboBox13, IDC_COMBOBOX13},
        {K::ComboBox20, IDC_COMBOBOX20}, {K::ComboBox21, IDC_COMBOBOX21},
        {K::ComboBox22, IDC_COMBOBOX22}, {K::ComboBox23, IDC_COMBOBOX23},
        {K::ComboBox28, IDC_COMBOBOX28}, {K::ComboBox30, IDC_COMBOBOX30},
        {K::ComboBox32, IDC_COMBOBOX32}, {K::ComboBox26, IDC_COMBOBOX26},
        {K::ComboBox34, IDC_COMBOBOX34},
    };
    for (const auto& [key, id] : Ids)
        if (key == control) return id;
    return 0;
}

bool TKeyControls::Holds(int id) const {
    return Page && Page->Item(id) != nullptr;
}

void TKeyControls::Attach(TDialog& page) {
    Page = &page;
    for (const auto& list : PositionLists)
        if (Holds(list.Id)) FillList(Page->Item(list.Id), ListItems(list.Kind));
    TStringList modifiers, keys;
    BuildModifierList(modifiers);
    BuildKeyNameList(keys, true);
    auto fillModifierAndKeys = [&](int modifier, std::initializer_list<int> keyLists) {
        if (Holds(modifier)) FillList(Page->Item(modifier), modifiers);
        for (int id : keyLists)
            if (Holds(id)) FillList(Page->Item(id), keys);
    };
    for (const auto& step : StepKeys) {
        fillModifierAndKeys(step.Modifier,
                            {step.Keys[0], step.Keys[1], step.Keys[2], step.Keys[3]});
        if (Holds(step.Memo)) SendMessageA(Page->Item(step.Memo), EM_LIMITTEXT, StepTextLimit, 0);
    }
    for (const auto& single : SingleKeys)
        fillModifierAndKeys(single.Modifier, {single.Key});
    for (int id : KeyListIds())
        if (Holds(id))
            SetSubclass(Page->Item(id), KeyListProc, KeyListSubclass,
                              reinterpret_cast<DWORD_PTR>(&SwallowChar));
    for (int id : EnterToOk)
        if (Holds(id)) SendEnterToOk(Page->Item(id));
}

void TKeyControls::Load(const TKeyChoices& choices) {
    for (const auto& s : Switches)
        if (Holds(s.Id)) Page->SetChecked(s.Id, choices.*s.Value);
    for (const auto& list : PositionLists)
        if (Holds(list.Id)) Page->SetComboIndex(list.Id, choices.*list.Value);
    for (const auto& step : StepKeys) {
        if (!Holds(step.Switch)) continue;
        const TStepKeyChoice& value = choices.*step.Value;
        Page->SetChecked(step.Switch, value.Enabled);
        Page->SetComboIndex(step.Modifier, value.Modifier);
        for (std::size_t i = 0; i < step.Keys.size(); ++i)
            Page->SetComboIndex(step.Keys[i], value.Keys[i]);
        Page->SetItemText(step.Memo, value.Step);
    }
    for (const auto& single : SingleKeys) {
        if (!Holds(single.Switch)) continue;
        const TWindowKeyChoice& value = choices.*single.Value;
        Page->SetChecked(single.Switch, value.Enabled);
        Page->SetComboIndex(single.Modifier, value.Modifier);
        Page->SetComboIndex(single.Key, value.Key);
    }
    ApplyEnabling();
}

void TKeyControls::Save(TKeyChoices& choices) const {
    auto position = [this](int id, int& value) {
        const int at = Page->ComboIndex(id);
        if (at >= 0) value = at;
    };
    for (const auto& s : Switches)
        if (Holds(s.Id)) choices.*s.Value = Page->Checked(s.Id);
    for (const auto& list : PositionLists)
        if (Holds(list.Id)) position(list.Id, choices.*list.Value);
    for (const auto& step : StepKeys) {
        if (!Holds(step.Switch)) continue;
        TStepKeyChoice& value = choices.*step.Value;
        value.Enabled = Page->Checked(step.Switch);
        position(step.Modifier, value.Modifier);
        for (std::size_t i = 0; i < step.Keys.size(); ++i)
            position(step.Keys[i], value.Keys[i]);
        value.Step = Page->ItemText(step.Memo);
    }
    for (const auto& single : SingleKeys) {
        if (!Holds(single.Switch)) continue;
        TWindowKeyChoice& value = choices.*single.Value;
        value.Enabled = Page->Checked(single.Switch);
        position(single.Modifier, value.Modifier);
        position(single.Key, value.Key);
    }
}

void TKeyControls::Commit() const {
    for (const auto& step : StepKeys)
        if (Holds(step.Memo)) NormaliseNumberBox(step.Memo);
}

void TKeyControls::NormaliseNumberBox(int id) const {
    const std::string text = Page->ItemText(id);
    const std::string normal = NumberBoxText(text);
    if (normal != text) Page->SetItemText(id, normal);
}

bool TKeyControls::OnCommand(int id, int code) {
    if (!Page || !Holds(id)) return false;
    if (code == BN_CLICKED) {
        // Only switches are clicked on these pages.
        ApplyEnabling();
        return true;
    }
    if (code == CBN_SELCHANGE) {
        for (const auto& step : StepKeys) {
            if (id != step.Modifier) continue;
            const bool keypad = ModifierTakesKeypad(Page->ComboIndex(id));
            for (std::size_t i = 0; i < step.Keys.size(); ++i)
                RebuildKeyList(step.Keys[i], keypad, static_cast<int>(i));
            return true;
        }
        for (const auto& single : SingleKeys) {
            if (id != single.Modifier) continue;
            RebuildKeyList(single.Key, ModifierTakesKeypad(Page->ComboIndex(id)), SingleKeyDefault);
            return true;
        }
        if (id == IDC_COMBOBOX3) {
            ApplyEnabling();
            return true;
        }
        return false;
    }
    if (code == EN_KILLFOCUS) {
        for (const auto& step : StepKeys) {
            if (id != step.Memo) continue;
            NormaliseNumberBox(id);
            return true;
        }
    }
    return false;
}

void TKeyControls::ApplyEnabling() const {
    for (const auto& step : StepKeys) {
        if (!Holds(step.Switch)) continue;
        const bool on = Page->Checked(step.Switch);
        Page->Enable(step.Modifier, on);
        Page->Enable(step.Memo, on);
        for (int id : step.Keys)
            Page->Enable(id, on);
    }
    for (const auto& single : SingleKeys) {
        if (!Holds(single.Switch)) continue;
        const bool on = Page->Checked(single.Switch);
        Page->Enable(single.Modifier, on);
        Page->Enable(single.Key, on);
    }
    if (Holds(IDC_CHECKBOX10)) Page->Enable(IDC_COMBOBOX9, Page->Checked(IDC_CHECKBOX10));
    if (Holds(IDC_COMBOBOX3)) {
        const bool on = Page->ComboIndex(IDC_COMBOBOX3) != 0;
        for (int id : {IDC_COMBOBOX4, IDC_COMBOBOX15, IDC_COMBOBOX24})
            Page->Enable(id, on);
    }
}

void TKeyControls::RebuildKeyList(int id, bool withKeypad, int defaultPosition) const {
    HWND list = Page->Item(id);
    const std::string chosen = SelectedText(list);
    TStringList names;
    BuildKeyNameList(names, withKeypad);
    FillList(list, names);
    const auto found = std::find(names.begin(), names.end(), chosen);
    const int at = !chosen.empty() && found != names.end() ? static_cast<int>(found - names.begin())
                                                           : defaultPosition;
    Page->SetComboIndex(id, at);
}

bool TKeyPage::OnInit() {
    Keys.Attach(*this);
    Design = RecordTemplatePlaces(Handle());
    for (const TTemplatePlace& place : Design)
        if (IsGroupBox(GetDlgCtrlID(place.Control)) && DesignGroup.right == 0)
            DesignGroup = place.Rect;
    return true;
}

void TKeyPage::Load(const TSettingsDialogData& data) {
    Keys.Load(KeyChoicesFromSettings(data.Settings, data.Menu));
}

void TKeyPage::Save(TSettingsDialogData& data) const {
    // The page takes back only what it shows; the other pages' choices pass through unchanged.
    TKeyChoices choices = KeyChoicesFromSettings(data.Settings, data.Menu);
    Keys.Save(choices);
    KeyChoicesToSettings(choices, data.Settings, data.Menu);
}

void TKeyPage::Commit() {
    Keys.Commit();
}

bool TKeyPage::OnCommand(int id, int code, HWND) {
    return Keys.OnCommand(id, code);
}

void TKeyPage::DpiChanged(int oldDpi, int newDpi) {
    RescalePlaces(Design, oldDpi, newDpi);
    DesignGroup = RescaleRect(DesignGroup, oldDpi, newDpi);
}

void TKeyPage::Layout(int width, int) {
    // The group boxes are the tab control's width - 8 (pixels at 96 dots per inch), centred on the
    // page (never wider than it). The controls right of a group's middle move with half of the
    // groups' growth, so that the two columns share the extra room; a row of four direction keys
    // spreads evenly.
    RECT tabs{};
    HWND tabControl = GetDlgItem(GetParent(Handle()), IDC_PAGECONTROL1);
    const int tabWidth =
        tabControl && GetWindowRect(tabControl, &tabs) ? tabs.right - tabs.left : width;
    const int groupWidth = std::min(tabWidth - Scaled(8), width);
    const int groupLeft = (width - groupWidth) / 2;
    const bool hasGroups = DesignGroup.right > DesignGroup.left;
    const int half = hasGroups ? (groupLeft + groupWidth - DesignGroup.right) / 2 : 0;
    const int middle = (DesignGroup.left + DesignGroup.right) / 2;
    for (const TTemplatePlace& d : Design) {
        const RECT& r = d.Rect;
        const int id = GetDlgCtrlID(d.Control);
        int dx = 0;
        if (IsGroupBox(id)) {
            SetWindowPos(d.Control, nullptr, groupLeft, r.top, groupWidth, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            continue;
        }
        if (const int direction = DirectionIndex(id); direction >= 0)
            dx = half * direction / 3;
        else if (hasGroups && r.left >= middle)
            dx = half;
        if (dx != 0)
            SetWindowPos(d.Control, nullptr, r.left + dx, r.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}
