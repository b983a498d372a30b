#pragma once
// Little-endian fields in byte buffers. The readers answer nothing for a
// field that does not lie wholly inside the bytes, so parsers of untrusted
// files never read past what is there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

using ByteView = std::span<const std::uint8_t>;

// True when [at, at + size) lies inside the bytes (no overflow for any input).
inline bool spans(ByteView bytes, std::uint64_t at, std::uint64_t size) {
    return at <= bytes.size() && size <= bytes.size() - at;
}

inline std::optional<std::uint16_t> read16(ByteView bytes, std::uint64_t at) {
    if (!spans(bytes, at, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::optional<std::uint32_t> read32(ByteView bytes, std::uint64_t at) {
    if (!spans(bytes, at, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16)) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}
