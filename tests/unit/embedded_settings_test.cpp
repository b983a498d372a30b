#include <gtest/gtest.h>

#include <algorithm>

#include "common/splitting.h"
#include "launcher/embedded_settings.h"
#include "launcher/ini_text.h"
#include "test_support.h"

namespace {

const Text kUpgradeCode = u"{6A1B-77C2}"_t;
const Text kSettings = u"[Application]\r\nProduct=Grüße aus Köln \U0001F600\r\n"
                       u"[Java Runtime Environment]\r\nMain Class=com.example.Main\r\n"_t;

} // namespace

TEST(EmbeddedSettings, RoundTripKeepsEveryCharacter) {
    const auto block = encipherSettings(kSettings, kUpgradeCode);
    EXPECT_EQ(decipherSettings(block, kUpgradeCode), kSettings);
    // Header: "JLS1", then the byte length of the UTF-16LE text, little-endian.
    ASSERT_EQ(block.size(), 12 + 2 * kSettings.length());
    EXPECT_EQ(std::string(block.begin(), block.begin() + 4), "JLS1");
    EXPECT_EQ(block[4] | block[5] << 8 | block[6] << 16 | block[7] << 24, static_cast<int>(2 * kSettings.length()));
    EXPECT_EQ(decipherSettings(encipherSettings(Text(), kUpgradeCode), kUpgradeCode), Text());

    // The text is not readable in the block.
    constexpr std::string_view needle("M\0a\0i\0n\0 \0C\0l\0a\0s\0s\0", 20);
    EXPECT_EQ(std::search(block.begin(), block.end(), needle.begin(), needle.end()), block.end());
}

TEST(EmbeddedSettings, AnotherUpgradeCodeGivesNothing) {
    const auto block = encipherSettings(kSettings, kUpgradeCode);
    for (const auto other : {u"{6a1b-77c2}", u"{6A1B-77C3}", u""}) {
        EXPECT_FALSE(decipherSettings(block, Text(other)).has_value()) << Text(other).toUtf8();
    }
}

TEST(EmbeddedSettings, DamagedBlocksGiveNothing) {
    const auto block = encipherSettings(kSettings, kUpgradeCode);
    const auto check = [&](std::vector<std::uint8_t> damaged, const char* what) {
        EXPECT_FALSE(decipherSettings(damaged, kUpgradeCode).has_value()) << what;
    };
    check({block.begin(), block.end() - 1}, "last byte missing");
    check({block.begin(), block.begin() + 11}, "header cut");
    check({}, "empty");
    auto flipped = block;
    flipped[block.size() / 2] ^= 0x01;
    check(flipped, "payload bit flipped");
    auto magic = block;
    magic[0] = 'X';
    check(magic, "wrong magic");
    auto oddLength = block;
    oddLength[4] ^= 0x01;
    check(oddLength, "odd length");
    auto hugeLength = block;
    std::fill(hugeLength.begin() + 4, hugeLength.begin() + 8, 0xFF);
    check(hugeLength, "length beyond the block");
    auto checksum = block;
    checksum[8] ^= 0x80;
    check(checksum, "checksum changed");
}

TEST(EmbeddedSettings, LineEndsBecomeCrLfSoTheReaderSeesEveryLine) {
    EXPECT_EQ(withCrLfLineEnds(u"a\nb\r\nc\rd\n\ne"_t), u"a\r\nb\r\nc\r\nd\r\n\r\ne"_t);
    EXPECT_EQ(withCrLfLineEnds(u"\r\r\n\n\r"_t), u"\r\n\r\n\r\n\r\n"_t);
    EXPECT_EQ(withCrLfLineEnds(u"no line end"_t), u"no line end"_t);

    const Text unixText = u"[Application]\nCmd=-x\n[Class Path]\nClass Path=a.jar\n"_t;
    const auto deciphered = decipherSettings(encipherSettings(unixText, kUpgradeCode), kUpgradeCode);
    ASSERT_TRUE(deciphered.has_value());
    const IniTextDocument document = parseIniText(withCrLfLineEnds(*deciphered));
    EXPECT_EQ(document.getString(u"Application"_t, u"Cmd"_t), u"-x"_t);
    EXPECT_EQ(document.getString(u"Class Path"_t, u"Class Path"_t), u"a.jar"_t);
}
