#include "explain/launch_account.h"

#include <array>

#include "common/ansi.h"
#include "common/ansi_path.h"
#include "common/format.h"
#include "launcher/settings_paths.h"
#include "launcher/single_instance.h"
#include "launcher/splash_settings_reader.h"
#include "launcher/vm_settings_reader.h"
#include "splash/splash_choice.h"
#include "vm/vm_environment.h"
#include "vm/vm_init_args.h"
#include "vm/vm_options.h"

namespace {

namespace keys = settings_keys;

// Notes which splash the launcher's choice starts. The runtime's library is
// taken as willing: whether it loads is known only by loading it.
class SplashNotes final : public SplashStarter {
public:
    explicit SplashNotes(SplashAccount& account) : account_(account) {}
    bool startNative(const Text&, const Text&) override {
        account_.kind = SplashKind::Native;
        return true;
    }
    void startOwn(const Text&, bool) override { account_.kind = SplashKind::Own; }

private:
    SplashAccount& account_;
};

class Explainer {
public:
    Explainer(const Text& launcherPath, const ArgumentList& arguments, ExplainPlatform& platform)
        : platform_(platform), context_{platform.settings, platform.files, platform.environment,
                                        platform.isNtPlatform} {
        account_.launcherPath = launcherPath;
        account_.commandLine = arguments;
    }

    LaunchAccount explain() {
        if (!readSettings() || !setUpSingleInstance()) return std::move(account_);
        if (account_.instance.first) {
            account_.outcome = LaunchOutcome::HandsOver;
            return std::move(account_);
        }
        if (account_.decoded.overrideWorkingDir) {
            account_.workingDirectory = overriddenWorkingDirectory(account_.launcherPath);
            if (account_.workingDirectory) platform_.changeDirectory(*account_.workingDirectory);
        }
        if (!chooseRuntime()) return std::move(account_);
        if (account_.runtime->needsPairLauncher) {
            account_.outcome = LaunchOutcome::RunsPairLauncher;
            return std::move(account_);
        }
        startJavaApplication();
        return std::move(account_);
    }

private:
    const Text& modulePath() const { return account_.launcherPath; }

    LayeredSettings layered() const {
        return layeredSettingsFor(platform_.settings, *account_.settings.file, account_.decoded.upgradeCode);
    }

    bool readSettings() {
        SettingsAccount& settings = account_.settings;
        settings.file = settingsFilePath(modulePath());
        const MainSettingsOutcome outcome = readMainSettings(modulePath(), context_, account_.decoded);
        if (!settings.file) return false;
        settings.fileFound = platform_.files.exists(*settings.file);
        settings.embeddedText = !platform_.settings.embeddedText(account_.decoded.upgradeCode).empty();
        settings.userFile = userSettingsFile(modulePath(), account_.decoded, context_);
        noteValues();
        if (outcome == MainSettingsOutcome::NoMainClass) account_.message = platform_.messages.text(IDS_NO_MAIN_CLASS);
        return outcome == MainSettingsOutcome::Read;
    }

    void noteValues() {
        SettingsAccount& settings = account_.settings;
        const auto file = platform_.settings.openFile(*settings.file);
        for (const SettingKey& key : keys::kKeysReadFromFile) {
            Text value = file->getString(Text(key.section), Text(key.key));
            const ValueOrigin origin = value.empty() ? ValueOrigin::Absent : ValueOrigin::File;
            settings.values.push_back({key, std::move(value), origin});
        }
        const LayeredSettings layeredSettings = layered();
        for (const SettingKey& key : keys::kKeysReadLayered) {
            const bool userFile = key.key == keys::kJrePath.key && settings.userFile && settings.userFile->inUse;
            LayeredValue value = layeredSettings.lookup(Text(key.section), Text(key.key));
            if (userFile) {
                value.value = account_.decoded.jrePath;
                value.origin = value.value.empty() ? ValueOrigin::Absent : ValueOrigin::File;
            }
            settings.values.push_back({key, std::move(value.value), value.origin, userFile});
        }
    }

