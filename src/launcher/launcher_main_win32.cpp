#include "launcher/launcher_main_win32.h"

#include <windows.h>

#include "common/system_library_win32.h"
#include "launcher/launcher_win32.h"
#include "launcher/service_control_win32.h"

namespace {

int runLaunch(LauncherFlavour& flavour) {
    Launcher launcher(flavour);
    SetThreadLocale(GetSystemDefaultLCID());
    const std::uint32_t exitCode = launcher.initialise() ? launcher.run() : 0xFFFFFFFFu;
    launcher.shutdown();
    return static_cast<int>(exitCode);
}

} // namespace

int runLauncherProcess(LauncherFlavour& flavour) {
    // Before anything is loaded: a document's folder must not supply libraries.
    removeCurrentDirectoryFromDllSearch();
    if (const auto exitCode = runAsServiceWhenStartedByManager(runLaunch)) return *exitCode;
    return runLaunch(flavour);
}
