#pragma once
// Facts about this process and its platform that the settings step needs.

#include <windows.h>

#include <optional>

#include "common/text.h"

struct ModulePath {
    std::optional<Text> path;
    DWORD error = ERROR_SUCCESS; // the last-error value when path is empty
};

// The executable's full path; long paths are read in full.
ModulePath executablePath();

// True on the NT family of Windows (every Windows this launcher runs on).
bool isNtPlatform();
