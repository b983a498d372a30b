#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "runtime/pe_image.h"

namespace {

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// "MZ", e_lfanew at 0x3C, and where it points the PE signature and the machine field.
std::vector<std::uint8_t> image(std::size_t size, std::uint32_t lfanew, std::uint16_t machine,
                                std::uint32_t signature = 0x00004550) {
    std::vector<std::uint8_t> bytes(size, 0xCC);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put32(bytes, 0x3C, lfanew);
    if (std::size_t{lfanew} + 24 <= size) {
        put32(bytes, lfanew, signature);
        bytes[lfanew + 4] = static_cast<std::uint8_t>(machine & 0xFF);
        bytes[lfanew + 5] = static_cast<std::uint8_t>(machine >> 8);
    }
    return bytes;
}

std::optional<std::uint16_t> machineOf(const std::vector<std::uint8_t>& bytes) {
    const auto offset = ntHeadersOffset(bytes);
    return offset ? machineAt(bytes, *offset) : std::nullopt;
}

} // namespace

TEST(PeImage, ReadsTheMachineOfWellFormedImages) {
    const auto x86 = image(0x400, 0x104, kMachineI386);
    EXPECT_EQ(ntHeadersOffset(x86), std::optional<std::size_t>(0x104));
    EXPECT_EQ(machineOf(x86), std::optional<std::uint16_t>(0x014C));
    EXPECT_EQ(machineOf(image(0x400, 0xF8, kMachineAmd64)), std::optional<std::uint16_t>(0x8664));
    // Exactly room for the signature and the 20-byte file header.
    EXPECT_EQ(machineOf(image(0x80 + 24, 0x80, kMachineI386)), std::optional<std::uint16_t>(0x014C));
    EXPECT_EQ(machineOf(image(0x40, 0x04, kMachineI386)), std::optional<std::uint16_t>(0x014C));
}

TEST(PeImage, TruncatedOrForeignImagesGiveNoMachine) {
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"shorter than 0x40 bytes", [] { auto b = image(0x40, 0x04, kMachineI386); b.pop_back(); return b; }()},
        {"e_lfanew past the end", image(0x200, 0x300, kMachineI386)},
        {"e_lfanew at the end", image(0x200, 0x200, kMachineI386)},
        {"file header cut by one byte", image(0x80 + 23, 0x80, kMachineI386)},
        {"e_lfanew with a high byte", image(0x200, 0x01000080, kMachineI386)},
        {"e_lfanew near 2^32", image(0x200, 0xFFFFFFF0, kMachineI386)},
        {"e_lfanew 2^32 - 1", image(0x200, 0xFFFFFFFF, kMachineI386)},
        {"NE signature", image(0x200, 0x80, kMachineI386, 0x0000454E)},
        {"PE without the zero bytes", image(0x200, 0x80, kMachineI386, 0x01004550)},
    };
    for (const auto& [what, bytes] : cases) EXPECT_EQ(machineOf(bytes), std::nullopt) << what;
    // All but the two signature cases fail on the offset already.
    for (std::size_t i = 0; i + 2 < std::size(cases); ++i) {
        EXPECT_EQ(ntHeadersOffset(cases[i].second), std::nullopt) << cases[i].first;
    }

    auto notMz = image(0x200, 0x80, kMachineI386);
    notMz[0] = 'Z';
    notMz[1] = 'M';
    EXPECT_EQ(ntHeadersOffset(notMz), std::nullopt);
    notMz[0] = 'M';
    notMz[1] = 'z';
    EXPECT_EQ(ntHeadersOffset(notMz), std::nullopt);
}

TEST(PeImage, MachineAtChecksItsOffsetWithoutWrapping) {
    const auto x86 = image(0x200, 0x80, kMachineI386);
    EXPECT_EQ(machineAt(x86, 0x80), std::optional<std::uint16_t>(0x014C));
    for (const std::size_t offset : {std::size_t{0x200 - 23}, std::size_t{0x200}, std::size_t{0xFFFFFFF0},
                                     std::numeric_limits<std::size_t>::max() - 10}) {
        EXPECT_EQ(machineAt(x86, offset), std::nullopt) << offset;
    }
    // An offset that would wrap round to just before the view must not reach the bytes there.
    std::vector<std::uint8_t> memory(0x200, 0);
    put32(memory, 0x10, 0x00004550);
    memory[0x14] = 0x4C;
    memory[0x15] = 0x01;
    const std::span<const std::uint8_t> view(memory.data() + 0x20, 0x100);
    EXPECT_EQ(machineAt(view, std::numeric_limits<std::size_t>::max() - 15), std::nullopt);
}
