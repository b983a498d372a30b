#pragma once
// Paths handed over as narrow strings in the ANSI code page (the VM's option
// strings, the runtime's splash library) arrive intact only in a form that
// the code page holds; Windows gives most paths such a form, the short one.

#include <optional>

#include "common/platform.h"
#include "common/text.h"

// The path itself when the code page holds it and it is shorter than 260
// characters; else its short form when the code page holds that; else the
// path itself when the code page holds it (long, but every character
// arrives); nullopt when no form arrives intact.
std::optional<Text> ansiReadablePath(const Text& path, const PathNames& names);

struct AnsiReadablePathList {
    Text list;             // each entry in its readable form where it has one, else as written
    Text unreadableEntry;  // the first entry without one; empty when every entry has one
};

// The same for each entry of a ';'-separated list; the separators and empty
// entries stay where they are.
AnsiReadablePathList ansiReadablePathList(const Text& list, const PathNames& names);
