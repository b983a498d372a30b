#include <gtest/gtest.h>

#include "launcher/restart_rules.h"
#include "scripted_host.h"

TEST(RestartRules, ExitCodesKeepWholeNumbersOfJavasRange) {
    struct Row {
        const char* value;
        std::vector<std::int32_t> codes;
        std::vector<std::string> ignored;
    };
    const Row rows[] = {
        {"", {}, {}},
        {"3", {3}, {}},
        {" 3 ; 7;;", {3, 7}, {}},
        {"-1;-2147483648;2147483647", {-1, -2147483647 - 1, 2147483647}, {}},
        {"0;4294967295;2147483648;+5;5a;a;1.5;\xef\xbc\x97", {}, {"0", "4294967295", "2147483648", "+5", "5a", "a", "1.5", "\xef\xbc\x97"}},
    };
    for (const Row& row : rows) {
        const RestartExitCodes decoded = decodeRestartExitCodes(Text::fromUtf8(row.value));
        EXPECT_EQ(decoded.codes, row.codes) << row.value;
        EXPECT_EQ(utf8(decoded.ignored), row.ignored) << row.value;
    }
}

TEST(RestartRules, TenThousandCodesAreRead) {
    std::string value;
    for (int i = 1; i <= 10000; ++i) value += std::to_string(i) + ';';
    const RestartExitCodes decoded = decodeRestartExitCodes(Text::fromUtf8(value));
    ASSERT_EQ(decoded.codes.size(), 10000u);
    EXPECT_TRUE(decoded.contains(10000));
    EXPECT_FALSE(decoded.contains(10001));
}

TEST(RestartRules, TheChainStopsAtTheFifthRestartWithinAMinute) {
    const std::uint64_t start = 1'000'000;
    RestartChain chain;
    for (int restart = 0; restart < 5; ++restart) {
        ASSERT_TRUE(restartAllowed(chain, start + restart * 1000u)) << restart;
        chain = parseRestartChain(formatRestartChain(nextRestartChain(chain, 40 + restart, start + restart * 1000u)));
    }
    EXPECT_EQ(chain.previousProcessId, 44u);
    EXPECT_FALSE(restartAllowed(chain, start + 5000));
    // Once the first of them is a minute old, one more may follow; the old one is dropped.
    EXPECT_TRUE(restartAllowed(chain, start + kRestartWindowMs));
    EXPECT_EQ(nextRestartChain(chain, 1, start + kRestartWindowMs).restartTimes.size(), 5u);
}

TEST(RestartRules, AnUnreadableChainCountsNoRestarts) {
    for (const char* value : {"", "12", "x:1", "12:1,,2", "12:1;2", "-1:5", "1:2:3"}) {
        const RestartChain chain = parseRestartChain(Text::fromUtf8(value));
        EXPECT_EQ(chain.previousProcessId, 0u) << value;
        EXPECT_TRUE(chain.restartTimes.empty()) << value;
    }
}
