#pragma once
// The block a first instance shares with the later starts of its executable:
// a header naming the first instance, then the arguments of one hand-over.
// Little-endian, whatever the host.

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/text.h"

namespace instance_block {

inline constexpr std::size_t kSize = 2092;
inline constexpr std::size_t kListenerThreadOffset = 0;
inline constexpr std::size_t kProcessIdOffset = 4;
inline constexpr std::size_t kMessageIdOffset = 8;
inline constexpr std::size_t kArgumentsOffset = 12;
// A later start writes no more than this; the rest of the area stays as it is.
inline constexpr std::size_t kWrittenArgumentBytes = 1040;
// The reader looks at no unit beyond this offset.
inline constexpr std::size_t kLastReadUnitOffset = 2088;

} // namespace instance_block

using InstanceBlockView = std::span<unsigned char, instance_block::kSize>;
using ConstInstanceBlockView = std::span<const unsigned char, instance_block::kSize>;

struct InstanceHeader {
    std::uint32_t listenerThreadId = 0;
    std::uint32_t processId = 0;
    std::uint32_t messageId = 0;
};

void writeInstanceHeader(InstanceBlockView block, const InstanceHeader& header);
InstanceHeader readInstanceHeader(ConstInstanceBlockView block);

// Clears the written part of the argument area and writes the arguments into
// it. False, with the block untouched, when they do not fit.
bool writeHandOverArguments(InstanceBlockView block, const TextList& arguments);

// The arguments as a hand-over reads them: an empty argument right after
// another one ends the list, so an empty argument is delivered only first.
TextList readHandOverArguments(ConstInstanceBlockView block);
