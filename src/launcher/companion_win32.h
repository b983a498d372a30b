#pragma once
// The paired launcher: a second executable ("Pair Product") that runs a
// runtime this 64-bit launcher cannot load, started in its place.

#include <cstdint>

#include "common/messages.h"

// Starts the paired launcher with none of this launch's arguments and returns
// this launch's exit code: 0 at once, or, when takeExitCode is set, the
// companion's own exit code once it has ended. A companion that cannot be
// started is reported (202 with its path and the error code) and gives -1.
std::uint32_t runPairLauncher(const Text& pairProduct, bool takeExitCode, Messages& messages);
