#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "common/format.h"
#include "common/string_table.h"
#include "common/messages.h"
#include "test_support.h"

TEST(Text, Utf8RoundTripKeepsUmlautsAndSupplementaryCharacters) {
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    const Text text = Text::fromUtf8(utf8);
    EXPECT_EQ(text, u"Grüße € \U0001F600"_t);
    EXPECT_EQ(text.length(), 10u);  // the emoji is one surrogate pair
    EXPECT_EQ(text.toUtf8(), utf8);
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(Text::fromUtf8("a\xC3"), u"a\uFFFD"_t);
    EXPECT_EQ(Text::fromUtf8("\xE2\x82x"), u"\uFFFD\uFFFDx"_t);
    // Lone or reversed surrogates cannot be written as UTF-8.
    EXPECT_EQ((u"a\xD800" u"b"_t).toUtf8(), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ((u"\xDC00\xD800"_t).toUtf8(), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Text, ModifiedUtf8HasEncodedNulAndSurrogatesButNoFourByteForms) {
    const Text nul = Text::fromModifiedUtf8(std::string_view("a\xC0\x80" "b", 4));
    EXPECT_EQ(nul, Text(std::u16string(u"a\0b", 3)));
    EXPECT_EQ(Text::fromModifiedUtf8("\xED\xA0\xBD\xED\xB8\x80"), u"\U0001F600"_t);
    EXPECT_EQ(Text::fromModifiedUtf8("\xF0\x9F\x98\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"_t);
}

TEST(Text, CaseInsensitiveComparisonFoldsAsciiLettersOnly) {
    EXPECT_TRUE((u"YES"_t).equalsIgnoreCase(u"Yes"));
    EXPECT_TRUE((u"favor_JRockit"_t).equalsIgnoreCase(u"FAVOR_jrockit"));
    EXPECT_FALSE((u"Yes "_t).equalsIgnoreCase(u"Yes"));
    EXPECT_FALSE((u"Ye"_t).equalsIgnoreCase(u"Yes"));
    // Pairs that differ only in bit 0x20 but are not letters.
    EXPECT_FALSE((u"[@^"_t).equalsIgnoreCase(u"{`~"));
}

TEST(Text, PartsOutOfRangeAreEmptyOrWhole) {
    const Text text = u"abc"_t;
    EXPECT_EQ(text.right(10), text);
    EXPECT_EQ(text.mid(3), Text());
    EXPECT_EQ(text.mid(7, 2), Text());
    EXPECT_EQ(Text(text).erase(5, 1), text);
    EXPECT_EQ(Text(text).erase(1, 99), u"a"_t);
    EXPECT_FALSE(Text().findLast(u'.').has_value());
}

TEST(FormatText, FillsPlaceholdersInOrder) {
    EXPECT_EQ(formatText(u"Windows exception: %s (errno = %d).\n"_t, {u"failed to get the module path"_t, 193}),
              u"Windows exception: failed to get the module path (errno = 193).\n"_t);
    EXPECT_EQ(formatText(u"%d %d"_t, {std::int32_t{-5}, std::int32_t{INT32_MIN}}), u"-5 -2147483648"_t);
    EXPECT_EQ(formatText(u"JNI exception: %s\nReason: %s.\n"_t, {u"x"_t, Text()}), u"JNI exception: x\nReason: .\n"_t);
    EXPECT_EQ(formatText(Text(), {u"unused"_t}), Text());
}

TEST(FormatText, PercentSignsAndMissingArguments) {
    EXPECT_EQ(formatText(u"100%% %s"_t, {u"done"_t}), u"100% done"_t);
    EXPECT_EQ(formatText(u"%%s %s"_t, {u"a"_t}), u"%s a"_t);  // %% does not take an argument
    EXPECT_EQ(formatText(u"version between %s and %s"_t, {u"1.6"_t}), u"version between 1.6 and "_t);
    EXPECT_EQ(formatText(u"%d%s"_t, {}), Text());
    EXPECT_EQ(formatText(u"50% %x %"_t, {u"a"_t}), u"50% %x %"_t);
}

namespace {

// A string-table block in resource layout: 16 entries of length + UTF-16LE units.
std::vector<std::uint8_t> stringBlock(const std::vector<std::u16string>& entries) {
    std::vector<std::uint8_t> bytes;
    auto put = [&](char16_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (std::size_t i = 0; i < 16; ++i) {
        const std::u16string entry = i < entries.size() ? entries[i] : std::u16string();
        put(static_cast<char16_t>(entry.size()));
        for (const char16_t unit : entry) put(unit);
    }
    return bytes;
}

} // namespace

TEST(StringTable, AddressesOfTheLauncherIds) {
    const std::pair<unsigned, StringTableAddress> cases[] = {
        {202, {13, 10}}, {207, {13, 15}}, {208, {14, 0}}, {223, {14, 15}}, {224, {15, 0}}, {230, {15, 6}}};
    for (const auto& [id, expected] : cases) {
        EXPECT_EQ(stringTableAddress(id).block, expected.block) << id;
        EXPECT_EQ(stringTableAddress(id).entry, expected.entry) << id;
    }
}

TEST(StringTable, ReadsEntriesOfAWellFormedBlock) {
    std::vector<std::u16string> entries(16);
    entries[0] = u"first";
    entries[10] = u"ungültige Argumente €";
    entries[15] = u"last";
    const auto block = stringBlock(entries);
    EXPECT_EQ(stringTableEntry(block, 0), u"first"_t);
    EXPECT_EQ(stringTableEntry(block, 10), u"ungültige Argumente €"_t);
    EXPECT_EQ(stringTableEntry(block, 15), u"last"_t);
    EXPECT_EQ(stringTableEntry(block, 9), Text());   // length 0 counts as absent
    EXPECT_EQ(stringTableEntry(block, 16), Text());  // a block has 16 entries only
}

TEST(StringTable, DamagedBlocksGiveAbsentEntriesWithoutReadingPastTheEnd) {
    std::vector<std::u16string> entries(16);
    entries[2] = u"kept";
    entries[3] = u"cut off";
    const auto block = stringBlock(entries);
    const std::size_t entry3Text = 2 * 2 + (2 + 8) + 2;  // entries 0 to 2, then entry 3's length
    for (const std::size_t size : {entry3Text + 8, entry3Text, entry3Text - 1}) {
        const std::vector<std::uint8_t> cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(stringTableEntry(cut, 2), u"kept"_t) << size;
        EXPECT_EQ(stringTableEntry(cut, 3), Text()) << size;
        EXPECT_EQ(stringTableEntry(cut, 4), Text()) << size;
    }
    // A length that claims more than the block holds.
    std::vector<std::uint8_t> bogus = block;
    bogus[entry3Text - 2] = 0xFF;
    bogus[entry3Text - 1] = 0xFF;
    EXPECT_EQ(stringTableEntry(bogus, 2), u"kept"_t);
    EXPECT_EQ(stringTableEntry(bogus, 3), Text());
    EXPECT_EQ(stringTableEntry({}, 0), Text());
}

TEST(TextLanguage, GermanForEveryGermanSublanguageEnglishOtherwise) {
    for (const std::uint16_t german : {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407, 0x0007}) {
        EXPECT_EQ(textLanguageFor(german), kGermanLanguage) << std::hex << german;
    }
    for (const std::uint16_t other : {0x0409, 0x0809, 0x040C, 0x080C, 0x0413, 0x0000, 0x0406}) {
        EXPECT_EQ(textLanguageFor(other), kEnglishLanguage) << std::hex << other;
    }
}

TEST(TextDecoding, RefusesOverlongAndOutOfRangeForms) {
    EXPECT_EQ(Text::fromUtf8("a\xC0\xAF" "b"), Text(u"a\uFFFD\uFFFDb"));          // overlong '/'
    EXPECT_EQ(Text::fromUtf8("\xE0\x80\xAF"), Text(u"\uFFFD\uFFFD\uFFFD"));      // overlong three-byte
    EXPECT_EQ(Text::fromUtf8("\xF0\x80\x80\xAF").length(), 4u);                 // overlong four-byte
    EXPECT_EQ(Text::fromUtf8("\xF4\x90\x80\x80").front(), u'\uFFFD');            // above U+10FFFF
    EXPECT_EQ(Text::fromModifiedUtf8(std::string_view("x\xC0\x80y", 4)), Text(std::u16string(u"x\0y", 3)));
    EXPECT_EQ(Text::fromModifiedUtf8("\xC0\xAF"), Text(u"\uFFFD\uFFFD"));
}
