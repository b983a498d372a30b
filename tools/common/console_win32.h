#pragma once
// Text output of the console tools: UTF-16 to a console, UTF-8 to a pipe or file.

#include <windows.h>

#include <string>

#include "common/text.h"

void writeText(DWORD stream, const Text& text);

// The whole file, or nothing when it cannot be read.
bool readWholeFile(const Text& path, std::string& bytes);
