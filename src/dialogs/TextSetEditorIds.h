#pragma once
// The text-set editor's template and controls (block 7400). "&Ok" (Button1) and "&Cancel"
// (Button2) are IDOK and IDCANCEL, so that Enter and Escape press them.
#define IDD_TEXTSET_EDITOR 7400
#define IDC_EDITOR_LABEL_TITLE 7401
#define IDC_EDITOR_EDIT1 7402 // title
#define IDC_EDITOR_LABEL_FILE 7403
#define IDC_EDITOR_EDIT2 7404 // file name without ".ini"
#define IDC_EDITOR_LABEL_INI 7405
#define IDC_EDITOR_LABEL_PAGE 7406
#define IDC_EDITOR_COMBOBOX1 7407 // page shown
#define IDC_EDITOR_STRINGGRID1 7408
#define IDC_EDITOR_MEMO1 7409
#define IDC_EDITOR_BUTTON3 7410   // delete the page
#define IDC_EDITOR_BUTTON4 7411   // exchange with another page
#define IDC_EDITOR_BUTTON5 7412   // copy to another page
#define IDC_EDITOR_BUTTON6 7413   // copy the entry
#define IDC_EDITOR_BUTTON7 7414   // exchange the entry
#define IDC_EDITOR_BUTTON8 7415   // delete the entry
#define IDC_EDITOR_CHECKBOX1 7416 // the set has a history window
#define IDC_EDITOR_GROUPBOX1 7417
#define IDC_EDITOR_COMBOBOX2 7418 // window start page
#define IDC_EDITOR_COMBOBOX3 7419 // window start key
#define IDC_EDITOR_LABEL_TO 7420
#define IDC_EDITOR_COMBOBOX4 7421 // window end page
#define IDC_EDITOR_COMBOBOX5 7422 // window end key
#define IDC_EDITOR_LABEL_USE 7423
#define IDC_EDITOR_CHECKBOX2 7424 // load the saved history

// Commands of the entry menu (PopupMenu1) and the page menu (PopupMenu2).
#define IDM_EDITOR_DELETE 7450
#define IDM_EDITOR_ENTRY_FIRST 7500 // + position (0 .. 77)
#define IDM_EDITOR_PAGE_FIRST 7600  // + page (0 .. 2)
