#pragma once
// A resizable dialog on Windows: its size grip, its minimum size and the
// controls that follow its edges (the rules are in dialog_layout.h).

#include <windows.h>

#include <span>

#include "common/dialog_layout.h"

constexpr int kSizeGripId = 0xE801;

// Called on WM_INITDIALOG, after the dialog is centred: adds a size grip in
// the bottom-right corner, takes the present size as the minimum and notes
// where each control of the rules is now. The grip is the first row.
void initialiseDialogLayout(HWND dialog, DialogLayout& layout, std::span<const AnchorRule> rules);

// Lays the controls out on WM_SIZE and reports the minimum on
// WM_GETMINMAXINFO; true when the message was one of these two.
bool handleDialogLayoutMessage(HWND dialog, const DialogLayout& layout, UINT message, WPARAM wParam, LPARAM lParam);
