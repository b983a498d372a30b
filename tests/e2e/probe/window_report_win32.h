#pragma once
// Describing a window of another process, and acting on it like a user.

#include <windows.h>

#include <string>

std::wstring windowText(HWND window);
std::wstring windowClass(HWND window);
// The window with its owner, frame, styles and every child control (id,
// class, text, styles, rectangle in the window's client coordinates).
std::string describeWindow(HWND window, int index);

bool pressButton(HWND dialog, int id);
// Saves what the screen shows of the window as a 24-bit BMP file.
bool saveScreenshot(HWND window, const std::wstring& path);
