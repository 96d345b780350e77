#pragma once
// Identifiers of the settings dialog and its tab pages: one block of numbers per page, control
// names as the dialog's description gives them.

// The frame.
#define IDD_SETTINGS_DIALOG 2000
#define IDC_PAGECONTROL1 2001
#define IDC_BUTTON3 2002 // startup registration
#define IDC_BUTTON4 2003 // quit the program

// Tab pages, in the tab control's order; "メニュー", "ウィンドウ操作", "フォント" and "背景" hold
// key controls and have their numbers in TabKeysIds.h.
#define IDD_TAB_LAUNCHER 2100
#define IDD_TAB_CLIPBOARD 2200
#define IDD_TAB_POSITION 2700
#define IDD_TAB_VERSION 2800

// The registration page.
#define IDC_LABEL_KEYASSIGN 2101
#define IDC_DROPCATCHGRID1 2102
#define IDC_LABEL_NAME 2103
#define IDC_MEMO3 2104
#define IDC_LABEL_PATH 2105
#define IDC_EDIT2 2106
#define IDC_BUTTON_BROWSE 2107
#define IDC_LABEL_SIZE 2108
#define IDC_COMBOBOX1 2109
#define IDC_LABEL_OPTION 2110
#define IDC_EDIT3 2111
#define IDC_LABEL_WORKDIR 2112
#define IDC_EDIT4 2113
#define IDC_BUTTON_WORKDIR 2114
#define IDC_LABEL_PAGE 2115
#define IDC_COMBOBOX8 2116
#define IDC_BUTTON_DELETEPAGE 2117
#define IDC_BUTTON_EXCHANGEPAGE 2118
#define IDC_BUTTON_COPYPAGE 2119
#define IDC_BUTTON_UNASSIGN 2120
#define IDC_BUTTON_EXCHANGEKEY 2121
#define IDC_BUTTON_COPYKEY 2122
// Commands of the key menu (PopupMenu1) and the page menu (PopupMenu2).
#define IDM_UNASSIGN 4000
#define IDM_KEY_FIRST 4001  // + slot (0 .. 77)
#define IDM_PAGE_FIRST 4101 // + page (0 .. 2)

// The version page.
#define IDC_IMAGE1 2801
#define IDC_PANEL2 2802
#define IDC_LABEL36 2803
#define IDC_LABEL37 2804
#define IDC_LABEL38 2805
#define IDC_LABEL39 2806
#define IDC_LABEL40 2807
#define IDC_LABEL41 2808
#define IDC_LABEL42 2809
#define IDC_LABEL44 2810
#define IDC_GROUPBOX10 2811
#define IDC_LABEL43 2812
#define IDC_LABEL52 2813
#define IDC_LABEL53 2814
#define IDC_LABEL54 2815
#define IDC_LABEL55 2816
#define IDC_LABEL56 2817
#define IDC_BUTTON15 2818
