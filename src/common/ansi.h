#pragma once
// The one conversion between Text and the narrow strings the JVM and the
// runtime's native libraries take: the calling thread's ANSI code page on
// Windows (characters without a mapping become its default character).

#include <string>
#include <string_view>

#include "common/text.h"

std::string toAnsi(const Text& text);
Text fromAnsi(std::string_view bytes);
