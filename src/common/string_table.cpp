#include "common/string_table.h"

namespace {

std::uint16_t readUnit(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

} // namespace

Text stringTableEntry(std::span<const std::uint8_t> block, unsigned entry) {
    std::size_t offset = 0;
    for (unsigned index = 0; index <= entry && index < 16; ++index) {
        if (offset + 2 > block.size()) return {};
        const std::size_t length = readUnit(block, offset);
        offset += 2;
        if (offset + 2 * length > block.size()) return {};
        if (index == entry) {
            std::u16string units;
            units.reserve(length);
            for (std::size_t i = 0; i < length; ++i) units += readUnit(block, offset + 2 * i);
            return Text(std::move(units));
        }
        offset += 2 * length;
    }
    return {};
}
