#pragma once
// The link dialog's template and controls (block 3000). Its "&Ok" and "&Cancel" buttons are
// IDOK and IDCANCEL, so that Enter and Escape press them.
#define IDD_LINK_CHOICE 3000
#define IDC_LINKCHOICE_LABEL1 3001
// "Register the link file itself".
#define IDC_LINKCHOICE_RADIOBUTTON1 3002
// "Register what the link points at", captioned by the caller.
#define IDC_LINKCHOICE_RADIOBUTTON2 3003