    bool setUpSingleInstance() {
        InstanceAccount& instance = account_.instance;
        instance.configured = singleInstanceRequested(layered());
        if (!instance.configured) return true;
        instance.name = instanceName(modulePath());
        instance.first = platform_.findFirstInstance(instance.name);
        if (!instance.first) return true;
        std::array<unsigned char, instance_block::kSize> scratch{};
        instance.argumentsFit = writeHandOverArguments(InstanceBlockView(scratch), account_.commandLine);
        // A block that names no listener is left by a first instance that runs on its own.
        return instance.argumentsFit && instance.first->header.listenerThreadId != 0;
    }

    bool chooseRuntime() {
        const LaunchSettings& settings = account_.decoded;
        RuntimeAccount& runtime = account_.runtime.emplace();
        runtime.choice = ::chooseRuntime({modulePath(), settings.jrePath, settings.runtime, !settings.pairProduct.empty()},
                                         platform_.files, platform_.registry, &runtime.record);
        if (runtime.choice.jvmLibraryPath.empty()) {
            runtime.notFoundMessage = runtimeNotFoundMessage(settings.runtime, platform_.messages);
            account_.message = runtime.notFoundMessage;
            return false;
        }
        runtime.needsPairLauncher = needsPairLauncher(runtime.choice.source, runtime.choice.jvmLibraryPath,
                                                      !settings.pairProduct.empty(), platform_.isX86Library);
        return true;
    }

    void startJavaApplication() {
        VmAccount& vm = account_.vm.emplace();
        const Text& chosen = account_.runtime->choice.jvmLibraryPath;
        vm.jvmLibraryPath = ansiReadablePath(chosen, platform_.paths).value_or(chosen);
        const VmSettings vmSettings = readVmSettings(layered());
        VmOptionList options;
        prepareVmEnvironment(vmSettings, vm.jvmLibraryPath, modulePath(), platform_.environment, platform_.paths,
                             options);
        vm.jvmPathVariable = platform_.environment.get(Text(u"JL_JVM_PATH"));
        vm.jvmHomeVariable = platform_.environment.get(Text(u"JL_JVM_HOME"));
        vm.pathVariable = platform_.environment.get(Text(u"Path"));
        chooseSplash();

        ArgumentList arguments = account_.commandLine;
        const AssembledVmOptions assembled =
            assembleVmOptions(vmSettings, modulePath(),
                              {platform_.environment, platform_.files, platform_.memory, platform_.paths}, options,
                              arguments, &vm.record);
        vm.classPathFound = assembled.ok;
        if (!assembled.ok) {
            account_.message = assembled.unreadableClassPathEntry.empty()
                ? platform_.messages.text(IDS_NO_CLASS_PATH)
                : formatText(platform_.messages.text(IDS_PATH_NOT_IN_CODE_PAGE), {assembled.unreadableClassPathEntry});
            return;
        }
        account_.mainArguments = std::move(arguments);
        const VmOptionRecords records(options);
        for (const JavaVMOption& option : records.records()) {
            vm.options.push_back(fromAnsi(option.optionString));
        }
        vm.stackSize = assembled.mainThreadStackSize;
        vm.outputFile = assembled.outputFile;
        vm.errorFile = assembled.errorFile;
        account_.outcome = LaunchOutcome::StartsVm;
    }

    void chooseSplash() {
        SplashAccount& splash = account_.splash.emplace();
        splash.suppressed = hasNoSplashSwitch(account_.commandLine);
        if (splash.suppressed) return;
        splash.settings = readSplashSettings(*platform_.settings.openFile(*account_.settings.file));
        splash.nativeLibrary = nativeSplashLibraryPath(account_.vm->jvmLibraryPath, platform_.files);
        SplashNotes notes(splash);
        startChosenSplash(splash.settings, account_.vm->jvmLibraryPath, platform_.files, notes);
    }

    ExplainPlatform& platform_;
    SettingsContext context_;
    LaunchAccount account_;
};

} // namespace

LaunchAccount explainLaunch(const Text& launcherPath, const ArgumentList& arguments, ExplainPlatform& platform) {
    return Explainer(launcherPath, arguments, platform).explain();
}
