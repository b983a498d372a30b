#include "launcher/launch_plan.h"

#include "common/ansi_path.h"
#include "launcher/settings_paths.h"
#include "launcher/single_instance.h"
#include "launcher/splash_settings_reader.h"
#include "launcher/vm_settings_reader.h"
#include "launcher/working_directory.h"
#include "vm/vm_environment.h"
#include "vm/main_source.h"
#include "vm/vm_options.h"

namespace {

constexpr std::uint32_t kFailureExitCode = 0xFFFFFFFF;

TextId messageIdOf(MainSourceProblem problem) {
    switch (problem) {
    case MainSourceProblem::JarWithSeparator: return IDS_MAIN_JAR_SEPARATOR;
    case MainSourceProblem::JarMissing: return IDS_MAIN_JAR_MISSING;
    case MainSourceProblem::JarUnreadable: return IDS_MAIN_JAR_UNREADABLE;
    case MainSourceProblem::ModuleNotParsed: return IDS_MAIN_MODULE_INVALID;
    case MainSourceProblem::None: break;
    }
    return 0;
}

} // namespace

LaunchPlan::LaunchPlan(LaunchHost& host, LaunchRecord* record)
    : host_(host), machine_(host.machine()), record_(record) {}

bool LaunchPlan::initialise() {
    arguments_ = host_.commandLineArguments();
    if (!readSettings()) return false;
    if (!setUpSingleInstance()) return false;
    // A later start has handed its arguments over; it only waits now.
    if (laterStart_) return true;
    if (settings_.overrideWorkingDir) overrideWorkingDirectory();
    return chooseRuntime();
}

std::uint32_t LaunchPlan::run() {
    if (needsPairLauncher_) return runPairLauncher();
    if (laterStart_) return host_.waitForFirstInstance();
    return startJavaApplication();
}

bool LaunchPlan::readSettings() {
    const ExecutablePath executable = host_.executablePath();
    if (!executable.path) {
        Messages& messages = machine_.messages;
        messages.report(IDS_WINDOWS_EXCEPTION, {messages.text(IDS_MODULE_PATH_FAILED), executable.error});
        return false;
    }
    modulePath_ = *executable.path;
    settingsFile_ = settingsFilePath(modulePath_);
    if (!settingsFile_) return false;
    layered_.emplace(openLaunchSettings(machine_.settings, *settingsFile_, settings_));
    if (readMainSettings(*layered_, modulePath_, settingsContext(), settings_) == MainSettingsOutcome::NoMainClass) {
        machine_.messages.showError(machine_.messages.text(IDS_NO_MAIN_CLASS));
        return false;
    }
    return true;
}

bool LaunchPlan::setUpSingleInstance() {
    if (!singleInstanceRequested(*layered_)) return true;
    switch (host_.startSingleInstance(modulePath_, arguments_, settings_.mainClass, settings_.runtime.allowIbm)) {
    case InstanceStart::RunsApplication:
        return true;
    case InstanceStart::HandedOver:
        laterStart_ = true;
        return true;
    case InstanceStart::HandOverFailed:
        return false;
    }
    return false;
}

void LaunchPlan::overrideWorkingDirectory() {
    if (const auto folder = overriddenWorkingDirectory(modulePath_)) host_.changeDirectory(*folder);
}

bool LaunchPlan::chooseRuntime() {
    const RuntimeMachine machine{machine_.files, machine_.registry, machine_.environment};
    const RuntimeChoice choice =
        ::chooseRuntime({modulePath_, settings_.jrePath, settings_.runtime, !settings_.pairProduct.empty()}, machine,
                        record_ ? &record_->runtime : nullptr);
    if (choice.jvmLibraryPath.empty()) return askForRuntime();
    useRuntime(choice.jvmLibraryPath, choice.source);
    return true;
}

bool LaunchPlan::askForRuntime() {
    const auto picked = host_.askForRuntime(runtimeNotFoundMessage(settings_.runtime, machine_.messages),
                                            settings_.runtime.jvmType);
    if (!picked) return false;
    useRuntime(picked->jvmLibraryPath, RuntimeSource::Dialog);
    writeBackJrePath(picked->folder, modulePath_, settings_, settingsContext());
    return true;
}

void LaunchPlan::useRuntime(const Text& jvmLibraryPath, RuntimeSource source) {
    jvmLibraryPath_ = jvmLibraryPath;
    needsPairLauncher_ = ::needsPairLauncher(source, jvmLibraryPath_, !settings_.pairProduct.empty(),
                                             [this](const Text& library) { return host_.isX86Library(library); });
}

