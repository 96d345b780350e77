#pragma once
// The control identifiers of the standard background's settings window.
#define IDD_SKIN_SETTINGS 100
#define IDC_WIDTH 101
#define IDC_LINE_SPACE 102
#define IDC_TOP_PANEL 103
#define IDC_BOTTOM_PANEL 104
#define IDC_HIDE_EMBLEM 105
#define IDC_CHANGE_ICON 106
#define IDC_ENABLE_ICON 107
#define IDC_DISABLE_ICON 108
