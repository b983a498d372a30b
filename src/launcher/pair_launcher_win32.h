#pragma once
// The paired launcher: a second executable ("Pair Product") that runs a
// runtime this 64-bit launcher cannot load, started in its place.

#include "launcher/launch_host.h"

// Starts the paired launcher with none of this launch's arguments. This
// launch's exit code is 0 at once, or, when waitForExit is set, the paired
// launcher's own once it has ended.
PairLauncherRun runPairLauncher(const Text& pairProduct, bool waitForExit);
