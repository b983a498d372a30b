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
    thread_.reset(CreateThread(nullptr, 0, splashThread, window_.get(), 0, &threadId_));
    if (!thread_) window_.reset();
}

void SplashScreen::closeOwn() {
    if (!window_) return;
    // The quit message is lost while the thread has no message queue yet
    // (it is still decoding), so it is posted again until the thread ends.
    constexpr DWORD kRepostAfterMs = 5;
    do {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    } while (WaitForSingleObject(thread_.get(), kRepostAfterMs) == WAIT_TIMEOUT);
    thread_.reset();
    window_.reset();
}
