#pragma once
// The application object: one per process, on the entry point's stack. It
// owns everything a launch creates and runs the three phases in order.

#include <windows.h>

#include <cstdint>

#include "common/argument_list.h"
#include "common/messages_win32.h"
#include "common/platform_win32.h"
#include "launcher/launch_settings.h"
#include "launcher/settings_store_win32.h"
#include "launcher/single_instance_win32.h"
#include "runtime/registry_win32.h"
#include "runtime/runtime_choice_record.h"
#include "splash/splash_screen_win32.h"
#include "vm/folder_operations_win32.h"
#include "vm/vm_creation.h"
#include "vm/vm_settings.h"

class Launcher {
public:
    Launcher() = default;
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // True when the run phase is to follow.
    bool initialise();
    // The process exit code; called only after a successful initialise.
    std::uint32_t run();
    // Always called, whatever the outcome of the first two.
    void shutdown();

private:
    bool readMainSettings();
    bool setUpSingleInstance();
    void overrideWorkingDirectory() const;
    bool chooseRuntime();
    void decidePairLauncher(RuntimeSource source);
    std::uint32_t startJavaApplication();
    bool startSplash();

    WindowsMessages messages_;
    WindowsFileProbe files_;
    WindowsEnvironment environment_;
    WindowsMemoryStatus memory_;
    WindowsPathNames paths_;
    WindowsSettingsStore settingsStore_;
    WindowsFolderOperations folders_;
    WindowsRegistry registry_;

    Text modulePath_;
    LaunchSettings settings_;
    ArgumentList arguments_;
    Text jvmLibraryPath_;
    bool needsPairLauncher_ = false;

    VmOptionList vmOptions_;
    JavaVmSlots vm_;
    SplashScreen splash_;
    SingleInstance singleInstance_;
};
