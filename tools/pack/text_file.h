#pragma once
// Text files as packagers write them.

#include <string_view>

#include "common/text.h"

// UTF-16LE with BOM, UTF-8 with or without BOM.
Text decodeTextFile(std::string_view bytes);
