#pragma once
// Text on a standard stream: UTF-16 to a console, UTF-8 to a pipe or file.

#include <windows.h>

#include "common/text.h"

// stream: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE; nothing happens without one.
void writeText(DWORD stream, const Text& text);
