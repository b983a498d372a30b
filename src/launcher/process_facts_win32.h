#pragma once
// Facts about this process and its platform that the settings step needs.

#include <windows.h>

#include <optional>

#include "launcher/launch_host.h"

// The executable's full path; long paths are read in full.
ExecutablePath executablePath();

// True on the NT family of Windows (every Windows this launcher runs on).
bool isNtPlatform();
