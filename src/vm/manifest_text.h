#pragma once
// Reading a jar manifest's text, as the runtime hands it over.

#include <optional>
#include <string_view>

#include "common/text.h"

// The "Main-Class" of the main section (up to the first empty line): the name
// matched in any letter case, continuation lines joined, blanks around the
// value dropped. Nothing when it is missing or empty.
std::optional<Text> manifestMainClass(std::string_view manifest);
