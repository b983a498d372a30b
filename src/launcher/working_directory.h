#pragma once
// "Override WorkingDir": the folder the launch makes current before it
// chooses a runtime, so that relative paths resolve beside the executable.

#include <optional>

#include "common/text.h"

// The executable's path cut before its last backslash (a drive's root gives
// the bare drive); nothing when it has none or only its first character is one.
std::optional<Text> overriddenWorkingDirectory(const Text& modulePath);
