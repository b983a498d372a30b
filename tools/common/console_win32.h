#pragma once
// What the console tools share beyond writing text (common/text_output_win32.h).

#include <windows.h>

#include <string>

#include "common/text.h"
#include "common/text_output_win32.h"

// The whole file, or nothing when it cannot be read.
bool readWholeFile(const Text& path, std::string& bytes);
