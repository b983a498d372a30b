#pragma once
// Describing a window of another process, and acting on it like a user.

#include <windows.h>

#include <string>

std::wstring windowText(HWND window);
std::wstring windowClass(HWND window);
// The window with its owner, frame, client area (and its origin on the
// screen), styles and every child control (id, class, text, styles,
// rectangle in the window's client coordinates).
std::string describeWindow(HWND window, int index, const char* event = "window");

bool pressButton(HWND dialog, int id);
// Posts a left button press at one point of the control and its release at
// another, both in the control's client coordinates.
bool clickControl(HWND dialog, int id, POINT down, POINT up);
// Posts a key press and release to the control, as the dialog's message loop would receive them.
bool pressKey(HWND dialog, int id, UINT virtualKey);
// The paths of the modules the window's process has loaded, as a JSON array.
std::string moduleList(HWND window);
// Saves what the screen shows of the window as a 24-bit BMP file.
bool saveScreenshot(HWND window, const std::wstring& path);
