#include <gtest/gtest.h>

#include "launcher/settings_decoding.h"
#include "runtime/java_version.h"
#include "runtime/runtime_choice.h"
#include "test_support.h"

namespace {

using Components = std::array<std::int32_t, 4>;

JavaVersion version(const char16_t* text, std::int32_t fill = kMinimumFill) {
    JavaVersion v;
    v.parse(Text(text), fill);
    return v;
}

JavaVersion of(Components components) { return JavaVersion{components}; }

} // namespace

TEST(JavaVersion, ParsesDigitGroupsAndFillsMissingOnes) {
    struct Case {
        const char16_t* text;
        std::int32_t fill;
        bool ok;
        Components expected;
    };
    const Case cases[] = {
        {u"1.6.0_21", 0, true, {1, 6, 0, 21}},
        {u"1.6", 65535, true, {1, 6, 65535, 65535}},
        {u"1.7", 0, true, {1, 7, 0, 0}},
        {u"jdk1.8.0_05-b13", 0, true, {1, 8, 0, 5}},
        {u"10", 65535, true, {10, 65535, 65535, 65535}},
        {u"1.6.0-rc", 65535, true, {1, 6, 0, 65535}},
        {u"1..2", 0, true, {1, 2, 0, 0}},
        {u"1.2.3.4.5", 0, true, {1, 2, 3, 4}},
        {u"1.2.3.4.99999999999", 0, true, {1, 2, 3, 4}},  // groups after the fourth are not read
        {u"2147483647", 0, true, {2147483647, 0, 0, 0}},
        {u"2147483648", 65535, false, {0, 0, 0, 0}},
        {u"1.21474836470", 65535, false, {0, 0, 0, 0}},
        {u"abc", 65535, false, {0, 0, 0, 0}},
        {u"Any", 65535, false, {0, 0, 0, 0}},
        {u"", 65535, false, {0, 0, 0, 0}},
        {u"\u0661.\u0666", 0, false, {0, 0, 0, 0}},  // ASCII digits only
    };
    for (const auto& c : cases) {
        JavaVersion v{{9, 9, 9, 9}};
        EXPECT_EQ(v.parse(Text(c.text), c.fill), c.ok) << Text(c.text).toUtf8();
        EXPECT_EQ(v.components, c.expected) << Text(c.text).toUtf8();
    }
}

TEST(JavaVersion, ComparesComponentsNumericallyMostSignificantFirst) {
    const std::tuple<Components, Components, int> cases[] = {
        {{1, 6, 0, 21}, {1, 6, 0, 3}, 1},
        {{1, 10, 0, 0}, {1, 9, 0, 0}, 1},
        {{1, 6, 0, 0}, {1, 6, 0, 0}, 0},
        {{1, 7, 0, 0}, {2, 0, 0, 0}, -1},
        {{-1, 0, 0, 0}, {0, 0, 0, 0}, -1},
        {{1, 6, 65535, 65535}, {1, 6, 0, 45}, 1},
    };
    for (const auto& [a, b, expected] : cases) {
        EXPECT_EQ(compare(of(a), of(b)), expected) << a[0] << "." << a[1] << " vs " << b[0] << "." << b[1];
        EXPECT_EQ(compare(of(b), of(a)), -expected);
    }
}

TEST(JavaVersion, UnboundedLimitsAndInclusiveRange) {
    EXPECT_TRUE(of({0, 0, 0, 0}).isUnbounded());
    EXPECT_TRUE(of({65535, 65535, 65535, 65535}).isUnbounded());
    EXPECT_FALSE(of({0, 0, 0, 65535}).isUnbounded());
    EXPECT_FALSE(of({65535, 0, 0, 0}).isUnbounded());

    const JavaVersion min16 = version(u"1.6", kMinimumFill);
    const JavaVersion max16 = version(u"1.6", kMaximumFill);
    EXPECT_TRUE(withinLimits(version(u"1.6"), min16, max16));
    EXPECT_TRUE(withinLimits(version(u"1.6.0_45"), min16, max16));
    EXPECT_TRUE(withinLimits(max16, min16, max16));
    EXPECT_FALSE(withinLimits(version(u"1.7"), min16, max16));
    EXPECT_FALSE(withinLimits(version(u"1.5.0_22"), min16, max16));

    const JavaVersion none;
    const JavaVersion any{{65535, 65535, 65535, 65535}};
    for (const auto* text : {u"1.0", u"99", u"1.6.0_21"}) {
        EXPECT_TRUE(withinLimits(version(text), none, none)) << Text(text).toUtf8();
        EXPECT_TRUE(withinLimits(version(text), any, any)) << Text(text).toUtf8();  // both forms for either limit
    }
    EXPECT_TRUE(withinLimits(version(u"9"), version(u"1.5"), any));
    EXPECT_FALSE(withinLimits(version(u"1.4.2"), version(u"1.5"), any));
    EXPECT_TRUE(withinLimits(version(u"1.8.0_400"), none, version(u"1.8", kMaximumFill)));
    EXPECT_FALSE(withinLimits(version(u"1.9"), none, version(u"1.8", kMaximumFill)));
}

