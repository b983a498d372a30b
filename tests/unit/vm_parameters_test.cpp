#include <gtest/gtest.h>

#include "test_support.h"
#include "vm/memory_sizing.h"
#include "vm/vm_parameters.h"

namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
const MemoryFigures kEightGiB{8 * kGiB, 100 * kGiB};

Text sized(const char16_t* token, MemoryFigures memory = kEightGiB) {
    return rewriteMemorySizedOption(Text(token), memory);
}

} // namespace

TEST(VmParameterSplitting, BlanksOutsideQuotedSectionsSeparate) {
    EXPECT_TRUE(splitVmParameters(Text()).empty());
    EXPECT_TRUE(splitVmParameters(u"   "_t).empty());
    EXPECT_EQ(splitVmParameters(u"-Xmx40:128P  -Dx=\"a b\""_t), (TextList{u"-Xmx40:128P"_t, u"-Dx=\"a b\""_t}));
    EXPECT_EQ(splitVmParameters(u"  -a   -b  "_t), (TextList{u"-a"_t, u"-b"_t}));
    // A closing pair of quotes ends the section; the blank after it separates.
    EXPECT_EQ(splitVmParameters(u"-Da=\"x y\"\" -b"_t), (TextList{u"-Da=\"x y\"\""_t, u"-b"_t}));
    // An unpaired quote protects nothing.
    EXPECT_EQ(splitVmParameters(u"-Da=\"x y"_t), (TextList{u"-Da=\"x"_t, u"y"_t}));
    EXPECT_EQ(splitVmParameters(u"\"-Dd=C:\\Program Files\\App\" -v"_t),
              (TextList{u"\"-Dd=C:\\Program Files\\App\""_t, u"-v"_t}));
    // Tabs are not separators.
    EXPECT_EQ(splitVmParameters(u"-a\t-b"_t), TextList{u"-a\t-b"_t});
}

TEST(VmParameterQuotes, SectionsLoseTheirQuotes) {
    EXPECT_EQ(removeQuotes(u"-Ddir=\"C:\\Program Files\\App\""_t), u"-Ddir=C:\\Program Files\\App"_t);
    EXPECT_EQ(removeQuotes(u"-Dx=\"a b\""_t), u"-Dx=a b"_t);
    EXPECT_EQ(removeQuotes(u"\"a\"b\"c\""_t), u"abc"_t);
    EXPECT_EQ(removeQuotes(u"-Dx=\"\""_t), u"-Dx="_t);
    // In a closing pair the first quote is kept as a literal one.
    EXPECT_EQ(removeQuotes(u"-Dx=\"say \"\"hi"_t), u"-Dx=say \"hi"_t);
    // The search goes on after the kept content, so the kept quote opens nothing.
    EXPECT_EQ(removeQuotes(u"\"a\"\"\"b\""_t), u"a\"b"_t);
    EXPECT_EQ(removeQuotes(u"-Dx=\"open"_t), u"-Dx=\"open"_t);
    EXPECT_EQ(removeQuotes(u"plain"_t), u"plain"_t);
}

TEST(MemorySizedOption, RecognisedByPrefixAndUnit) {
    EXPECT_TRUE(isMemorySizedOption(u"-Xmx50P"_t));
    EXPECT_TRUE(isMemorySizedOption(u"-Xms50p"_t));
    EXPECT_TRUE(isMemorySizedOption(u"-Xss10T"_t));
    EXPECT_TRUE(isMemorySizedOption(u"-Xmx5t"_t));
    EXPECT_FALSE(isMemorySizedOption(u"-XMX50P"_t));
    EXPECT_FALSE(isMemorySizedOption(u"-Xmx512m"_t));
    EXPECT_FALSE(isMemorySizedOption(u"-Xmn50P"_t));
    EXPECT_FALSE(isMemorySizedOption(u"-Xm"_t));
}

TEST(MemorySizedOption, PercentageWithMinimumAndMaximum) {
    EXPECT_EQ(sized(u"-Xmx50:256:1024P"), u"-Xmx1048576K"_t);
    EXPECT_EQ(sized(u"-Xmx0:256P"), u"-Xmx262144K"_t);
    EXPECT_EQ(sized(u"-Xmx50:2048:1024P"), u"-Xmx2097152K"_t);  // the minimum wins
    EXPECT_EQ(sized(u"-Xms25P"), u"-Xms2097152K"_t);
    EXPECT_EQ(sized(u"-Xmx50p"), u"-Xmx4194304K"_t);
    EXPECT_EQ(sized(u"-Xmx1T"), u"-Xmx1048576K"_t);  // of the virtual address space
    EXPECT_EQ(sized(u"-Xmx1t"), u"-Xmx1048576K"_t);
    EXPECT_EQ(sized(u"-Xmx33P", {1001 * 1024, 0}), u"-Xmx330K"_t);  // 330.33, truncated
    EXPECT_EQ(sized(u"-Xmx150P"), u"-Xmx12582912K"_t);
    // Other characters are ignored; numbers after the third too.
    EXPECT_EQ(sized(u"-Xmx5x0:1:2:3000P"), u"-Xmx2048K"_t);
    EXPECT_EQ(sized(u"-Xmx:512P"), u"-Xmx524288K"_t);
}

TEST(MemorySizedOption, OversizedNumbersSaturateInsteadOfWrapping) {
    constexpr auto kMax = u"18446744073709551615K";
    // 2^64 + 50 would wrap to 50 percent.
    EXPECT_EQ(sized(u"-Xmx18446744073709551666P"), Text(u"-Xmx") + kMax);
    // A minimum of 2^54 MB would wrap to 0 when turned into kilobytes.
    EXPECT_EQ(sized(u"-Xms0:18014398509481984P"), Text(u"-Xms") + kMax);
    EXPECT_EQ(sized(u"-Xmx100:0:18014398509481984P", {~0ull, 0}), u"-Xmx18014398509481984K"_t);
}

TEST(MemorySizedOption, UnitLetterNeverBecomesPartOfThePrefix) {
    EXPECT_EQ(sized(u"-XmxP"), u"-Xmx0K"_t);
}

TEST(XssStackSize, UnitsAndRejectedForms) {
    EXPECT_EQ(stackSizeFromXss(u"512k"_t), 524288u);
    EXPECT_EQ(stackSizeFromXss(u"512K"_t), 524288u);
    EXPECT_EQ(stackSizeFromXss(u"1048576"_t), 1048576u);
    EXPECT_EQ(stackSizeFromXss(u"2m"_t), 2097152u);
    EXPECT_EQ(stackSizeFromXss(u"1G"_t), 1073741824u);
    EXPECT_EQ(stackSizeFromXss(u"1_0k"_t), 10240u);  // other characters ignored
    EXPECT_EQ(stackSizeFromXss(u"10b"_t), 10u);     // not a unit: part of the number
    EXPECT_EQ(stackSizeFromXss(Text()), 0u);
    EXPECT_EQ(stackSizeFromXss(u"k512"_t), 0u);
    EXPECT_EQ(stackSizeFromXss(u"10:1:2P"_t), 0u);
    EXPECT_EQ(stackSizeFromXss(u"99999999999999999999g"_t), ~0ull);
    EXPECT_EQ(stackSizeFromXss(u"17179869184g"_t), ~0ull);  // 2^34 GB does not fit
}
