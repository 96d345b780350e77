#pragma once
// Identifiers of the settings dialog's key pages ("メニュー", "ウィンドウ操作") and of the pages
// that hold a key group beside their values ("フォント", "背景"): one block of hundreds per page,
// the key controls named as the dialog's description names them. Labels without a role of their
// own are -1.

// "メニュー": the call keys, the menu's behaviour and command keys, the call toggle.
#define IDD_TAB_MENU 3000
#define IDC_GROUP_LAUNCHER 3001
#define IDC_COMBOBOX2 3002
#define IDC_CHECKBOX9 3003
#define IDC_GROUP_CLIPBOARD 3004
#define IDC_COMBOBOX3 3005
#define IDC_COMBOBOX4 3006
#define IDC_COMBOBOX15 3007
#define IDC_COMBOBOX24 3008
#define IDC_GROUP_GENERAL 3009
#define IDC_CHECKBOX10 3010
#define IDC_COMBOBOX9 3011
#define IDC_COMBOBOX14 3012
#define IDC_COMBOBOX16 3013
#define IDC_COMBOBOX17 3014
#define IDC_COMBOBOX18 3015
#define IDC_COMBOBOX19 3016
#define IDC_CHECKBOX11 3017
#define IDC_COMBOBOX25 3018
#define IDC_COMBOBOX26 3019

// "ウィンドウ操作": moving and resizing with four direction keys, maximise, minimise, restore.
#define IDD_TAB_WINDOW 3100
#define IDC_GROUP_MOVE 3101
#define IDC_CHECKBOX15 3102
#define IDC_COMBOBOX5 3103
#define IDC_MEMO1 3104
#define IDC_COMBOBOX10 3105
#define IDC_COMBOBOX11 3106
#define IDC_COMBOBOX12 3107
#define IDC_COMBOBOX13 3108
#define IDC_GROUP_SIZE 3111
#define IDC_CHECKBOX16 3112
#define IDC_COMBOBOX6 3113
#define IDC_MEMO2 3114
#define IDC_COMBOBOX20 3115
#define IDC_COMBOBOX21 3116
#define IDC_COMBOBOX22 3117
#define IDC_COMBOBOX23 3118
#define IDC_CHECKBOX1 3121
#define IDC_COMBOBOX27 3122
#define IDC_COMBOBOX28 3123
#define IDC_CHECKBOX2 3124
#define IDC_COMBOBOX29 3125
#define IDC_COMBOBOX30 3126
#define IDC_CHECKBOX3 3127
#define IDC_COMBOBOX31 3128
#define IDC_COMBOBOX32 3129
#define IDC_CHECKBOX8 3130 // the tray-menu key: kept with the settings, never shown

// "フォント": the input-method switches below the page's values.
#define IDD_TAB_FONT 3200
#define IDC_GROUP_IME 3201
#define IDC_CHECKBOX4 3202
#define IDC_CHECKBOX5 3203

// "背景": the screen-saver key below the page's values.
#define IDD_TAB_BACKGROUND 3300
#define IDC_CHECKBOX17 3301
#define IDC_COMBOBOX33 3302
#define IDC_COMBOBOX34 3303
