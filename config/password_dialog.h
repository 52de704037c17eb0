// The password dialog that guards the set-up.
#pragma once

#include <windows.h>

#include "config_record.h"

// Shows the dialog modally; returns when it has closed (always 0).
INT_PTR showPasswordDialog(HWND owner);
INT_PTR CALLBACK passwordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Whether the first field's text at the last Accept press of the latest
// opening opens the stored password; false when that opening had no press.
bool enteredPasswordOpens(const PasswordText& stored);
