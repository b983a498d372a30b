#pragma once
// jlaunch-pack's work from its arguments (after the program name) to its exit code:
// 0 packed, 1 a usage problem, 2 an input that cannot be packed or an output that cannot be written.

#include "common/text.h"

int runPackCommand(const TextList& arguments);
