#pragma once
// The text-set chooser's template and controls (block 7700). "&Ok" and "&Cancel" are IDOK and
// IDCANCEL.
#define IDD_TEXTSET_CHOOSER 7700
#define IDC_CHOOSER_LABEL1 7701
#define IDC_CHOOSER_LISTBOX1 7702
#define IDC_CHOOSER_REFRESH 7703
