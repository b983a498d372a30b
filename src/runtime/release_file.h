#pragma once
// The "release" file a Java runtime keeps in its home folder: lines of
// KEY="value" (or KEY=value), JAVA_VERSION among them.

#include <optional>
#include <string_view>

#include "common/text.h"

// How much of the file is read: the key stands in its first lines.
constexpr std::size_t kReleaseFileReadLimit = 64 * 1024;

// The value of JAVA_VERSION, its quotes removed; nothing when no line holds
// the key. Lines end in LF or CR LF.
std::optional<Text> releaseJavaVersion(std::string_view content);
