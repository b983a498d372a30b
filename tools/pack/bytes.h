#pragma once
// Little-endian fields in byte buffers. The readers answer nothing for a
// field that does not lie wholly inside the bytes, so parsers of untrusted
// files never read past what is there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
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

// Writers work on buffers whose layout the caller has already checked.
inline void put16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, static_cast<std::uint16_t>(value));
    put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline void append16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void append32(Bytes& bytes, std::uint32_t value) {
    append16(bytes, static_cast<std::uint16_t>(value));
    append16(bytes, static_cast<std::uint16_t>(value >> 16));
}

constexpr std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

inline void padTo(Bytes& bytes, std::size_t alignment) { bytes.resize(alignUp(bytes.size(), alignment), 0); }
