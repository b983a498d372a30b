#pragma once
// The runtime's own splash library, "splashscreen.dll", driven through its exports.

#include "common/text.h"

class NativeSplash {
public:
    // Loads the library (for the life of the process) and shows the image
    // through it. False when it cannot be loaded or lacks SplashInit,
    // SplashLoadFile or SplashSetFileJarName; SplashClose is remembered
    // whenever the library offers it, so close() still calls it then.
    bool start(const Text& libraryPath, const Text& image);
    // Calls SplashClose, at most once per start.
    void close();

private:
    using CloseFunction = void (*)();
    CloseFunction close_ = nullptr;
};
