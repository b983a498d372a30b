// Scenarios that need a VM of their own or end the process: each runs in a
// child process (death-test style "threadsafe" re-runs the test binary), so
// the parent never creates a VM.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "jvm_test_support.h"
#include "linux_folders.h"
#include "recording_messages.h"
#include "vm/java_main.h"
#include "vm/vm_creation.h"
#include "vm/vm_hooks.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ExitedWithCode;

JavaMainJob jobFor(const char16_t* mainClass, TextList arguments) {
    JavaMainJob job;
    job.createJavaVm = &JNI_CreateJavaVM;
    job.options = testVmOptions();
    job.main.mainClass.className = Text(mainClass);
    job.main.arguments = std::move(arguments);
    return job;
}

void printShownMessages(const RecordingMessages& messages) {
    for (const Text& message : messages.shown()) std::fprintf(stderr, "shown: %s\n", message.toUtf8().c_str());
}

[[noreturn]] void endChild(int code) {
    std::fflush(stderr);
    std::_Exit(code);
}

class ReportingListener final : public VmEventListener {
public:
    void exit(jint code) override { std::fprintf(stderr, "exit hook: %d\n", static_cast<int>(code)); }
    void abort() override { std::fprintf(stderr, "abort hook\n"); }
};

class StoppingActions final : public JavaMainActions {
public:
    void mainClassFound(const Text&) override {}
    std::unique_ptr<ReportFile> newReportFile() override { return nullptr; }
    void signalMainStarted() override {}
    void closeSplash() override { std::fprintf(stderr, "splash closed\n"); }
    ExceptionChoice showExceptionDialog(const Text& report) override {
        std::fprintf(stderr, "dialog: %s\n", report.toUtf8().c_str());
        return ExceptionChoice::Stop;
    }
    void sleepForever() override {}
};

void exitThroughTheHook() {
    ReportingListener listener;
    setVmEventListener(&listener);
    JavaVmSlots slots;
    LinuxFolders folders(fs::temp_directory_path());
    RecordingActions actions;
    RecordingMessages messages;
    JavaMainJob job = jobFor(u"fixture/Exiter", {u"3"_t});
    job.beforeVmCreation = [] {
        JavaVM* vm = nullptr;
        jsize created = -1;
        JNI_GetCreatedJavaVMs(&vm, 1, &created);
        std::fprintf(stderr, "VMs before creation: %d\n", static_cast<int>(created));
    };
    runJavaMain(job, slots, folders, actions, messages);
    endChild(100);  // not reached: System.exit ends the process
}

void stopAfterUncaughtException() {
    JavaMainJob job = jobFor(u"fixture/Thrower", {});
    job.main.failureCheck = true;
    JavaVmSlots slots;
    LinuxFolders folders(fs::temp_directory_path());
    StoppingActions actions;
    RecordingMessages messages;
    runJavaMain(job, slots, folders, actions, messages);
    endChild(100);  // not reached: Stop calls System.exit(-1)
}

void createWithUnknownOption() {
    JavaMainJob job = jobFor(u"fixture/Recorder", {});
    job.options.push_back("-Xfoo");
    JavaVmSlots slots;
    LinuxFolders folders(fs::temp_directory_path());
    RecordingActions actions;
    RecordingMessages messages;
    const std::uint32_t result = runJavaMain(job, slots, folders, actions, messages);
    printShownMessages(messages);
    endChild(slots.vm == nullptr && actions.events.empty() ? static_cast<int>(result) : 100);
}

void stackSizeFollowsXss() {
    const std::uint64_t before = defaultJavaStackSize(&JNI_GetDefaultJavaVMInitArgs);
    VmOptionList options = testVmOptions();
    options.push_back("-Xss2m");
    JavaVmSlots slots;
    LinuxFolders folders(fs::temp_directory_path());
    RecordingMessages messages;
    if (!createJavaVm(&JNI_CreateJavaVM, options, {}, folders, slots, messages)) endChild(100);
    const std::uint64_t after = defaultJavaStackSize(&JNI_GetDefaultJavaVMInitArgs);
    std::fprintf(stderr, "before %llu after %llu\n", static_cast<unsigned long long>(before),
                 static_cast<unsigned long long>(after));
    endChild(0);
}

int redirectAtCreation() {
    const TempFolder temp;
    fs::current_path(temp.path());  // Java opens the backslash path as one name here
    writeFile(temp.path() / "regular", "");
    fs::create_directory(temp.path() / "C:");  // the drive
    JavaMainJob job = jobFor(u"fixture/Printer", {u"printed out"_t, u"printed err"_t});
    job.streams.output = u"C:\\Out\\Sub\\out.txt"_t;
    job.streams.error = Text::fromUtf8((temp.path() / "regular" / "err.txt").string());
    JavaVmSlots slots;
    LinuxFolders folders(temp.path());
    RecordingActions actions;
    RecordingMessages messages;
    const std::uint32_t result = runJavaMain(job, slots, folders, actions, messages);
    std::fprintf(stderr, "result %u, folders %s, out [%s]\n", result,
                 fs::is_directory(temp.path() / "C:" / "Out" / "Sub") ? "made" : "missing",
                 readFile(temp.path() / "C:\\Out\\Sub\\out.txt").c_str());
    return 0;
}

} // namespace

TEST(VmProcess, SystemExitPassesTheExitHookAndEndsWithItsCode) {
    EXPECT_EXIT(exitThroughTheHook(), ExitedWithCode(3), "VMs before creation: 0\n.*exit hook: 3");
}

TEST(VmProcess, StopAfterAnUncaughtExceptionEndsWithMinusOne) {
    EXPECT_EXIT(stopAfterUncaughtException(), ExitedWithCode(255),
                "splash closed\ndialog: java.lang.IllegalStateException: Grüße, \U0001F600 from main");
}

TEST(VmProcess, UnknownOptionFailsCreationWithTheReason) {
    EXPECT_EXIT(createWithUnknownOption(), ExitedWithCode(1), "Unrecognized option: -Xfoo.*shown: #203\\(#213\\|#225\\)");
}

TEST(VmProcess, DefaultStackSizeFollowsXss) {
    EXPECT_EXIT(stackSizeFollowsXss(), ExitedWithCode(0), "before [1-9][0-9]* after 2097152");
}

TEST(VmProcess, StreamsAreRedirectedAtCreationAndFailuresPassOver) {
    EXPECT_EXIT(endChild(redirectAtCreation()), ExitedWithCode(0),
                "FileNotFoundException.*printed err.*result 0, folders made, out \\[printed out\\]");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
