#pragma once
// How the console launcher writes a message: one line, "<program>: <text>",
// so that a script can read it whatever text the message holds.

#include "common/text.h"

// The name a user knows the program by: its file name without the extension.
Text programNameOf(const Text& executablePath);

// The message after the program's name on one line: each line break, with
// the blanks around it, becomes one space, and those at either end go. No
// line break is added.
Text errorLine(const Text& program, const Text& message);
