#pragma once
// Names for screen readers of the controls of a dialog that show no text of their own (edits,
// combo boxes, lists, track bars, pictures): the system's standard accessible object names a
// control only by its own window text, so each such control is given the name of the label
// before it in the tab order, of the check box or group box it belongs to, or one from the
// dialogs' table. The control then answers accessibility clients with the standard object under
// that name.
#include <windows.h>

#include <string>

// Names the dialog's controls (a dialog made from the template given) once it is initialised.
void NameDialogControls(HWND dialog, int templateId);

// The name given to a control of a template where no label serves; nullptr for none. The
// dialogs define the table.
const char* ExplicitControlName(int templateId, int controlId);
