#pragma once
// Resources of the launcher's own executable in the user's language.

#include <windows.h>

#include <cstdint>
#include <span>

#include "common/messages.h"

// The language every text and dialog template of this process is taken in.
std::uint16_t currentTextLanguage();

// The bytes of a resource in currentTextLanguage(); empty when it is missing.
std::span<const std::uint8_t> findLocalizedResource(const wchar_t* type, const wchar_t* name);
