#include <gtest/gtest.h>

#include "jvm_test_support.h"
#include "recording_messages.h"
#include "shared_vm.h"
#include "vm/local_ref.h"
#include "vm/main_invocation.h"

namespace {

using Events = std::vector<std::string>;

class MainInvocation : public ::testing::Test {
protected:
    // Invokes main on a new attached thread, as the thread that creates the VM would.
    bool invoke(const MainCall& call) {
        bool result = false;
        onAttachedThread(sharedVm(), [&](JNIEnv* env) {
            result = invokeMain(sharedVm(), env, call, actions, messages);
            stillAttached = isAttached(sharedVm());
        });
        return result;
    }

    static MainCall call(const char16_t* mainClass, TextList arguments = {}) {
        MainCall call;
        call.mainClass.className = Text(mainClass);
        call.arguments = std::move(arguments);
        return call;
    }

    RecordingActions actions;
    RecordingMessages messages;
    bool stillAttached = true;
};

void setStaticBoolean(JNIEnv* env, const char* className, const char* name, bool value) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    env->SetStaticBooleanField(type.get(), env->GetStaticFieldID(type.get(), name, "Z"), value);
}

bool staticBoolean(JNIEnv* env, const char* className, const char* name) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    return env->GetStaticBooleanField(type.get(), env->GetStaticFieldID(type.get(), name, "Z"));
}

} // namespace

TEST_F(MainInvocation, MainGetsTheArgumentsAfterTheStartSignal) {
    JNIEnv* env = mainEnv();
    setStaticBoolean(env, "fixture/Recorder", "signalled", false);
    actions.onMainStarted = [] {
        // The signalling thread's own environment: the attached one.
        JNIEnv* attached = nullptr;
        sharedVm()->GetEnv(reinterpret_cast<void**>(&attached), JNI_VERSION_1_2);
        setStaticBoolean(attached, "fixture/Recorder", "signalled", true);
    };
    const TextList arguments{u"first"_t, u"zweite Grüße"_t, Text(), u"\U0001F600"_t};

    EXPECT_TRUE(invoke(call(u"fixture/Recorder", arguments)));
    EXPECT_EQ(staticStrings(env, "fixture/Recorder", "received"), arguments);
    EXPECT_TRUE(staticBoolean(env, "fixture/Recorder", "signalledWhenMainRan"));
    EXPECT_EQ(actions.events, Events{"started"});
    EXPECT_FALSE(stillAttached);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(MainInvocation, MissingClassIsReportedWithItsName) {
    EXPECT_FALSE(invoke(call(u"no/such/Klässe")));
    EXPECT_EQ(messages.shown(), std::vector<Text>{u"#215(no/such/Klässe)"_t});
    EXPECT_TRUE(actions.events.empty());
    EXPECT_FALSE(stillAttached);  // else DestroyJavaVM would wait for this thread for ever
}

TEST_F(MainInvocation, ClassWithoutStaticMainIsReported) {
    EXPECT_FALSE(invoke(call(u"fixture/NoMain")));
    EXPECT_EQ(messages.shown(), std::vector<Text>{u"#216"_t});
    EXPECT_TRUE(actions.events.empty());
    EXPECT_FALSE(stillAttached);
}

TEST_F(MainInvocation, FailingClassInitialisationCountsAsNotFound) {
    // The class lookup initialises the class, so its failure is the lookup's.
    EXPECT_FALSE(invoke(call(u"fixture/BrokenInit")));
    EXPECT_EQ(messages.shown(), std::vector<Text>{u"#215(fixture/BrokenInit)"_t});
    EXPECT_FALSE(stillAttached);
}

TEST_F(MainInvocation, UncaughtExceptionIsShownWithFailureCheck) {
    MainCall thrower = call(u"fixture/Thrower");
    thrower.failureCheck = true;
    EXPECT_TRUE(invoke(thrower));
    EXPECT_EQ(actions.events, (Events{"started", "closeSplash", "dialog"}));
    const std::string report = actions.report.toUtf8();
    EXPECT_EQ(report.rfind("java.lang.IllegalStateException: Grüße, \U0001F600 from main", 0), 0u) << report;
    EXPECT_NE(report.find("\tat fixture.Thrower.fail(Thrower.java:"), std::string::npos) << report;
    EXPECT_NE(report.find("\tat fixture.Thrower.main(Thrower.java:"), std::string::npos) << report;
    EXPECT_FALSE(stillAttached);
}

TEST_F(MainInvocation, UncaughtExceptionWithoutFailureCheckOnlyClosesTheSplash) {
    EXPECT_TRUE(invoke(call(u"fixture/Thrower")));
    EXPECT_EQ(actions.events, (Events{"started", "closeSplash"}));
    EXPECT_FALSE(stillAttached);
}

TEST_F(MainInvocation, IbmRuntimesKeepTheThreadAfterMain) {
    MainCall recorder = call(u"fixture/Recorder");
    recorder.ibmAdmitted = true;
    EXPECT_TRUE(invoke(recorder));
    EXPECT_EQ(actions.events, (Events{"started", "sleepForever"}));
    EXPECT_TRUE(stillAttached);

    // Only after main ran: a failure detaches as usual.
    actions.events.clear();
    recorder.mainClass.className = u"no/such/Class"_t;
    EXPECT_FALSE(invoke(recorder));
    EXPECT_TRUE(actions.events.empty());
    EXPECT_FALSE(stillAttached);
}
