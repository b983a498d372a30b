#pragma once
// What the launch plan asks of the process it runs in: the views of the
// machine its decisions read, and the steps that act. The launcher is the
// host that acts; jlaunch-explain is the host that records and stops where
// only running could tell.

#include <cstdint>
#include <optional>

#include "common/argument_list.h"
#include "common/messages.h"
#include "common/platform.h"
#include "launcher/restart_rules.h"
#include "launcher/settings_store.h"
#include "runtime/registry.h"
#include "runtime/runtime_choice.h"
#include "splash/splash_choice.h"
#include "vm/java_main.h"
#include "vm/jvm_library.h"

// The views of the machine a launch decides by.
struct LaunchMachine {
    SettingsStore& settings;
    const FileProbe& files;
    // The process's own: the variables set for the VM are set in it.
    Environment& environment;
    const MemoryStatus& memory;
    const PathNames& paths;
    const Registry& registry;
    Messages& messages;
};

struct ExecutablePath {
    std::optional<Text> path;
    std::int32_t error = 0;  // the system's error code when there is no path
};

// How single-instance operation began for this process.
enum class InstanceStart {
    RunsApplication,  // the first instance, or one that runs on its own
    HandedOver,       // a later start whose arguments the first instance took
    HandOverFailed,   // a later start that could not hand them over
};

// How the run phase of a later start ended.
struct LaterStartEnd {
    std::uint32_t exitCode = 0;  // the first instance's reply, or its exit code
    // The first instance is starting itself again and did not take the
    // arguments: this start tries again, and may take its role.
    bool firstInstanceRestarting = false;
};

struct PairLauncherRun {
    bool started = false;
    std::int32_t error = 0;      // when it could not be started
    std::uint32_t exitCode = 0;  // this launch's: 0, or the paired launcher's when waited for
};

class LaunchHost {
public:
    virtual ~LaunchHost() = default;

    virtual LaunchMachine machine() = 0;
    // The command line's arguments, split, without the program path.
    virtual ArgumentList commandLineArguments() = 0;
    virtual ExecutablePath executablePath() = 0;
    virtual bool isNtPlatform() = 0;
    // The library's PE headers name the x86 machine.
    virtual bool isX86Library(const Text& library) = 0;

    virtual InstanceStart startSingleInstance(const Text& modulePath, const ArgumentList& arguments,
                                              const Text& mainClass, bool ibmAdmitted) = 0;
    // Gives the process its taskbar identity: 0, or the error Windows gave.
    virtual std::int32_t setAppUserModelId(const Text& id) = 0;
    virtual void changeDirectory(const Text& folder) = 0;
    // The runtime-not-found dialog: the folder the user confirmed, or nothing.
    // searched: where the search looked, for a host that says so.
    virtual std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type,
                                                       const RuntimeChoiceRecord& searched) = 0;
    virtual PairLauncherRun runPairLauncher(const Text& pairProduct, bool waitForExit) = 0;
    // The whole run phase of a later start.
    virtual LaterStartEnd waitForFirstInstance() = 0;
    virtual SplashStarter& splash() = 0;
    virtual LibraryLoad loadJvmLibrary(const Text& library) = 0;
    // From now on, an application that ends with one of the codes is started
    // again once this process has shut down.
    virtual void restartOnExitCodes(const RestartExitCodes& codes) = 0;
    // Runs the job on the thread that runs main and waits for it: 0 when main
    // was called and returned, else the failure was reported. stackSize 0:
    // the loaded VM's default.
    virtual std::uint32_t runJavaMain(JavaMainJob job, std::uint64_t stackSize) = 0;
    // SplashClose of the runtime's splash library, at most once.
    virtual void closeNativeSplash() = 0;
};
