#pragma once
// The clipboard page's controls (block 2200; its template's number is in SettingsDialogIds.h).
#define IDC_CLIPBOARD_LABEL1 2201
#define IDC_LISTBOX3 2202   // the sets, the blank entry first
#define IDC_BUTTON16 2203   // new set
#define IDC_BUTTON17 2204   // edit set
#define IDC_BUTTON18 2205   // delete set
#define IDC_BUTTON19 2206   // refresh the list
#define IDC_BUTTON21 2207   // switch the set in use
#define IDC_CHECKBOX13 2208 // save the history at exit
