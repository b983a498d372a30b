#pragma once
// The launcher's own splash window: a borderless tool window centred on the
// primary screen that shows one prepared bitmap. Everything here runs on
// the splash thread, which owns the window and its message loop.

#include <windows.h>

#include "common/text.h"
#include "common/unique_handle_win32.h"

class SplashWindow {
public:
    SplashWindow(Text image, bool shadow) : image_(std::move(image)), shadow_(shadow) {}
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    // Decodes and renders the image, creates and shows the window and makes
    // it the owner of error boxes. An unreadable image gives a 0 x 0 window.
    void show();
    // Dispatches this thread's messages until the quit message, then destroys the window.
    void runUntilQuit();

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HWND window) const;

    const Text image_;
    const bool shadow_;
    HWND window_ = nullptr;
    UniqueGdiObject bitmap_;  // the image at its pixel size
};
