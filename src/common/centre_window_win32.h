#pragma once

#include <windows.h>

// Centres a top-level dialog on its visible owner, else on the primary work area.
void CentreWindow(HWND dialog);