std::uint32_t LaunchPlan::runPairLauncher() {
    const PairLauncherRun run = host_.runPairLauncher(settings_.pairProduct, settings_.pairReturnCode);
    if (run.started) return run.exitCode;
    machine_.messages.report(IDS_WINDOWS_EXCEPTION, {settings_.pairProduct, run.error});
    return kFailureExitCode;
}

std::uint32_t LaunchPlan::startJavaApplication() {
    const VmSettings vmSettings = readVmSettings(*layered_);
    // A VM finds its own files from the path it was loaded by, read through
    // the ANSI code page; the folders derived from it reach its options so too.
    const Text library = ansiReadablePath(jvmLibraryPath_, machine_.paths).value_or(jvmLibraryPath_);
    VmOptionList options;
    prepareVmEnvironment(vmSettings, library, modulePath_, machine_.environment, machine_.paths, options);
    const ResolvedMainSource main = resolveMainSource(vmSettings, modulePath_, machine_.environment, machine_.files);
    if (record_) record_->mainSource = main;
    if (!mainSourceUsable(main, library)) return kFailureExitCode;
    if (!hasNoSplashSwitch(arguments_)) startSplash();
    if (!loadJvmLibrary(library)) return kFailureExitCode;

    const AssembledVmOptions assembled = assembleVmOptions(
        vmSettings, main.source, modulePath_, {machine_.environment, machine_.files, machine_.memory, machine_.paths},
        options, arguments_, record_ ? &record_->vmOptions : nullptr);
    if (!assembled.ok) {
        Messages& messages = machine_.messages;
        if (assembled.unreadableClassPathEntry.empty()) {
            messages.showError(messages.text(IDS_NO_CLASS_PATH));
        } else {
            messages.report(IDS_PATH_NOT_IN_CODE_PAGE, {assembled.unreadableClassPathEntry});
        }
        return kFailureExitCode;
    }
    // Exactly the "VM Provider" words that admit IBM runtimes allow them.
    JavaMainJob job{nullptr, std::move(options), {assembled.outputFile, assembled.errorFile},
                    {mainCallOf(main.source), arguments_, settings_.failureCheck, settings_.runtime.allowIbm}};
    if (host_.runJavaMain(std::move(job), assembled.mainThreadStackSize) == 0) return 0;
    host_.closeNativeSplash();
    return kFailureExitCode;
}

bool LaunchPlan::mainSourceUsable(const ResolvedMainSource& main, const Text& library) {
    Messages& messages = machine_.messages;
    if (main.problem != MainSourceProblem::None) {
        messages.report(messageIdOf(main.problem), {main.subject});
        return false;
    }
    if (main.source.mode == LaunchMode::Module && !isModularRuntime(library, machine_.files)) {
        messages.report(IDS_MODULES_NEED_JAVA_9, {main.source.module.module});
        return false;
    }
    return true;
}

MainClassSource LaunchPlan::mainCallOf(const MainSource& main) const {
    switch (main.mode) {
    case LaunchMode::ClassPath:
        break;
    case LaunchMode::Jar:
        // A "Main Class" names the class as it would beside `java -cp app.jar`.
        if (settings_.mainClass.empty()) return {Text(), main.jar, {}};
        break;
    case LaunchMode::Module:
        return {Text(), Text(), main.module};
    }
    return {settings_.mainClass, Text(), {}};
}

void LaunchPlan::startSplash() {
    const SplashSettings splash = readSplashSettings(layered_->file());
    if (record_) record_->splash = splash;
    startChosenSplash(splash, jvmLibraryPath_, machine_.files, host_.splash());
}

bool LaunchPlan::loadJvmLibrary(const Text& library) {
    const LibraryLoad load = host_.loadJvmLibrary(library);
    Messages& messages = machine_.messages;
    switch (load.result) {
    case LibraryLoad::Result::Loaded:
        return true;
    case LibraryLoad::Result::NotLoaded:
        messages.report(IDS_JVM_LOAD_FAILED, {library, load.error});
        return false;
    case LibraryLoad::Result::NoEntryPoints:
        messages.report(IDS_WINDOWS_EXCEPTION, {messages.text(IDS_NO_CREATE_JAVA_VM), load.error});
        return false;
    case LibraryLoad::Result::NotKnown:
        return false;
    }
    return false;
}

SettingsContext LaunchPlan::settingsContext() {
    return {machine_.settings, machine_.files, machine_.environment, host_.isNtPlatform()};
}
