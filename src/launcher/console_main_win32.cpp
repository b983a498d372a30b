// The entry point of jlaunchc.exe, the console launcher.
#include "launcher/console_flavour_win32.h"
#include "launcher/launcher_main_win32.h"

int wmain() {
    ConsoleFlavour flavour;
    return runLauncherProcess(flavour);
}
