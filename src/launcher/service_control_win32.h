#pragma once
// Where a launcher process meets the service control manager: when the
// settings say "Application Type=service" and the manager started this
// process, the launch runs as the service's work.

#include <optional>

#include "launcher/launcher_flavour_win32.h"

using LaunchRun = int (*)(LauncherFlavour& flavour);

// The process exit code of the launch run as the service; nothing when the
// settings ask for no service or the service control manager did not start
// this process (the caller then launches as from a desktop).
std::optional<int> runAsServiceWhenStartedByManager(LaunchRun runLaunch);
