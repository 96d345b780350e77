#pragma once
// Identifiers of the settings dialog's appearance pages, in the blocks of their pages: "フォント"
// and "背景" share their blocks with the key groups they hold (TabKeysIds.h), "表示位置" has its
// own (SettingsDialogIds.h). Labels without a role of their own are -1.

// "フォント": the font list, the style and size, the preview.
#define IDC_LISTBOX1 5210
#define IDC_GROUP_DETAIL 5211
#define IDC_CHECKBOX6 5212
#define IDC_CHECKBOX7 5213
#define IDC_LABEL_FONTSIZE 5214
#define IDC_COMBOBOX7 5215
#define IDC_GROUP_PREVIEW 5216
#define IDC_PANEL3 5217
#define IDC_LABEL26 5218
#define IDC_LABEL27 5219
#define IDC_LABEL_FONTNAME 5220

// "背景": the skin list and the window's transparency.
#define IDC_LABEL_SKINLIST 5310
#define IDC_LISTBOX2 5311
#define IDC_BUTTON14 5312
#define IDC_BUTTON13 5313
#define IDC_GROUP_TRANSPARENCY 5314
#define IDC_CHECKBOX14 5315
#define IDC_LABEL_LEVEL 5316
#define IDC_TRACKBAR1 5317
#define IDC_LABEL_THINTHICK 5318
#define IDC_BUTTON20 5319

// "表示位置": where the menu shows, the radio buttons in position order (0 centre ... 4 bottom
// right).
#define IDC_RADIOGROUP1 2701
#define IDC_RADIO_POSITION0 2702
#define IDC_RADIO_POSITION1 2703
#define IDC_RADIO_POSITION2 2704
#define IDC_RADIO_POSITION3 2705
#define IDC_RADIO_POSITION4 2706
