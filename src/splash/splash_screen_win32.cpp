#include "splash/splash_screen_win32.h"

namespace {

DWORD WINAPI splashThread(LPVOID window) {
    auto& splash = *static_cast<SplashWindow*>(window);
    splash.show();
    splash.runUntilQuit();
    return 0;
}

} // namespace

bool SplashScreen::startNative(const Text& libraryPath, const Text& image) {
    return native_.start(libraryPath, image);
}

void SplashScreen::startOwn(const Text& image, bool shadow) {
    window_ = std::make_unique<SplashWindow>(image, shadow);
    threadStarted_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

void SplashScreen::beforeVmCreation() {
    if (!window_ || startAsked_) return;
    startAsked_ = true;
    // Without the event a queued start could not be waited for: started here.
    if (threadStarted_) starter_.run(startFromApc, reinterpret_cast<ULONG_PTR>(this));
    else startThread();
}

void CALLBACK SplashScreen::startFromApc(ULONG_PTR screen) { reinterpret_cast<SplashScreen*>(screen)->startThread(); }

void SplashScreen::startThread() {
    thread_.reset(CreateThread(nullptr, 0, splashThread, window_.get(), 0, &threadId_));
    if (threadStarted_) SetEvent(threadStarted_.get());
}

void SplashScreen::closeOwn() {
    // A start may still be on its way to the waiting thread, which may be this one.
    if (startAsked_ && threadStarted_) waitRunningQueuedWork(threadStarted_.get());
    if (thread_) {
        // The quit message is lost while the thread has no message queue yet
        // (it is still decoding), so it is posted again until the thread ends.
        constexpr DWORD kRepostAfterMs = 5;
        do {
            PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        } while (WaitForSingleObject(thread_.get(), kRepostAfterMs) == WAIT_TIMEOUT);
        thread_.reset();
    }
    window_.reset();
    startAsked_ = false;
}
