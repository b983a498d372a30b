#pragma once
// Memory options sized from the machine: -Xms, -Xmx and -Xss written as
// percent[:minimumMB[:maximumMB]] followed by P (of physical memory) or T (of
// the available virtual address space), and the stack size -Xss asks for.

#include <cstdint>

#include "common/platform.h"
#include "common/text.h"

// "-Xms", "-Xmx" or "-Xss" (exactly these capitals) ending in P, p, T or t.
bool isMemorySizedOption(const Text& token);

// The option with its size worked out in kilobytes: -Xmx50:256:1024P gives
// -Xmx1048576K with 8 GiB of physical memory. Numbers too large for 64 bits
// saturate instead of wrapping.
Text rewriteMemorySizedOption(const Text& token, const MemoryFigures& memory);

// Bytes for the text after "-Xss" (512k, 2m, 1048576); 0 when it does not
// begin with a digit or holds a ':'. Saturates instead of wrapping.
std::uint64_t stackSizeFromXss(const Text& size);
