#include "splash/native_splash_win32.h"

#include <windows.h>

#include <string>

#include "common/ansi.h"
#include "common/ansi_path.h"
#include "common/entry_point_win32.h"
#include "common/platform_win32.h"
#include "common/system_library_win32.h"
#include "common/wide_win32.h"

bool NativeSplash::start(const Text& libraryPath, const Text& image) {
    // Its windows load what the launcher's do.
    preloadWindowSystemLibraries();
    // Never freed: the library's window may outlive any scope of ours.
    const HMODULE library = LoadLibraryW(wide(libraryPath));
    if (!library) return false;
    using InitFunction = void (*)();
    using LoadFileFunction = int (*)(const char*);
    using SetFileJarNameFunction = void (*)(const char*, const char*);
    const auto init = entryPoint<InitFunction>(library, "SplashInit");
    const auto loadFile = entryPoint<LoadFileFunction>(library, "SplashLoadFile");
    const auto setFileJarName = entryPoint<SetFileJarNameFunction>(library, "SplashSetFileJarName");
    close_ = entryPoint<CloseFunction>(library, "SplashClose");
    if (!init || !loadFile || !setFileJarName) return false;

    // The library reads the path through the ANSI code page.
    const std::string path = toAnsi(ansiReadablePath(image, WindowsPathNames()).value_or(image));
    // The library reports an unreadable image itself, if at all.
    init();
    loadFile(path.c_str());
    setFileJarName(path.c_str(), "");
    return true;
}

void NativeSplash::close() {
    if (const CloseFunction close = close_) {
        close_ = nullptr;
        close();
    }
}
