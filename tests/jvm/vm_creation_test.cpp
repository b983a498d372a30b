#include <gtest/gtest.h>

#include <filesystem>

#include "jvm_test_support.h"
#include "linux_folders.h"
#include "recording_messages.h"
#include "vm/jdk11_init_args.h"
#include "vm/vm_creation.h"
#include "vm/vm_hooks.h"

namespace {

// What a stand-in JNI_CreateJavaVM was given.
struct CreationCall {
    jint version = 0;
    jboolean ignoreUnrecognized = JNI_TRUE;
    std::vector<std::string> options;
    std::vector<void*> extraInfo;
    jint result = JNI_OK;
} lastCall;

jint JNICALL recordingCreate(JavaVM** vm, void** env, void* argsPointer) {
    const auto* args = static_cast<JavaVMInitArgs*>(argsPointer);
    lastCall.version = args->version;
    lastCall.ignoreUnrecognized = args->ignoreUnrecognized;
    lastCall.options.clear();
    lastCall.extraInfo.clear();
    for (jint i = 0; i < args->nOptions; ++i) {
        lastCall.options.emplace_back(args->options[i].optionString);
        lastCall.extraInfo.push_back(args->options[i].extraInfo);
    }
    if (lastCall.result == JNI_OK) {
        *vm = reinterpret_cast<JavaVM*>(&lastCall);
        *env = &lastCall.options;
    }
    return lastCall.result;
}

bool createWithResult(jint result, JavaVmSlots& slots, Messages& messages) {
    lastCall.result = result;
    LinuxFolders folders(std::filesystem::temp_directory_path());
    return createJavaVm(&recordingCreate, {"-Da=1", "-Xmx1g"}, {}, folders, slots, messages);
}

class ExitRecorder final : public VmEventListener {
public:
    jint code = 0;
    int aborts = 0;
    void exit(jint exitCode) override { code = exitCode; }
    void abort() override { ++aborts; }
};

} // namespace

TEST(VmCreation, OptionsInOrderThenTheHooks) {
    JavaVmSlots slots;
    RecordingMessages messages;
    ASSERT_TRUE(createWithResult(JNI_OK, slots, messages));
    EXPECT_EQ(lastCall.version, JNI_VERSION_1_2);
    EXPECT_EQ(lastCall.ignoreUnrecognized, JNI_FALSE);
    EXPECT_EQ(lastCall.options, (std::vector<std::string>{"-Da=1", "-Xmx1g", "abort", "exit"}));
    EXPECT_EQ(lastCall.extraInfo[0], nullptr);
    EXPECT_EQ(lastCall.extraInfo[1], nullptr);
    EXPECT_EQ(slots.vm, reinterpret_cast<JavaVM*>(&lastCall));
    EXPECT_EQ(slots.env, reinterpret_cast<JNIEnv*>(&lastCall.options));

    // The VM calls the hooks through the addresses it was given.
    ExitRecorder listener;
    setVmEventListener(&listener);
    reinterpret_cast<void(JNICALL*)()>(lastCall.extraInfo[2])();
    reinterpret_cast<void(JNICALL*)(jint)>(lastCall.extraInfo[3])(7);
    setVmEventListener(nullptr);
    reinterpret_cast<void(JNICALL*)(jint)>(lastCall.extraInfo[3])(8);  // no listener: nothing happens
    EXPECT_EQ(listener.aborts, 1);
    EXPECT_EQ(listener.code, 7);
}

TEST(VmCreation, FailureIsReportedWithTheReasonForTheResult) {
    const std::vector<std::pair<jint, const char*>> cases{
        {JNI_ERR, "#203(#213|#225)"},     {JNI_EDETACHED, "#203(#213|#226)"}, {JNI_EVERSION, "#203(#213|#227)"},
        {JNI_ENOMEM, "#203(#213|#228)"},  {JNI_EEXIST, "#203(#213|#229)"},    {JNI_EINVAL, "#203(#213|#230)"},
        {-7, "#203(#213|)"},
    };
    for (const auto& [result, message] : cases) {
        RecordingMessages messages;
        JavaVmSlots slots;
        EXPECT_FALSE(createWithResult(result, slots, messages));
        EXPECT_EQ(messages.shown(), std::vector<Text>{Text::fromUtf8(message)}) << result;
        EXPECT_EQ(slots.vm, nullptr);
        EXPECT_EQ(slots.env, nullptr);
    }
}

namespace {

jint JNICALL fakeDefaults(void* argsPointer) {
    auto* args = static_cast<JDK1_1InitArgs*>(argsPointer);
    // Zero-filled apart from the version.
    const bool clean = args->version == JNI_VERSION_1_1 && args->properties == nullptr && args->classpath == nullptr &&
                       args->javaStackSize == 0 && args->exit == nullptr && args->debugPort == 0;
    args->javaStackSize = clean ? 12345 : -1;
    return JNI_OK;
}

jint JNICALL noDefaults(void* argsPointer) {
    static_cast<JDK1_1InitArgs*>(argsPointer)->javaStackSize = -5;
    return JNI_ERR;
}

} // namespace

TEST(DefaultStackSize, ReadFromAZeroFilledVersionOneOneRecord) {
    EXPECT_EQ(defaultJavaStackSize(&fakeDefaults), 12345u);
    EXPECT_EQ(defaultJavaStackSize(&noDefaults), 0u);

    // The real VM fills the same field: its thread stack size in bytes.
    const std::uint64_t size = defaultJavaStackSize(&JNI_GetDefaultJavaVMInitArgs);
    EXPECT_GT(size, 0u);
    EXPECT_EQ(size % 4096, 0u) << size;

    JDK1_1InitArgs args{};
    args.version = JNI_VERSION_1_1;
    JNI_GetDefaultJavaVMInitArgs(&args);
    EXPECT_EQ(args.version, JNI_VERSION_1_2);  // the VM marks the record as read
}
