#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>

#include "launcher/instance_block.h"
#include "test_support.h"

namespace block = instance_block;

namespace {

using Block = std::array<unsigned char, block::kSize>;

Text repeated(char16_t unit, std::size_t count) {
    return Text(std::u16string(count, unit));
}

void putUnit(Block& bytes, std::size_t offset, char16_t unit) {
    bytes[offset] = static_cast<unsigned char>(unit & 0xFF);
    bytes[offset + 1] = static_cast<unsigned char>(unit >> 8);
}

} // namespace

TEST(InstanceBlock, HandOverArgumentsAsTheListenerReadsThem) {
    struct Case {
        const char* what;
        TextList written;
        std::optional<TextList> read;  // nothing: does not fit
    };
    const Case cases[] = {
        {"none gives one empty argument", {}, TextList{Text()}},
        {"plain", {u"first"_t, u"two words"_t}, TextList{u"first"_t, u"two words"_t}},
        {"empty first argument is kept", {Text(), u"8"_t}, TextList{Text(), u"8"_t}},
        {"empty after another ends the list", {u"7"_t, Text(), u"c"_t}, TextList{u"7"_t}},
        {"UTF-16 units as they are", {u"Grüße"_t, u"\U0001F600"_t}, TextList{u"Grüße"_t, u"\U0001F600"_t}},
        {"1038 bytes fit", {u"1"_t, repeated(u'x', 516)}, TextList{u"1"_t, repeated(u'x', 516)}},
        {"1040 bytes do not", {u"2"_t, repeated(u'x', 517)}, std::nullopt},
    };
    for (const auto& c : cases) {
        Block bytes{};
        bytes.fill(0xAB);
        const Block before = bytes;
        const bool fits = writeHandOverArguments(bytes, c.written);
        EXPECT_EQ(fits, c.read.has_value()) << c.what;
        if (!fits) {
            EXPECT_EQ(bytes, before) << c.what;
            continue;
        }
        EXPECT_EQ(readHandOverArguments(bytes), *c.read) << c.what;
        // Only the written part of the area is cleared; the header and the rest stay.
        const auto end = block::kArgumentsOffset + block::kWrittenArgumentBytes;
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + block::kArgumentsOffset, [](auto b) { return b == 0xAB; }));
        EXPECT_EQ(bytes[end - 1], 0) << c.what;
        EXPECT_TRUE(std::all_of(bytes.begin() + end, bytes.end(), [](auto b) { return b == 0xAB; })) << c.what;
    }
}

TEST(InstanceBlock, ArgumentsAreLittleEndianUnitsEachEndedByZero) {
    Block bytes{};
    ASSERT_TRUE(writeHandOverArguments(bytes, {u"a\u0102"_t, u"b"_t}));
    const unsigned char expected[] = {'a', 0, 0x02, 0x01, 0, 0, 'b', 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), bytes.begin() + block::kArgumentsOffset));
}

TEST(InstanceBlock, ReaderStopsAtItsLastUnit) {
    Block bytes{};
    for (std::size_t offset = block::kArgumentsOffset; offset < block::kSize; offset += 2) putUnit(bytes, offset, u'x');
    EXPECT_TRUE(readHandOverArguments(bytes).empty()) << "an argument still open at the end is not added";

    putUnit(bytes, block::kLastReadUnitOffset, 0);
    const std::size_t units = (block::kLastReadUnitOffset - block::kArgumentsOffset) / 2;
    EXPECT_EQ(readHandOverArguments(bytes), TextList{repeated(u'x', units)});
}

TEST(InstanceBlock, HeaderIsLittleEndian) {
    Block bytes{};
    writeInstanceHeader(bytes, {0x04030201, 0x08070605, 0x0C0B0A09});
    for (unsigned char i = 0; i < 12; ++i) EXPECT_EQ(bytes[i], i + 1);
    const InstanceHeader header = readInstanceHeader(bytes);
    EXPECT_EQ(header.listenerThreadId, 0x04030201u);
    EXPECT_EQ(header.processId, 0x08070605u);
    EXPECT_EQ(header.messageId, 0x0C0B0A09u);
}
