#pragma once
// Which splash a launch shows: none, the runtime's splash library, or the
// launcher's own window; and where the own window goes.

#include "common/platform.h"
#include "splash/splash_settings.h"

// The two ways of showing the image.
class SplashStarter {
public:
    virtual ~SplashStarter() = default;
    // The runtime's splash library; false when it cannot be loaded or lacks an entry it needs.
    virtual bool startNative(const Text& libraryPath, const Text& image) = 0;
    // The launcher's own window, shown by a thread of its own; returns at once.
    virtual void startOwn(const Text& image, bool shadow) = 0;
    // Called on the thread that creates the VM, just before it does.
    virtual void beforeVmCreation() {}
};

// "splashscreen.dll" in the folder above the JVM library's folder (the
// runtime's bin folder for bin\server\jvm.dll); empty when no such file exists.
Text nativeSplashLibraryPath(const Text& jvmLibraryPath, const FileProbe& files);

// No image: nothing. The runtime's library when preferred, present and
// willing; the own window otherwise.
void startChosenSplash(const SplashSettings& settings, const Text& jvmLibraryPath, const FileProbe& files,
                       SplashStarter& starter);

struct SplashPosition {
    int x = 0, y = 0;
};

// Centred on the screen; a picture larger than the screen gets negative
// coordinates. Halves truncate toward zero.
SplashPosition centredSplashPosition(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight);
