#pragma once
// The splash of one launch: the runtime's splash library or the launcher's
// own window on a thread of its own, and the closing of each.

#include <windows.h>

#include <memory>

#include "common/unique_handle_win32.h"
#include "common/waiting_thread_win32.h"
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
    // Prepares the own window; its thread starts with the VM's creation.
    void startOwn(const Text& image, bool shadow) override;
    // Has the waiting main thread start the splash thread and returns at
    // once. Started before, the thread's start and the libraries it loads
    // would hold the launcher's way to the VM up on the loader's lock (the
    // JVM library's load, the Java main thread's start); from here on it runs
    // beside the VM's creation.
    void beforeVmCreation() override;

    // Ends the splash thread and with it the own window; nothing when none
    // was started. Called by one thread at a time: the Java main thread
    // before the exception dialog, the main thread at shutdown.
    void closeOwn();
    // SplashClose of the runtime's library, at most once.
    void closeNative() { native_.close(); }

private:
    static void CALLBACK startFromApc(ULONG_PTR screen);
    void startThread();

    NativeSplash native_;
    std::unique_ptr<SplashWindow> window_;
    WaitingThread starter_;
    UniqueHandle threadStarted_;  // set once the splash thread has been started (or could not be)
    bool startAsked_ = false;
    UniqueHandle thread_;
    DWORD threadId_ = 0;
};
