#pragma once
// Reading one block of a Windows string-table resource: 16 entries, each a
// 16-bit length followed by that many UTF-16 units. Bounds are checked, so a
// damaged block yields absent entries rather than reads past its end.

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/text.h"

struct StringTableAddress {
    unsigned block;  // resource name of the block
    unsigned entry;  // index inside it
};

constexpr StringTableAddress stringTableAddress(unsigned id) { return {id / 16 + 1, id % 16}; }

// The entry's text, or an empty Text when it is absent or the block too short.
Text stringTableEntry(std::span<const std::uint8_t> block, unsigned entry);
