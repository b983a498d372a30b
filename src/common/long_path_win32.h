#pragma once
// Paths of 260 characters or more reach the file system through the wide
// file functions only with the extended-length prefix, unless long paths are
// enabled for the whole machine.

#include <optional>
#include <string>

#include "common/text.h"

// The path as the file functions take it: unchanged when short or relative,
// otherwise made absolute and given the \\?\ (or \\?\UNC\) prefix.
std::wstring fileSystemPath(const Text& path);

// The path made absolute against the current directory (GetFullPathNameW).
std::optional<std::wstring> fullPathName(const Text& path);

// A path the file system gave back, without the prefix fileSystemPath added.
Text withoutExtendedPrefix(const Text& path);
