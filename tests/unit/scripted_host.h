#pragma once
// A launch host that acts in memory, standing in for the launcher: the
// machine is made of the in-memory doubles, every step the plan takes is
// logged in order, and what only a real process would answer is set by the test.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "explain/launch_account.h"
#include "launcher/launch_host.h"
#include "test_support.h"

class ScriptedHost final : public LaunchHost {
public:
    // The machine.
    FakeSettingsStore store;
    FakeFiles files;
    FakeEnvironment environment;
    FixedMemory memory;
    FakePathNames paths;
    FakeRegistry registry;
    IdTexts messages;

    // The process and the answers of its steps.
    ExecutablePath executable{Text(u"C:\\App\\app.exe")};
    ArgumentList arguments;
    std::set<std::u16string> x86Libraries;
    InstanceStart instanceStart = InstanceStart::RunsApplication;
    std::optional<PickedRuntime> picked;  // in the runtime-not-found dialog
    PairLauncherRun pairLauncher{true};
    std::uint32_t firstInstanceReply = 0;
    // Waits that end with the first instance restarting; each makes the next start run the application.
    int firstInstanceRestarts = 0;
    std::int32_t appUserModelIdError = 0;
    std::map<std::u16string, LibraryLoad> libraries;  // any other library loads
    std::uint32_t javaMainResult = 0;

    // What the plan did, in order: "singleInstance", "changeDirectory C:\App", ...
    std::vector<std::string> steps;
    std::optional<JavaMainJob> job;
    std::uint64_t stackSize = 0;
    RuntimeChoiceRecord searchedBeforeAsking;  // what the runtime-not-found step was given
    Text jvmPathWhenLoaded;  // JL_JVM_PATH as the library found it

    LaunchMachine machine() override;
    ArgumentList commandLineArguments() override { return arguments; }
    ExecutablePath executablePath() override { return executable; }
    bool isNtPlatform() override { return true; }
    bool isX86Library(const Text& library) override { return x86Libraries.count(library.units()) != 0; }
    InstanceStart startSingleInstance(const Text& modulePath, const ArgumentList& arguments, const Text& mainClass,
                                      bool ibmAdmitted) override;
    std::int32_t setAppUserModelId(const Text& id) override;
    void changeDirectory(const Text& folder) override { note("changeDirectory", folder); }
    std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type,
                                               const RuntimeChoiceRecord& searched) override;
    PairLauncherRun runPairLauncher(const Text& pairProduct, bool waitForExit) override;
    LaterStartEnd waitForFirstInstance() override;
    SplashStarter& splash() override { return splash_; }
    LibraryLoad loadJvmLibrary(const Text& library) override;
    void restartOnExitCodes(const RestartExitCodes& codes) override;
    std::uint32_t runJavaMain(JavaMainJob job, std::uint64_t stackSize) override;
    void closeNativeSplash() override { note("closeNativeSplash"); }

private:
    class LoggedSplash final : public SplashStarter {
    public:
        explicit LoggedSplash(ScriptedHost& host) : host_(host) {}
        bool startNative(const Text& library, const Text& image) override;
        void startOwn(const Text& image, bool shadow) override;
        void beforeVmCreation() override { host_.note("splash: VM creation begins"); }

    private:
        ScriptedHost& host_;
    };

    void note(const char* step, const Text& detail = {});

    LoggedSplash splash_{*this};
};

// Runs the plan as the entry point does: the exit code.
std::uint32_t runAsTheLauncherDoes(ScriptedHost& host);

std::vector<std::string> utf8(const std::vector<Text>& texts);

// How a launch ends, as far as both the launcher and jlaunch-explain tell it.
struct LaunchEnding {
    LaunchOutcome outcome = LaunchOutcome::Fails;
    std::vector<std::string> messages;  // shown, or the runtime-not-found dialog's
    VmOptionList options;               // the VM's, the hooks last
    ArgumentList mainArguments;
    friend bool operator==(const LaunchEnding&, const LaunchEnding&) = default;
};
void PrintTo(const LaunchEnding& ending, std::ostream* out);

// The JVM libraries of a machine by what their files tell; a library not
// listed is a good x64 one.
using LibraryTable = std::map<std::u16string, LibraryFacts>;

// The launcher's run on the host's machine, the libraries loading as Windows loads them.
LaunchEnding launchWith(ScriptedHost& host, const LibraryTable& libraries);
// What jlaunch-explain says of a launch on the same machine.
LaunchEnding explainWith(ScriptedHost& machine, const LibraryTable& libraries);
