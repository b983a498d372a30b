#include "launcher/embedded_settings.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'J', 'L', 'S', '1'};
constexpr std::size_t kHeaderSize = 12;

std::uint64_t fnv1a64(std::span<const std::uint8_t> bytes, std::uint64_t hash = 0xcbf29ce484222325ULL) {
    for (const auto b : bytes) hash = (hash ^ b) * 0x100000001b3ULL;
    return hash;
}

std::vector<std::uint8_t> utf16le(const Text& text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.length() * 2);
    for (const char16_t unit : text.units()) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// splitmix64 seeded from the upgrade code; eight key bytes per step.
class KeyStream {
public:
    explicit KeyStream(const Text& upgradeCode) {
        static constexpr std::array<std::uint8_t, 8> kSalt = {'j', 'l', 'a', 'u', 'n', 'c', 'h', '1'};
        state_ = fnv1a64(utf16le(upgradeCode), fnv1a64(kSalt));
    }
    std::uint8_t next() {
        if (used_ == 8) {
            std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            block_ = z ^ (z >> 31);
            used_ = 0;
        }
        return static_cast<std::uint8_t>(block_ >> (8 * used_++));
    }

private:
    std::uint64_t state_ = 0;
    std::uint64_t block_ = 0;
    int used_ = 8;
};

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t getU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint32_t checksum(std::span<const std::uint8_t> plain) {
    const std::uint64_t hash = fnv1a64(plain);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

} // namespace

std::vector<std::uint8_t> encipherSettings(const Text& settingsText, const Text& upgradeCode) {
    const std::vector<std::uint8_t> plain = utf16le(settingsText);
    std::vector<std::uint8_t> block(kMagic.begin(), kMagic.end());
    putU32(block, static_cast<std::uint32_t>(plain.size()));
    putU32(block, checksum(plain));
    KeyStream key(upgradeCode);
    for (const auto b : plain) block.push_back(b ^ key.next());
    return block;
}

std::optional<Text> decipherSettings(std::span<const std::uint8_t> block, const Text& upgradeCode) {
    if (block.size() < kHeaderSize || !std::equal(kMagic.begin(), kMagic.end(), block.begin())) return std::nullopt;
    const std::size_t length = getU32(block, 4);
    if (length % 2 != 0 || length > block.size() - kHeaderSize) return std::nullopt;

    std::vector<std::uint8_t> plain;
    plain.reserve(length);
    KeyStream key(upgradeCode);
    for (std::size_t i = 0; i < length; ++i) plain.push_back(block[kHeaderSize + i] ^ key.next());
    if (checksum(plain) != getU32(block, 8)) return std::nullopt;

    std::u16string units;
    units.reserve(length / 2);
    for (std::size_t i = 0; i < length; i += 2) units += static_cast<char16_t>(plain[i] | (plain[i + 1] << 8));
    return Text(std::move(units));
}
