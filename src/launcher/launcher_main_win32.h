#pragma once
// The life of a launcher process, the same for both executables: one
// Launcher, three phases, one exit code.

#include "launcher/launcher_flavour_win32.h"

int runLauncherProcess(LauncherFlavour& flavour);
