#pragma once
// One formatter for the launcher's texts. They use only %s (a Text), %d (a
// signed 32-bit number) and %%; anything else after a % is copied as written,
// and a placeholder without a matching argument becomes empty, so a damaged
// string table can never make formatting read beyond its arguments.

#include <cstdint>
#include <initializer_list>
#include <variant>

#include "common/text.h"

using FormatArg = std::variant<Text, std::int32_t>;

Text formatText(const Text& format, std::initializer_list<FormatArg> args);
