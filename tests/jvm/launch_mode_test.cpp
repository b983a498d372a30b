// Jar and module launches on real runtimes: each case creates its own VM in
// a child process (death-test style), on each JDK the build names that this
// machine has.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "jvm_test_support.h"
#include "linux_folders.h"
#include "recording_messages.h"
#include "runtime/release_file.h"
#include "vm/java_main.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ExitedWithCode;

const fs::path kFixtures = JLAUNCH_LAUNCH_FIXTURES;

std::vector<std::string> jdkHomes() {
    std::vector<std::string> homes;
    std::string all = JLAUNCH_JDK_HOMES;
    for (std::size_t start = 0; start <= all.size();) {
        const std::size_t bar = std::min(all.find('|', start), all.size());
        homes.push_back(all.substr(start, bar - start));
        start = bar + 1;
    }
    return homes;
}

// The feature release (17, 25) from the JDK's release file; 0 when unknown.
int featureRelease(const std::string& home) {
    const auto version = releaseJavaVersion(readFile(fs::path(home) / "release"));
    return version ? std::atoi(version->toUtf8().c_str()) : 0;
}

struct Launch {
    MainClassSource source;
    VmOptionList options;
    TextList arguments;
};

std::string fixture(const char* name) { return (kFixtures / name).string(); }

Launch jarLaunch(const char* jar) {
    return {{Text(), Text::fromUtf8(fixture(jar)), {}}, {"-Djava.class.path=" + fixture(jar)}, {}};
}

Launch moduleLaunch(const char* written) {
    const ModuleName module = parseMainModule(Text::fromUtf8(written)).value();
    return {{Text(), Text(), module},
            {"--module-path=" + fixture("mods"), "-Djdk.module.main=" + module.module.toUtf8()},
            {u"a"_t, u"b"_t}};
}

[[noreturn]] void endChild(int code) {
    std::fflush(stderr);
    std::_Exit(code);
}

// Runs the launch as the launcher's Java main thread would; ends the child
// with its result after printing what main invocation asked for.
[[noreturn]] void runLaunch(const std::string& home, const Launch& launch) {
    void* library = dlopen((home + "/lib/server/libjvm.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) endChild(101);
    JavaMainJob job;
    job.createJavaVm = reinterpret_cast<CreateJavaVmFunction>(dlsym(library, "JNI_CreateJavaVM"));
    job.options = launch.options;
    job.main.mainClass = launch.source;
    job.main.arguments = launch.arguments;
    JavaVmSlots slots;
    LinuxFolders folders(fs::temp_directory_path());
    RecordingActions actions;
    RecordingMessages messages(true);
    const std::uint32_t result = runJavaMain(job, slots, folders, actions, messages);
    for (const std::string& event : actions.events) std::fprintf(stderr, "event: %s\n", event.c_str());
    if (slots.vm) slots.vm->DestroyJavaVM();
    endChild(static_cast<int>(result));
}

// The same with the VM's standard error in a file; says afterwards whether the text was in it.
[[noreturn]] void runLaunchLookingFor(const std::string& home, const Launch& launch, const std::string& text) {
    const fs::path log = fs::temp_directory_path() / ("jlaunch-stderr-" + std::to_string(getpid()));
    const int saved = dup(2);
    std::FILE* file = std::fopen(log.c_str(), "w");
    dup2(fileno(file), 2);
    if (fork() == 0) runLaunch(home, launch);
    int status = 0;
    wait(&status);
    dup2(saved, 2);
    const std::string written = readFile(log);
    fs::remove(log);
    std::fprintf(stderr, "%s\n%s: %s\n", written.c_str(), text.c_str(),
                 written.find(text) == std::string::npos ? "absent" : "present");
    endChild(WIFEXITED(status) ? WEXITSTATUS(status) : 102);
}

class LaunchModes : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(GetParam()) / "lib/server/libjvm.so")) {
            GTEST_SKIP() << "no JDK at " << GetParam() << " on this machine: its launch-mode cases are skipped";
        }
    }
    const std::string& home() const { return GetParam(); }
};

} // namespace

TEST_P(LaunchModes, JarModeAppliesTheManifestsAddOpens) {
    EXPECT_EXIT(runLaunch(home(), jarLaunch("opener.jar")), ExitedWithCode(0),
                "opened hash.*event: found Opener\nevent: started");
}

TEST_P(LaunchModes, AMainClassBesideTheJarLeavesTheManifestUnread) {
    Launch launch = jarLaunch("opener.jar");
    launch.source = {u"Opener"_t, Text(), {}};
    EXPECT_EXIT(runLaunch(home(), launch), ExitedWithCode(0), "InaccessibleObjectException");
}

TEST_P(LaunchModes, ModuleModeStartsTheDescriptorsClassOrTheNamedOne) {
    for (const char* module : {"hello", "hello/hello.Main"}) {
        SCOPED_TRACE(module);
        EXPECT_EXIT(runLaunch(home(), moduleLaunch(module)), ExitedWithCode(0),
                    "greeted by hello, named true, arguments a,b\n.*event: found hello/Main");
    }
}

TEST_P(LaunchModes, FailuresAreShownWithWhatFailed) {
    struct Case {
        Launch launch;
        const char* shown;
    };
    const Case cases[] = {
        {jarLaunch("no-manifest.jar"), "shown: #236\\([^|]*no-manifest.jar\\)"},
        {jarLaunch("no-main-class.jar"), "shown: #237\\([^|]*no-main-class.jar\\)"},
        {jarLaunch("not-a-jar.jar"), "shown: #235\\([^|]*not-a-jar.jar\\|java.util.zip.ZipException"},
        // The runtime's helper ends the process; the exit hook shows what it said.
        {jarLaunch("missing-class.jar"),
         "shown: #240\\([^|]*missing-class.jar\\|Error: Could not find or load main class no.such.Main"},
        {moduleLaunch("greet"), "shown: #240\\(greet\\|.*greet does not have a ModuleMainClass attribute"},
        // Resolution fails inside VM creation, which ends through the abort hook.
        {moduleLaunch("nosuch"), "shown: #241\\(nosuch\\)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EXIT(runLaunch(home(), c.launch), ExitedWithCode(1), c.shown);
    }
}

TEST_P(LaunchModes, EnableNativeAccessInTheManifestSilencesTheRestrictedMethodWarning) {
    if (featureRelease(home()) < 24 || !fs::exists(fixture("native-with.jar"))) {
        GTEST_SKIP() << home() << " predates Java 24's native-access warnings (or its fixtures were not built)";
    }
    const std::string warning = "WARNING: A restricted method in java.lang.foreign.Linker has been called";
    EXPECT_EXIT(runLaunchLookingFor(home(), jarLaunch("native-with.jar"), warning), ExitedWithCode(0),
                "native call prepared.*" + warning + ": absent");
    EXPECT_EXIT(runLaunchLookingFor(home(), jarLaunch("native-without.jar"), warning), ExitedWithCode(0),
                "native call prepared.*" + warning + ": present");
}

INSTANTIATE_TEST_SUITE_P(Jdks, LaunchModes, ::testing::ValuesIn(jdkHomes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = fs::path(info.param).filename().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
