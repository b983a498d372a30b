// The entry point of jlaunch.exe, the GUI launcher.
#include <windows.h>

#include "launcher/launcher_main_win32.h"
#include "launcher/window_flavour_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    WindowFlavour flavour;
    return runLauncherProcess(flavour);
}
