#pragma once
// Identifiers of the settings dialog's key pages ("メニュー", "ウィンドウ操作") and of the key
// groups on "フォント" and "背景" (their other controls are in TabAppearanceIds.h): one block of
// hundreds per page, the key controls named as the dialog's description names them. Labels
// without a role of their own are -1.

// "メニュー": the call keys, the menu's behaviour and command keys, the call toggle.
#define IDD_TAB_MENU 5000
#define IDC_GROUP_LAUNCHER 5001
#define IDC_COMBOBOX2 5002
#define IDC_CHECKBOX9 5003
#define IDC_GROUP_CLIPBOARD 5004
#define IDC_COMBOBOX3 5005
#define IDC_COMBOBOX4 5006
#define IDC_COMBOBOX15 5007
#define IDC_COMBOBOX24 5008
#define IDC_GROUP_GENERAL 5009
#define IDC_CHECKBOX10 5010
#define IDC_COMBOBOX9 5011
#define IDC_COMBOBOX14 5012
#define IDC_COMBOBOX16 5013
#define IDC_COMBOBOX17 5014
#define IDC_COMBOBOX18 5015
#define IDC_COMBOBOX19 5016
#define IDC_CHECKBOX11 5017
#define IDC_COMBOBOX25 5018
#define IDC_COMBOBOX26 5019

// "ウィンドウ操作": moving and resizing with four direction keys, maximise, minimise, restore.
#define IDD_TAB_WINDOW 5100
#define IDC_GROUP_MOVE 5101
#define IDC_CHECKBOX15 5102
#define IDC_COMBOBOX5 5103
#define IDC_MEMO1 5104
#define IDC_COMBOBOX10 5105
#define IDC_COMBOBOX11 5106
#define IDC_COMBOBOX12 5107
#define IDC_COMBOBOX13 5108
#define IDC_GROUP_SIZE 5111
#define IDC_CHECKBOX16 5112
#define IDC_COMBOBOX6 5113
#define IDC_MEMO2 5114
#define IDC_COMBOBOX20 5115
#define IDC_COMBOBOX21 5116
#define IDC_COMBOBOX22 5117
#define IDC_COMBOBOX23 5118
#define IDC_CHECKBOX1 5121
#define IDC_COMBOBOX27 5122
#define IDC_COMBOBOX28 5123
#define IDC_CHECKBOX2 5124
#define IDC_COMBOBOX29 5125
#define IDC_COMBOBOX30 5126
#define IDC_CHECKBOX3 5127
#define IDC_COMBOBOX31 5128
#define IDC_COMBOBOX32 5129
#define IDC_CHECKBOX8 5130 // the tray-menu key: kept with the settings, never shown

// "フォント": the input-method switches below the font and its preview.
#define IDD_TAB_FONT 5200
#define IDC_GROUP_IME 5201
#define IDC_CHECKBOX4 5202
#define IDC_CHECKBOX5 5203

// "背景": the screen-saver key below the skin and the transparency.
#define IDD_TAB_BACKGROUND 5300
#define IDC_CHECKBOX17 5301
#define IDC_COMBOBOX33 5302
#define IDC_COMBOBOX34 5303
