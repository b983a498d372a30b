#pragma once
// The splash of one launch: the runtime's splash library or the launcher's
// own window on a thread of its own, and the closing of each.

#include <windows.h>

#include <memory>

#include "common/unique_handle_win32.h"
#include "splash/native_splash_win32.h"
#include "splash/splash_choice.h"
#include "splash/splash_window_win32.h"

class SplashScreen final : public SplashStarter {
public:
    SplashScreen() = default;
    SplashScreen(const SplashScreen&) = delete;
    SplashScreen& operator=(const SplashScreen&) = delete;
    ~SplashScreen() override { closeOwn(); }

    bool startNative(const Text& libraryPath, const Text& image) override;
    // Starts the splash thread and returns without waiting for it.
    void startOwn(const Text& image, bool shadow) override;

    // Ends the splash thread and with it the own window; nothing when none
    // was started. Called by one thread at a time: the Java main thread
    // before the exception dialog, the main thread at shutdown.
    void closeOwn();
    // SplashClose of the runtime's library, at most once.
    void closeNative() { native_.close(); }

private:
    NativeSplash native_;
    std::unique_ptr<SplashWindow> window_;
    UniqueHandle thread_;
    DWORD threadId_ = 0;
};
