// The process entry point: one Launcher, three phases, one exit code.
#include <windows.h>

#include "launcher/launcher_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Launcher launcher;
    SetThreadLocale(GetSystemDefaultLCID());
    const std::uint32_t exitCode = launcher.initialise() ? launcher.run() : 0xFFFFFFFFu;
    launcher.shutdown();
    return static_cast<int>(exitCode);
}
