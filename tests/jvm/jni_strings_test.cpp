#include <gtest/gtest.h>

#include <thread>

#include "jvm_test_support.h"
#include "shared_vm.h"
#include "vm/jni_strings.h"
#include "vm/local_ref.h"

namespace {

struct Sample {
    Text text;
    const char* codePoints;
};

} // namespace

TEST(JavaStrings, ReachJavaAsUtf16AndComeBackUnchanged) {
    JNIEnv* env = mainEnv();
    const std::vector<Sample> samples{
        {Text(), ""},
        {u"Grüße"_t, "47 72 fc df 65"},
        {u"\U0001F600 x"_t, "1f600 20 78"},
        {Text(std::u16string(u"a\0b", 3)), "61 0 62"},  // NUL travels as C0 80 in modified UTF-8
    };
    for (const Sample& sample : samples) {
        const LocalRef<jstring> string(env, newJavaString(env, sample.text));
        ASSERT_TRUE(string);
        EXPECT_EQ(callStaticText(env, "fixture/Strings", "codePoints", "(Ljava/lang/String;)Ljava/lang/String;",
                                 string.get()),
                  Text::fromUtf8(sample.codePoints));
        EXPECT_EQ(javaChars(env, string.get()), sample.text);
        EXPECT_EQ(javaStringText(env, string.get()), sample.text);
    }
}

TEST(JavaStrings, ArraysKeepOrderAndEmptyElements) {
    JNIEnv* env = mainEnv();
    const auto describe = [&](const TextList& items) {
        const LocalRef<jobjectArray> array(env, newJavaStringArray(env, items));
        EXPECT_TRUE(array);
        return callStaticText(env, "fixture/Strings", "describe", "([Ljava/lang/String;)Ljava/lang/String;",
                              array.get());
    };
    EXPECT_EQ(describe({u"a"_t, Text(), u"ü"_t, u"\U0001F600"_t}), u"4:[a][][ü][\U0001F600]"_t);
    EXPECT_EQ(describe({}), u"0:"_t);
}

TEST(JavaStrings, PropertyOptionReachesTheVm) {
    JNIEnv* env = mainEnv();
    const LocalRef<jstring> key(env, newJavaString(env, u"jlaunch.probe"_t));
    EXPECT_EQ(callStaticText(env, "fixture/Strings", "property", "(Ljava/lang/String;)Ljava/lang/String;", key.get()),
              u"seen by Java"_t);
}

TEST(SecondaryCalls, FromAttachedThreadsAtOnce) {
    JavaVM* vm = sharedVm();
    const auto call = [vm](const TextList& arguments, jint& result) {
        onAttachedThread(vm, [&](JNIEnv* env) {
            const LocalRef<jclass> type(env, env->FindClass("fixture/Recorder"));
            ASSERT_TRUE(type);
            const jmethodID secondary = env->GetStaticMethodID(type.get(), "secondaryMain", "([Ljava/lang/String;)I");
            ASSERT_NE(secondary, nullptr);
            const LocalRef<jobjectArray> array(env, newJavaStringArray(env, arguments));
            ASSERT_TRUE(array);
            result = env->CallStaticIntMethod(type.get(), secondary, array.get());
            EXPECT_FALSE(exceptionPending(env));
        });
    };
    jint first = -1;
    jint second = -1;
    std::thread one([&] { call({u"ä"_t, u"b"_t}, first); });
    std::thread two([&] { call({Text()}, second); });
    one.join();
    two.join();
    EXPECT_EQ(first, 21);
    EXPECT_EQ(second, 10);
}
