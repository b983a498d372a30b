#pragma once
// The application object: one per process, on the entry point's stack. It
// is the host the launch plan acts through, owns everything a launch creates
// and ends it in shutdown.

#include <windows.h>

#include <cstdint>

#include "common/platform_win32.h"
#include "launcher/launch_plan.h"
#include "launcher/launcher_flavour_win32.h"
#include "launcher/restart_win32.h"
#include "launcher/settings_store_win32.h"
#include "launcher/single_instance_win32.h"
#include "runtime/registry_win32.h"
#include "splash/splash_screen_win32.h"
#include "vm/folder_operations_win32.h"
#include "vm/jvm_library_win32.h"
#include "vm/vm_creation.h"

class Launcher final : public LaunchHost {
public:
    // The flavour outlives the launcher.
    explicit Launcher(LauncherFlavour& flavour) : flavour_(flavour), messages_(flavour.messages()) {}
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // True when the run phase is to follow.
    bool initialise() {
        restart_.takeOverChain();
        return plan_.initialise();
    }
    // The process exit code; called only after a successful initialise.
    std::uint32_t run() { return plan_.run(); }
    // Always called, whatever the outcome of the first two.
    void shutdown();

    LaunchMachine machine() override;
    ArgumentList commandLineArguments() override;
    ExecutablePath executablePath() override;
    bool isNtPlatform() override;
    bool isX86Library(const Text& library) override;
    InstanceStart startSingleInstance(const Text& modulePath, const ArgumentList& arguments, const Text& mainClass,
                                      bool ibmAdmitted) override;
    std::int32_t setAppUserModelId(const Text& id) override;
    void changeDirectory(const Text& folder) override;
    std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type,
                                               const RuntimeChoiceRecord& searched) override;
    PairLauncherRun runPairLauncher(const Text& pairProduct, bool waitForExit) override;
    LaterStartEnd waitForFirstInstance() override;
    SplashStarter& splash() override { return splash_; }
    LibraryLoad loadJvmLibrary(const Text& library) override;
    void restartOnExitCodes(const RestartExitCodes& codes) override;
    std::uint32_t runJavaMain(JavaMainJob job, std::uint64_t stackSize) override;
    void closeNativeSplash() override { splash_.closeNative(); }

private:
    LauncherFlavour& flavour_;
    Messages& messages_;
    WindowsFileProbe files_;
    WindowsEnvironment environment_;
    WindowsMemoryStatus memory_;
    WindowsPathNames paths_;
    WindowsSettingsStore settingsStore_;
    WindowsFolderOperations folders_;
    WindowsRegistry registry_;

    JvmEntryPoints jvm_;
    JavaVmSlots vm_;
    Text mainClass_;  // what a later start's secondaryMain is looked up in
    SplashScreen splash_;
    SingleInstance singleInstance_;
    ApplicationRestart restart_{messages_};
    // Last: it takes the machine's views from the members above when it is made.
    LaunchPlan plan_{*this};
};
