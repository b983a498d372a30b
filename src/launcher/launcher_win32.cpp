#include "launcher/launcher_win32.h"

#include "common/texts.h"
#include "common/wide_win32.h"
#include "launcher/main_settings.h"
#include "launcher/process_facts_win32.h"
#include "launcher/settings_paths.h"
#include "launcher/splash_settings_reader.h"
#include "launcher/vm_settings_reader.h"
#include "runtime/jvm_architecture_win32.h"
#include "runtime/jvm_location.h"
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
    // Single-instance operation is not offered yet: every start runs on its own.
    if (settings_.overrideWorkingDir) overrideWorkingDirectory();
    return chooseRuntime();
}

std::uint32_t Launcher::run() {
    // The 32-bit companion launcher is not offered yet: such a runtime ends the launch here.
    if (needsPairLauncher_) return kFailureExitCode;
    return startJavaApplication();
}

void Launcher::shutdown() {
    splash_.closeOwn();
    // Returns once the application's last non-daemon thread has ended.
    if (vm_.vm) vm_.vm->DestroyJavaVM();
    splash_.closeNative();
}

std::uint32_t Launcher::startJavaApplication() {
    const auto settingsPath = settingsFilePath(modulePath_);
    const VmSettings vmSettings = settingsPath
        ? readVmSettings(layeredSettingsFor(settingsStore_, *settingsPath, settings_.upgradeCode))
        : VmSettings{};
    prepareVmEnvironment(vmSettings, jvmLibraryPath_, modulePath_, environment_, vmOptions_);
    if (!hasArgument(arguments_, u"-nosplash") && !hasArgument(arguments_, u"/nosplash") && !startSplash()) {
        return 0;
    }

    const auto jvm = loadJvmLibrary(jvmLibraryPath_);
    if (!jvm) return kFailureExitCode;

    const AssembledVmOptions assembled =
        assembleVmOptions(vmSettings, modulePath_, {environment_, files_, memory_}, vmOptions_, arguments_);
    if (!assembled.ok) {
        ShowErrorBox(LoadText(IDS_NO_CLASS_PATH));
        return kFailureExitCode;
    }
    // Exactly the "VM Provider" words that admit IBM runtimes allow them.
    const JavaMainJob job{jvm->createJavaVm, vmOptions_, {assembled.outputFile, assembled.errorFile},
                          {settings_.mainClass, arguments_, settings_.failureCheck, settings_.runtime.allowIbm}};
    const std::uint64_t stackSize = assembled.mainThreadStackSize
        ? assembled.mainThreadStackSize
        : defaultJavaStackSize(jvm->getDefaultJavaVmInitArgs);
    WindowsJavaMainActions actions(nullptr, [this] { splash_.closeOwn(); });
    const std::uint32_t result =
        runOnJavaMainThread(stackSize, [&] { return runJavaMain(job, vm_, folders_, actions); });
    if (result == 0) return 0;
    splash_.closeNative();
    return kFailureExitCode;
}

bool Launcher::startSplash() {
    const auto settingsPath = settingsFilePath(modulePath_);
    if (!settingsPath) return false;
    startChosenSplash(readSplashSettings(*settingsStore_.openFile(*settingsPath)), jvmLibraryPath_, files_, splash_);
    return true;
}

bool Launcher::readMainSettings() {
    const ModulePath module = executablePath();
    if (!module.path) {
        ReportError(IDS_WINDOWS_EXCEPTION,
                    {LoadText(IDS_MODULE_PATH_FAILED), static_cast<std::int32_t>(module.error)});
        return false;
    }
    modulePath_ = *module.path;
    const SettingsContext context{settingsStore_, files_, environment_, isNtPlatform()};
    switch (::readMainSettings(modulePath_, context, settings_)) {
    case MainSettingsOutcome::Read:
        return true;
    case MainSettingsOutcome::NoMainClass:
        ShowErrorBox(LoadText(IDS_NO_MAIN_CLASS));
        return false;
    case MainSettingsOutcome::NoSettingsFile:
        return false;
    }
    return false;
}

void Launcher::overrideWorkingDirectory() const {
    const auto slash = modulePath_.findLast(u'\\');
    // A path whose only backslash is its first character names no folder to go to.
    if (!slash || *slash == 0) return;
    SetCurrentDirectoryW(wide(modulePath_.left(*slash)));
}

bool Launcher::chooseRuntime() {
    if (useJrePathSetting()) return true;
    // The private runtime, the registry and the runtime-not-found dialog are
    // not searched yet: without a usable "JRE Path" the launch ends here.
    return false;
}

bool Launcher::useJrePathSetting() {
    if (settings_.jrePath.empty()) return false;
    Text home = settings_.jrePath;
    if (!home.endsWith(u"\\")) home += u'\\';
    const JvmLibrary library = locateJvmLibrary(home, settings_.runtime.jvmType, files_);
    if (library.path.empty()) return false;
    jvmLibraryPath_ = library.path;
    checkJvmArchitecture();
    return true;
}

void Launcher::checkJvmArchitecture() {
    needsPairLauncher_ = false;
    if (settings_.pairProduct.empty()) return;
    needsPairLauncher_ = isX86Library(jvmLibraryPath_);
}
