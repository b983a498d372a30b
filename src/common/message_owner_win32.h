#pragma once
// The window that owns error boxes: the splash window once it exists, none before.

#include <windows.h>

void setMessageOwner(HWND owner);
HWND currentMessageOwner();
