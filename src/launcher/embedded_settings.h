#pragma once
// The settings text an executable can carry among its resources, enciphered
// with a key derived from the product's "Upgrade Code". This keeps the text
// from being read or edited casually with a resource editor; it is not
// meant to withstand a determined reader. docs/embedded-settings.md gives
// the format.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/text.h"

std::vector<std::uint8_t> encipherSettings(const Text& settingsText, const Text& upgradeCode);

// The text, or nothing when the block is malformed or was enciphered for another upgrade code.
std::optional<Text> decipherSettings(std::span<const std::uint8_t> block, const Text& upgradeCode);
