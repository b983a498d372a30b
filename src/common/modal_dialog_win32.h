#pragma once
// Running the launcher's dialogs from their templates in the user's language.

#include <windows.h>

// Runs the dialog modally, owned by the calling thread's active window.
// Returns the dialog's result, or -1 when it cannot be shown.
INT_PTR runModalDialog(int templateId, DLGPROC procedure, LPARAM parameter);

// Puts the system's error icon into the dialog's icon control.
void setErrorIcon(HWND dialog, int iconControlId);
