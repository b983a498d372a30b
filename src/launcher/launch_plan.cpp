#include "launcher/launch_plan.h"

#include "common/ansi_path.h"
#include "launcher/app_user_model_id.h"
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
    return laterStart_ || prepareRuntime();
}

std::uint32_t LaunchPlan::run() {
    while (laterStart_) {
        const LaterStartEnd end = host_.waitForFirstInstance();
        if (!end.firstInstanceRestarting) return end.exitCode;
        laterStart_ = false;
        if (!setUpSingleInstance()) return kFailureExitCode;
        if (!laterStart_ && !prepareRuntime()) return kFailureExitCode;
    }
    if (needsPairLauncher_) return runPairLauncher();
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
    const MainSettingsOutcome outcome = readMainSettings(*layered_, modulePath_, settingsContext(), settings_);
    // Before any window: the first one already groups under the identity.
    applyAppUserModelId();
    if (outcome == MainSettingsOutcome::NoMainClass) {
        machine_.messages.showError(machine_.messages.text(IDS_NO_MAIN_CLASS));
        return false;
    }
    return true;
}

void LaunchPlan::applyAppUserModelId() {
    const Text& id = settings_.appUserModelId;
    if (id.empty()) return;
    Messages& messages = machine_.messages;
    switch (appUserModelIdProblem(id)) {
    case AppUserModelIdProblem::TooLong:
        messages.report(IDS_AUMID_TOO_LONG, {static_cast<std::int32_t>(kAppUserModelIdMaxLength)});
        return;
    case AppUserModelIdProblem::HasSpace:
        messages.report(IDS_AUMID_HAS_SPACE, {id});
        return;
    case AppUserModelIdProblem::None:
        break;
    }
    if (const std::int32_t error = host_.setAppUserModelId(id)) messages.report(IDS_AUMID_REFUSED, {id, error});
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

bool LaunchPlan::prepareRuntime() {
    if (settings_.overrideWorkingDir) overrideWorkingDirectory();
    return chooseRuntime();
}

void LaunchPlan::overrideWorkingDirectory() {
    if (const auto folder = overriddenWorkingDirectory(modulePath_)) host_.changeDirectory(*folder);
}

bool LaunchPlan::chooseRuntime() {
    const RuntimeMachine machine{machine_.files, machine_.registry, machine_.environment};
    // Always recorded: a host may say where the search looked when it found nothing.
    RuntimeChoiceRecord searched;
    RuntimeChoiceRecord& record = record_ ? record_->runtime : searched;
    const RuntimeChoice choice = ::chooseRuntime(
        {modulePath_, settings_.jrePath, settings_.runtime, !settings_.pairProduct.empty()}, machine, &record);
    if (choice.jvmLibraryPath.empty()) return askForRuntime(record);
    useRuntime(choice.jvmLibraryPath, choice.source);
    return true;
}

bool LaunchPlan::askForRuntime(const RuntimeChoiceRecord& searched) {
    const auto picked = host_.askForRuntime(runtimeNotFoundMessage(settings_.runtime, machine_.messages),
                                            settings_.runtime.jvmType, searched);
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
    if (!settings_.restartExitCodes.empty()) host_.restartOnExitCodes(settings_.restartExitCodes);
    JavaMainJob job{nullptr, std::move(options), {assembled.outputFile, assembled.errorFile},
                    {mainCallOf(main.source), arguments_, settings_.failureCheck, settings_.runtime.allowIbm},
                    [&splash = host_.splash()] { splash.beforeVmCreation(); }};
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