TEST(JavaVersion, PreferredEntryIgnoresItsTrailingZeros) {
    const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
        {u"1.6.0_21", u"1.6", true},
        {u"1.6.1", u"1.6.0", true},
        {u"1.6.1_5", u"1.6.1", true},
        {u"1.6.2", u"1.6.1", false},
        {u"1.6.0_21", u"1.6.0_21", true},
        {u"1.6.0_22", u"1.6.0_21", false},
        {u"2.5.1_1", u"2.0", true},
        {u"3.0", u"2.0", false},
        {u"1.7", u"1.6", false},
        {u"1.0.5_7", u"1.0.5", true},
        {u"1.1.5", u"1.0.5", false},  // an inner zero still has to match
        {u"1.8.0_05", u"", true},
        {u"1.8.0_05", u"latest", true},
    };
    for (const auto& [candidate, preferred, expected] : cases) {
        EXPECT_EQ(matchesPreferred(version(candidate), version(preferred)), expected)
            << Text(candidate).toUtf8() << " against " << Text(preferred).toUtf8();
    }
}

TEST(JavaVersion, TextFormIsShortestWithAtLeastTwoComponents) {
    const std::pair<Components, const char16_t*> cases[] = {
        {{1, 6, 0, 0}, u"1.6"},
        {{1, 0, 0, 0}, u"1.0"},
        {{2, 0, 0, 0}, u"2.0"},
        {{1, 6, 0, 21}, u"1.6.0.21"},
        {{1, 6, 1, 0}, u"1.6.1"},
        {{1, 6, 65535, 65535}, u"1.6"},
        {{1, 65535, 0, 3}, u"1.65535.0.3"},
        {{0, 0, 0, 5}, u"0.0.0.5"},
        {{2147483647, 0, 0, 0}, u"2147483647.0"},
        {{0, 0, 0, 0}, u"0.0.0.0"},
        {{65535, 65535, 65535, 65535}, u"0.0.0.0"},
        {{65535, 0, 0, 0}, u"0.0.0.0"},
    };
    for (const auto& [components, expected] : cases) {
        EXPECT_EQ(of(components).toText(), Text(expected));
    }
}

TEST(JavaVersion, LimitPhraseAndRuntimeNotFoundMessage) {
    const std::tuple<const char16_t*, const char16_t*, const char*> cases[] = {
        {u"", u"", "#217(%s|%s)"},
        {u"any", u"any", "#217(%s|%s)"},
        {u"", u"Any", "#217(%s|%s)"},
        {u"1.5", u"any", "#219(1.5|)"},
        {u"", u"1.8", "#218(1.8|)"},
        {u"1.6", u"1.6", "#221(1.6|1.6)"},
        {u"1.6.0_21", u"1.6.0_21", "#220(1.6.0.21|)"},
        {u"1.5", u"1.7.0_10", "#221(1.5|1.7.0.10)"},
    };
    for (const auto& [minimum, maximum, expected] : cases) {
        EXPECT_EQ(describeVersionLimits(decodeMinimumVersion(Text(minimum)), decodeMaximumVersion(Text(maximum)),
                                        IdTexts(true))
                      .toUtf8(),
                  expected)
            << Text(minimum).toUtf8() << " to " << Text(maximum).toUtf8();
    }
    RuntimeConstraints constraints;
    constraints.minimumVersion = decodeMinimumVersion(u"1.5"_t);
    EXPECT_EQ(runtimeNotFoundMessage(constraints, IdTexts(true)).toUtf8(), "#207(#219(1.5|)|)");
    constraints.jvmType = JvmType::FavorServer;
    EXPECT_EQ(runtimeNotFoundMessage(constraints, IdTexts(true)).toUtf8(), "#207(#219(1.5|)|)");
    constraints.jvmType = JvmType::Server;
    EXPECT_EQ(runtimeNotFoundMessage(constraints, IdTexts(true)).toUtf8(), "#206(#219(1.5|)|)");
}
