#pragma once
// The launch itself: which step follows which, what each outcome leads to,
// and which message and exit code a failure gives. Written once, for every
// host: the launcher acts on it, jlaunch-explain records it.

#include <cstdint>
#include <optional>

#include "common/argument_list.h"
#include "launcher/launch_host.h"
#include "launcher/launch_settings.h"
#include "launcher/layered_settings.h"
#include "launcher/main_settings.h"
#include "runtime/runtime_choice_record.h"
#include "splash/splash_settings.h"
#include "vm/main_source.h"
#include "vm/vm_options_record.h"

// What the decisions tried, as plain data, for tools that explain a launch.
// The launcher passes none; it keeps only the runtime choice's, so that the
// console launcher can say where it looked.
struct LaunchRecord {
    RuntimeChoiceRecord runtime;
    std::optional<SplashSettings> splash;  // read when the splash starts
    std::optional<ResolvedMainSource> mainSource;  // worked out when the application starts
    VmOptionsRecord vmOptions;
};

class LaunchPlan {
public:
    explicit LaunchPlan(LaunchHost& host, LaunchRecord* record = nullptr);
    LaunchPlan(const LaunchPlan&) = delete;
    LaunchPlan& operator=(const LaunchPlan&) = delete;

    // True when the run phase is to follow.
    bool initialise();
    // The process exit code; called only after a successful initialise.
    std::uint32_t run();

    // What the launch has worked out so far.
    const Text& modulePath() const { return modulePath_; }
    const std::optional<Text>& settingsFile() const { return settingsFile_; }
    const LayeredSettings* layeredSettings() const { return layered_ ? &*layered_ : nullptr; }
    const LaunchSettings& settings() const { return settings_; }
    const ArgumentList& arguments() const { return arguments_; }
    const Text& jvmLibraryPath() const { return jvmLibraryPath_; }
    bool needsPairLauncher() const { return needsPairLauncher_; }

private:
    bool readSettings();
    void applyAppUserModelId();
    bool setUpSingleInstance();
    bool prepareRuntime();
    void overrideWorkingDirectory();
    bool chooseRuntime();
    bool askForRuntime(const RuntimeChoiceRecord& searched);
    void useRuntime(const Text& jvmLibraryPath, RuntimeSource source);
    std::uint32_t runPairLauncher();
    std::uint32_t startJavaApplication();
    bool mainSourceUsable(const ResolvedMainSource& main, const Text& library);
    MainClassSource mainCallOf(const MainSource& main) const;
    void startSplash();
    bool loadJvmLibrary(const Text& library);
    SettingsContext settingsContext();

    LaunchHost& host_;
    LaunchMachine machine_;
    LaunchRecord* record_;

    ArgumentList arguments_;
    Text modulePath_;
    std::optional<Text> settingsFile_;
    std::optional<LayeredSettings> layered_;
    LaunchSettings settings_;
    bool laterStart_ = false;
    Text jvmLibraryPath_;
    bool needsPairLauncher_ = false;
};
