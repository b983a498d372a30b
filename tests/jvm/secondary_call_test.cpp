#include <gtest/gtest.h>

#include <thread>

#include "jvm_test_support.h"
#include "shared_vm.h"
#include "vm/secondary_call.h"

namespace {

struct Outcome {
    std::vector<std::int32_t> replies;
    bool attachedAfter = false;
};

// On a new thread, not attached, as a SecondaryCall thread starts.
Outcome callOnNewThread(const SecondaryCall& call, const std::function<void()>& onReply = {}) {
    Outcome outcome;
    std::thread([&] {
        callSecondaryMain(sharedVm(), call, [&](std::int32_t value) {
            outcome.replies.push_back(value);
            if (onReply) onReply();
        });
        outcome.attachedAfter = isAttached(sharedVm());
        if (outcome.attachedAfter) sharedVm()->DetachCurrentThread();
    }).join();
    return outcome;
}

JNIEnv* currentEnv() {
    void* env = nullptr;
    sharedVm()->GetEnv(&env, JNI_VERSION_1_2);
    return static_cast<JNIEnv*>(env);
}

} // namespace

TEST(SecondaryCall, IntVariantRepliesWhatItReturns) {
    struct Case {
        const char* what;
        const char16_t* mainClass;
        TextList arguments;
        std::vector<std::int32_t> replies;
    };
    const Case cases[] = {
        {"its result", u"fixture/Recorder", {u"ä"_t, u"b"_t}, {21}},
        {"a class name beyond ASCII", u"fixture/Störer", {u"x"_t}, {42}},
        {"-1 when it throws", u"fixture/Störer", {u"throw"_t}, {-1}},
        {"no reply without a static secondaryMain", u"fixture/NoMain", {}, {}},
        {"no reply without the class", u"no/such/Klässe", {}, {}},
    };
    for (const auto& c : cases) {
        const Outcome outcome = callOnNewThread({Text(c.mainClass), c.arguments, false});
        EXPECT_EQ(outcome.replies, c.replies) << c.what;
        EXPECT_FALSE(outcome.attachedAfter) << c.what;
    }
}

TEST(SecondaryCall, VoidVariantRepliesBeforeItRuns) {
    const TextList arguments{u"a"_t, Text(), u"zweite Grüße"_t};
    TextList receivedAtReply{u"not replied"_t};
    const Outcome outcome = callOnNewThread({u"fixture/SecondaryVoid"_t, arguments, false}, [&] {
        receivedAtReply = staticStrings(currentEnv(), "fixture/SecondaryVoid", "received");
    });
    EXPECT_EQ(outcome.replies, std::vector<std::int32_t>{0});
    EXPECT_EQ(receivedAtReply, TextList{});
    EXPECT_EQ(staticStrings(mainEnv(), "fixture/SecondaryVoid", "received"), arguments);
    EXPECT_FALSE(outcome.attachedAfter);
}

TEST(SecondaryCall, IbmRuntimesKeepTheThreadAttached) {
    const Outcome outcome = callOnNewThread({u"fixture/Recorder"_t, {}, true});
    EXPECT_EQ(outcome.replies, std::vector<std::int32_t>{0});
    EXPECT_TRUE(outcome.attachedAfter);
}
