#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/hyper_link.h"
#include "test_support.h"

namespace {

// The bytes RegQueryValueExW gives for a string value: UTF-16LE, with its terminating zero unless told otherwise.
std::vector<std::uint8_t> stored(std::u16string_view text, bool terminated = true) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

} // namespace

TEST(AnchorColour, ReadsThreeNumbersAndRefusesAnythingElse) {
    struct Case {
        const char* what;
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
        std::optional<Rgb> expected;
    };
    const Case cases[] = {
        {"red", kRegistryString, stored(u"255,0,0"), Rgb{255, 0, 0}},
        {"expandable string", kRegistryExpandString, stored(u"0,128,0"), Rgb{0, 128, 0}},
        {"blanks around the numbers", kRegistryString, stored(u" 1, 2 ,3 "), Rgb{1, 2, 3}},
        {"lowest 8 bits", kRegistryString, stored(u"256,257,511"), Rgb{0, 1, 255}},
        {"lowest 8 bits of a longer number", kRegistryString, stored(u"0,0,1000"), Rgb{0, 0, 232}},
        {"longest value that fits", kRegistryString, stored(u"255,255,255"), Rgb{255, 255, 255}},
        {"text after the terminator is ignored", kRegistryString, stored(std::u16string(u"1,2,3\0xy", 8)),
         Rgb{1, 2, 3}},
        {"third number missing", kRegistryString, stored(u"255,0,"), std::nullopt},
        {"a separator missing", kRegistryString, stored(u"255,0"), std::nullopt},
        {"a fourth number", kRegistryString, stored(u"1,2,3,4"), std::nullopt},
        {"not a number", kRegistryString, stored(u"red,0,0"), std::nullopt},
        {"a sign", kRegistryString, stored(u"-1,0,0"), std::nullopt},
        {"empty", kRegistryString, stored(u""), std::nullopt},
        {"no terminating zero", kRegistryString, stored(u"255,0,0", false), std::nullopt},
        {"longer than 24 bytes", kRegistryString, stored(u"000000000255,0,0"), std::nullopt},
        {"not a string", 4 /* REG_DWORD */, stored(u"1,2,3"), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(anchorColour(c.type, c.bytes), c.expected) << c.what;
    }
}

TEST(LinkLabel, AreaFollowsTheAlignmentAndStaysInTheControl) {
    const Rect client{0, 0, 120, 16};
    struct Case {
        Size label;
        LabelAlignment alignment;
        Rect expected;
    };
    const Case cases[] = {
        {{80, 13}, LabelAlignment::Left, {0, 0, 80, 13}},
        {{80, 13}, LabelAlignment::Centre, {20, 0, 100, 13}},
        {{81, 13}, LabelAlignment::Centre, {19, 0, 100, 13}},
        {{80, 13}, LabelAlignment::Right, {40, 0, 120, 13}},
        {{150, 26}, LabelAlignment::Left, {0, 0, 120, 16}},
        {{150, 13}, LabelAlignment::Centre, {0, 0, 120, 13}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(labelArea(client, c.label, c.alignment), c.expected)
            << c.label.width << " " << static_cast<int>(c.alignment);
    }
    EXPECT_EQ(labelArea({30, 40, 150, 56}, {80, 13}, LabelAlignment::Right), (Rect{70, 40, 150, 53}));
}
