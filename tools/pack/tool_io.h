#pragma once
// Files and console output as jlaunch-pack needs them; tool_io_posix.cpp
// and tool_io_win32.cpp implement them.

#include <string>

#include "common/text.h"
#include "pack/bytes.h"
#include "pack/outcome.h"

// Larger inputs are refused rather than read into memory.
constexpr std::uint64_t kMaximumInputFile = 1u << 30;

Outcome<Bytes> readFileBytes(const Text& path);

// Writes a temporary file beside the target and renames it over the target,
// so the target is either the whole new file or as it was. Returns the
// reason it failed, empty when written.
std::string replaceFile(const Text& path, ByteView bytes);

enum class Stream { Output, Error };
void writeLine(Stream stream, const Text& text);
