#pragma once
// The life of a launcher process, the same for both executables: one
// Launcher, three phases, one exit code; as a service's work when the
// settings ask for one and the service control manager started the process.

#include "launcher/launcher_flavour_win32.h"

int runLauncherProcess(LauncherFlavour& flavour);
