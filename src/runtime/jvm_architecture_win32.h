#pragma once

#include "common/text.h"

// True when the library is a PE image for x86 (machine 0x014C). Reads the
// headers through a read-only mapping; anything it cannot open, map or
// recognise counts as not x86.
bool isX86Library(const Text& libraryPath);
