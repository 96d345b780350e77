#pragma once
// The missing-application dialog's template and controls (block 6000). Its "&Ok" and "&Cancel"
// buttons are IDOK and IDCANCEL.
#define IDD_MISSING_PROGRAM 6000
#define IDC_MISSING_LABEL1 6001
// The page number, key letter and path of the launcher entry, beside their captions.
#define IDC_MISSING_PAGE 6002
#define IDC_MISSING_KEY 6003
#define IDC_MISSING_PATH 6004
// The radio group " 対応 " and its three answers, in their sequence.
#define IDC_MISSING_RADIOGROUP1 6010
#define IDC_MISSING_BACK 6011
#define IDC_MISSING_IGNORE 6012
#define IDC_MISSING_IGNORE_ALL 6013
