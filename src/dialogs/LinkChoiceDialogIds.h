#pragma once
// The link dialog's template and controls (block 3000). Its "&Ok" and "&Cancel" buttons are
// IDOK and IDCANCEL, so that Enter and Escape press them.
#define IDD_FORM3 3000
#define IDC_FORM3_LABEL1 3001
// "Register the link file itself".
#define IDC_FORM3_RADIOBUTTON1 3002
// "Register what the link points at", captioned by the caller.
#define IDC_FORM3_RADIOBUTTON2 3003
