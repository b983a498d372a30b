#include <gtest/gtest.h>

#include <array>

#include "launcher/settings_decoding.h"
#include "test_support.h"

namespace {

using Components = std::array<std::int32_t, 4>;
constexpr Components kZero{0, 0, 0, 0};
constexpr Components kAll65535{65535, 65535, 65535, 65535};

} // namespace

TEST(SettingsDecoding, SwitchesCompareExactlyOrInAnyCasePerKey) {
    struct Case {
        const char* what;
        bool (*decode)(const Text&);
        const char16_t* value;
        bool expected;
    };
    const Case cases[] = {
        {"Application Type", decodeIsService, u"service", true},
        {"Application Type", decodeIsService, u"Service", false},
        {"Application Type", decodeIsService, u"services", false},
        {"Single Instance", decodeSingleInstance, u"yes", true},
        {"Single Instance", decodeSingleInstance, u"Yes", false},
        {"Single Instance", decodeSingleInstance, u"YES", false},
        {"Yes switch", isYesAnyCase, u"Yes", true},
        {"Yes switch", isYesAnyCase, u"YES", true},
        {"Yes switch", isYesAnyCase, u"yEs", true},
        {"Yes switch", isYesAnyCase, u"Yes ", false},
        {"Yes switch", isYesAnyCase, u"y", false},
        {"Yes switch", isYesAnyCase, u"true", false},
        {"Yes switch", isYesAnyCase, u"", false},
        {"Registry Keys", decodeClassicKeysOnly, u"classic", true},
        {"Registry Keys", decodeClassicKeysOnly, u"Classic", false},
        {"Registry Keys", decodeClassicKeysOnly, u"all", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.decode(Text(c.value)), c.expected) << c.what << ": " << Text(c.value).toUtf8();
    }
}

TEST(SettingsDecoding, JvmTypeWordsAreExact) {
    EXPECT_EQ(decodeJvmType(u"server"_t), JvmType::Server);
    EXPECT_EQ(decodeJvmType(u"favor_server"_t), JvmType::FavorServer);
    for (const auto other : {u"Server", u"FAVOR_SERVER", u"favour_server", u"client", u""}) {
        EXPECT_EQ(decodeJvmType(Text(other)), JvmType::Default) << Text(other).toUtf8();
    }
}

TEST(SettingsDecoding, VersionLimitsAndPreferredList) {
    const std::pair<const char16_t*, Components> minimum[] = {
        {u"any", kZero}, {u"Any", kZero}, {u"", kZero}, {u"1.6", {1, 6, 0, 0}}, {u"ANY 1.7", {1, 7, 0, 0}}};
    for (const auto& [value, expected] : minimum) {
        EXPECT_EQ(decodeMinimumVersion(Text(value)).components, expected) << Text(value).toUtf8();
    }
    const std::pair<const char16_t*, Components> maximum[] = {
        {u"any", kAll65535}, {u"Any", kZero}, {u"", kZero}, {u"1.6", {1, 6, 65535, 65535}}, {u"10", {10, 65535, 65535, 65535}}};
    for (const auto& [value, expected] : maximum) {
        EXPECT_EQ(decodeMaximumVersion(Text(value)).components, expected) << Text(value).toUtf8();
    }
    EXPECT_EQ(decodePreferredVersions(u";1.6"_t), (TextList{Text(), u"1.6"_t}));
    EXPECT_EQ(decodePreferredVersions(u"1.7;1.6;"_t), (TextList{u"1.7"_t, u"1.6"_t}));
    EXPECT_TRUE(decodePreferredVersions(Text()).empty());
    EXPECT_EQ(decodeMainClass(u"com.example.app.Main"_t), u"com/example/app/Main"_t);
}

TEST(SettingsDecoding, JvmSourceTableIsExact) {
    struct Row {
        const char16_t* value;
        bool includeJdk, includeJre, favourKind;
    };
    const Row rows[] = {
        {u"", true, true, true},
        {u"favor_JRE", false, true, true},
        {u"favor_JDK", true, false, true},
        {u"only_JRE", false, true, false},
        {u"only_JDK", true, false, false},
        {u"favor_jre", false, false, false},
        {u"ONLY_JDK", false, false, false},
        {u"JDK", false, false, false},
    };
    for (const auto& row : rows) {
        RuntimeConstraints constraints;  // start values
        decodeJvmSource(Text(row.value), constraints);
        SCOPED_TRACE(Text(row.value).toUtf8());
        EXPECT_EQ(constraints.includeJdk, row.includeJdk);
        EXPECT_EQ(constraints.includeJre, row.includeJre);
        EXPECT_EQ(constraints.favourKind, row.favourKind);
    }
}

TEST(SettingsDecoding, VmProviderTableIgnoresCase) {
    struct Row {
        const char16_t* value;
        std::array<bool, 6> flags;  // allow/favour Sun, JRockit, IBM
    };
    constexpr std::array<bool, 6> kSunOnly{true, true, false, false, false, false};
    const Row rows[] = {
        {u"", kSunOnly},
        {u"sun", kSunOnly},
        {u"favour_sun", kSunOnly},
        {u"ibm ", kSunOnly},
        {u"jrockit", {false, false, true, true, false, false}},
        {u"JRockit", {false, false, true, true, false, false}},
        {u"IBM", {false, false, false, false, true, true}},
        {u"favor_sun", {true, true, true, false, true, false}},
        {u"Favor_JRockit", {true, false, true, true, true, false}},
        {u"FAVOR_IBM", {true, false, true, false, true, true}},
        {u"Any", {true, false, true, false, true, false}},
    };
    for (const auto& row : rows) {
        RuntimeConstraints c;
        decodeVmProvider(Text(row.value), c);
        const std::array<bool, 6> actual{c.allowSun, c.favourSun, c.allowJRockit, c.favourJRockit, c.allowIbm, c.favourIbm};
        EXPECT_EQ(actual, row.flags) << Text(row.value).toUtf8();
    }
}
