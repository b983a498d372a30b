#include "launcher/launcher_win32.h"

#include "common/ansi_path.h"
#include "common/messages_win32.h"
#include "common/wide_win32.h"
#include "launcher/companion_win32.h"
#include "launcher/main_settings.h"
#include "launcher/process_facts_win32.h"
#include "launcher/settings_paths.h"
#include "launcher/single_instance.h"
#include "launcher/splash_settings_reader.h"
#include "launcher/vm_settings_reader.h"
#include "runtime/jvm_architecture_win32.h"
#include "runtime/runtime_choice.h"
#include "runtime/runtime_not_found_dialog_win32.h"
#include "vm/java_main.h"
#include "vm/java_main_thread_win32.h"
#include "vm/jvm_library_win32.h"
#include "vm/vm_environment.h"
#include "vm/vm_options.h"

namespace {

constexpr std::uint32_t kFailureExitCode = 0xFFFFFFFF;

} // namespace

bool Launcher::initialise() {
    arguments_ = argumentsFromCommandLine(fromWide(GetCommandLineW()));
    if (!readMainSettings()) return false;
    if (!setUpSingleInstance()) return false;
    // A later start has handed its arguments over; it only waits now.
    if (singleInstance_.isLaterStart()) return true;
    if (settings_.overrideWorkingDir) overrideWorkingDirectory();
    return chooseRuntime();
}

std::uint32_t Launcher::run() {
    if (needsPairLauncher_) return runPairLauncher(settings_.pairProduct, settings_.pairReturnCode, messages_);
    if (singleInstance_.isLaterStart()) return singleInstance_.waitForPrimary();
    return startJavaApplication();
}

void Launcher::shutdown() {
    splash_.closeOwn();
    // Returns once the application's last non-daemon thread has ended.
    if (vm_.vm) vm_.vm->DestroyJavaVM();
    singleInstance_.stop();
    splash_.closeNative();
}

std::uint32_t Launcher::startJavaApplication() {
    const auto settingsPath = settingsFilePath(modulePath_);
    const VmSettings vmSettings = settingsPath
        ? readVmSettings(layeredSettingsFor(settingsStore_, *settingsPath, settings_.upgradeCode))
        : VmSettings{};
    // A VM finds its own files from the path it was loaded by, read through
    // the ANSI code page; the folders derived from it reach its options so too.
    const Text vmLibraryPath = ansiReadablePath(jvmLibraryPath_, paths_).value_or(jvmLibraryPath_);
    prepareVmEnvironment(vmSettings, vmLibraryPath, modulePath_, environment_, paths_, vmOptions_);
    if (!hasNoSplashSwitch(arguments_) && !startSplash()) return 0;

    const auto jvm = loadJvmLibrary(vmLibraryPath, messages_);
    if (!jvm) return kFailureExitCode;

    const AssembledVmOptions assembled =
        assembleVmOptions(vmSettings, modulePath_, {environment_, files_, memory_, paths_}, vmOptions_, arguments_);
    if (!assembled.ok) {
        if (assembled.unreadableClassPathEntry.empty()) {
            messages_.showError(messages_.text(IDS_NO_CLASS_PATH));
        } else {
            messages_.report(IDS_PATH_NOT_IN_CODE_PAGE, {assembled.unreadableClassPathEntry});
        }
        return kFailureExitCode;
    }
    // Exactly the "VM Provider" words that admit IBM runtimes allow them.
    const JavaMainJob job{jvm->createJavaVm, vmOptions_, {assembled.outputFile, assembled.errorFile},
                          {settings_.mainClass, arguments_, settings_.failureCheck, settings_.runtime.allowIbm}};
    const std::uint64_t stackSize = assembled.mainThreadStackSize
        ? assembled.mainThreadStackSize
        : defaultJavaStackSize(jvm->getDefaultJavaVmInitArgs);
    WindowsJavaMainActions actions(singleInstance_.mainStartedEvent(), [this] { splash_.closeOwn(); });
    const std::uint32_t result =
        runOnJavaMainThread(stackSize, [&] { return runJavaMain(job, vm_, folders_, actions, messages_); });
    if (result == 0) return 0;
    splash_.closeNative();
    return kFailureExitCode;
}

bool Launcher::startSplash() {
    const auto settingsPath = settingsFilePath(modulePath_);
    if (!settingsPath) return false;
    settings_.splash = readSplashSettings(*settingsStore_.openFile(*settingsPath));
    startChosenSplash(settings_.splash, jvmLibraryPath_, files_, splash_);
    return true;
}

bool Launcher::readMainSettings() {
    const ModulePath module = executablePath();
    if (!module.path) {
        messages_.report(IDS_WINDOWS_EXCEPTION,
                         {messages_.text(IDS_MODULE_PATH_FAILED), static_cast<std::int32_t>(module.error)});
        return false;
    }
    modulePath_ = *module.path;
    const SettingsContext context{settingsStore_, files_, environment_, isNtPlatform()};
    switch (::readMainSettings(modulePath_, context, settings_)) {
    case MainSettingsOutcome::Read:
        return true;
    case MainSettingsOutcome::NoMainClass:
        messages_.showError(messages_.text(IDS_NO_MAIN_CLASS));
        return false;
    case MainSettingsOutcome::NoSettingsFile:
        return false;
    }
    return false;
}

bool Launcher::setUpSingleInstance() {
    const auto settingsPath = settingsFilePath(modulePath_);
    if (!settingsPath) return false;
    if (!singleInstanceRequested(layeredSettingsFor(settingsStore_, *settingsPath, settings_.upgradeCode))) return true;
    return singleInstance_.setUp(modulePath_, arguments_,
                                 {settings_.mainClass, settings_.runtime.allowIbm, &vm_.vm});
}

void Launcher::overrideWorkingDirectory() const {
    if (const auto folder = overriddenWorkingDirectory(modulePath_)) SetCurrentDirectoryW(wide(*folder));
}

bool Launcher::chooseRuntime() {
    const RuntimeChoice choice = ::chooseRuntime(
        {modulePath_, settings_.jrePath, settings_.runtime, !settings_.pairProduct.empty()}, files_, registry_);
    if (choice.jvmLibraryPath.empty()) {
        const auto picked = showRuntimeNotFoundDialog(runtimeNotFoundMessage(settings_.runtime, messages_),
                                                      settings_.runtime.jvmType, files_, messages_);
        if (!picked) return false;
        jvmLibraryPath_ = picked->jvmLibraryPath;
        decidePairLauncher(RuntimeSource::Dialog);
        const SettingsContext context{settingsStore_, files_, environment_, isNtPlatform()};
        writeBackJrePath(picked->folder, modulePath_, settings_, context);
        return true;
    }
    jvmLibraryPath_ = choice.jvmLibraryPath;
    decidePairLauncher(choice.source);
    return true;
}

void Launcher::decidePairLauncher(RuntimeSource source) {
    needsPairLauncher_ = needsPairLauncher(source, jvmLibraryPath_, !settings_.pairProduct.empty(), isX86Library);
}
