#include "splash/splash_choice.h"

#include "common/path_parts.h"

Text nativeSplashLibraryPath(const Text& jvmLibraryPath, const FileProbe& files) {
    const Text library = withTrailingBackslash(withoutLastComponents(jvmLibraryPath, 2)) + u"splashscreen.dll";
    return files.exists(library) ? library : Text();
}

void startChosenSplash(const SplashSettings& settings, const Text& jvmLibraryPath, const FileProbe& files,
                       SplashStarter& starter) {
    if (settings.image.empty()) return;
    if (settings.prefersNative()) {
        const Text library = nativeSplashLibraryPath(jvmLibraryPath, files);
        if (!library.empty() && starter.startNative(library, settings.image)) return;
    }
    starter.startOwn(settings.image, settings.wantsShadow());
}

SplashPosition centredSplashPosition(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
    return {(screenWidth - pictureWidth) / 2, (screenHeight - pictureHeight) / 2};
}
