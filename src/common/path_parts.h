#pragma once
// Cutting Windows paths at their backslashes: the one place that knows how.

#include "common/text.h"

// The path cut at its last backslash (backslash dropped), count times; a
// path without a backslash stays as it is.
Text withoutLastComponents(Text path, int count);

// Up to its last backslash: without it, and with it (empty when there is none).
inline Text folderOf(const Text& path) { return withoutLastComponents(path, 1); }
Text folderWithSlashOf(const Text& path);

// The path as a folder: with one backslash at its end.
Text withTrailingBackslash(Text path);

// After its last backslash; the whole path when it has none.
Text fileNameOf(const Text& path);
