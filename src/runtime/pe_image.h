#pragma once
// Reading the machine type of a PE file from its first bytes, with every
// offset checked against the bytes actually present: a truncated library or
// a header offset pointing outside the file yields "unknown", never a read
// beyond the mapping.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
// The optional header's magic: a 32-bit image, a 64-bit one.
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;

// Offset of the NT headers when the image starts with "MZ" and the offset
// it names leaves room for the "PE\0\0" signature and the file header.
std::optional<std::size_t> ntHeadersOffset(std::span<const std::uint8_t> image);

// The file header's machine field when the NT headers carry the PE signature.
std::optional<std::uint16_t> machineAt(std::span<const std::uint8_t> image, std::size_t ntOffset);
