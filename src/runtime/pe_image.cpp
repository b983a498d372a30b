#include "runtime/pe_image.h"

#include "common/little_endian.h"

namespace {

constexpr std::size_t kLfanewOffset = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::uint32_t kPeSignature = 0x00004550;

} // namespace

std::optional<std::size_t> ntHeadersOffset(std::span<const std::uint8_t> image) {
    if (image.size() < kLfanewOffset + 4 || image[0] != 'M' || image[1] != 'Z') return std::nullopt;
    const std::size_t offset = *read32(image, kLfanewOffset);
    if (offset > image.size() || image.size() - offset < 4 + kFileHeaderSize) return std::nullopt;
    return offset;
}

std::optional<std::uint16_t> machineAt(std::span<const std::uint8_t> image, std::size_t ntOffset) {
    if (ntOffset > image.size() || image.size() - ntOffset < 4 + kFileHeaderSize) return std::nullopt;
    if (read32(image, ntOffset) != kPeSignature) return std::nullopt;
    return read16(image, ntOffset + 4);
}
