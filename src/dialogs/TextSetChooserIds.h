#pragma once
// The text-set chooser's template and controls (block 7700). "&Ok" and "&Cancel" are IDOK and
// IDCANCEL.
#define IDD_FORM5 7700
#define IDC_FORM5_LABEL1 7701
#define IDC_FORM5_LISTBOX1 7702
#define IDC_FORM5_REFRESH 7703
