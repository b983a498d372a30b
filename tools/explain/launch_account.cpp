#include "explain/launch_account.h"

#include "explain/explaining_host.h"
#include "launcher/launch_plan.h"

namespace {

namespace keys = settings_keys;

void noteValues(const LayeredSettings& layered, const LaunchAccount& account, SettingsAccount& settings) {
    for (const SettingKey& key : keys::kKeysReadFromFile) {
        Text value = layered.file().read(key);
        const ValueOrigin origin = value.empty() ? ValueOrigin::Absent : ValueOrigin::File;
        settings.values.push_back({key, std::move(value), origin});
    }
    for (const SettingKey& key : keys::kKeysReadLayered) {
        const bool userFile = key.key == keys::kJrePath.key && settings.userFile && settings.userFile->inUse;
        LayeredValue value = layered.lookup(Text(key.section), Text(key.key));
        if (userFile) {
            value.value = account.decoded.jrePath;
            value.origin = value.value.empty() ? ValueOrigin::Absent : ValueOrigin::File;
        }
        settings.values.push_back({key, std::move(value.value), value.origin, userFile});
    }
}

void noteSettings(const LaunchPlan& plan, const ExplainPlatform& platform, LaunchAccount& account) {
    SettingsAccount& settings = account.settings;
    settings.file = plan.settingsFile();
    const LayeredSettings* layered = plan.layeredSettings();
    if (!settings.file || !layered) return;
    settings.fileFound = platform.files.exists(*settings.file);
    settings.embeddedText = !platform.settings.embeddedText(account.decoded.upgradeCode).empty();
    const SettingsContext context{platform.settings, platform.files, platform.environment, platform.isNtPlatform};
    settings.userFile = userSettingsFile(plan.modulePath(), account.decoded, context);
    noteValues(*layered, account, settings);
}

void noteRuntime(const LaunchPlan& plan, const LaunchRecord& record, LaunchAccount& account) {
    if (record.runtime.sources.empty()) return;
    RuntimeAccount& runtime = account.runtime ? *account.runtime : account.runtime.emplace();
    runtime.record = record.runtime;
    runtime.jvmLibraryPath = plan.jvmLibraryPath();
    runtime.needsPairLauncher = plan.needsPairLauncher();
}

void noteSplash(const LaunchPlan& plan, const LaunchRecord& record, SplashKind kind, const FileProbe& files,
                LaunchAccount& account) {
    SplashAccount& splash = account.splash.emplace();
    splash.suppressed = hasNoSplashSwitch(account.commandLine);
    if (splash.suppressed) return;
    splash.settings = record.splash.value_or(SplashSettings{});
    splash.kind = kind;
    splash.nativeLibrary = nativeSplashLibraryPath(plan.jvmLibraryPath(), files);
}

// The options of the mode, picked from the VM's: the class path a jar leads,
// or the module path and main module.
TextList modeOptions(LaunchMode mode, const TextList& options) {
    TextList picked;
    for (const Text& option : options) {
        const bool ofJar = mode == LaunchMode::Jar && option.startsWith(u"-Djava.class.path=");
        const bool ofModule = mode == LaunchMode::Module &&
                              (option.startsWith(u"--module-path=") || option.startsWith(u"-Djdk.module.main="));
        if (ofJar || ofModule) picked.push_back(option);
    }
    return picked;
}

void noteMain(const LaunchRecord& record, const ExplainingHost& host, LaunchAccount& account) {
    if (!record.mainSource) return;
    MainAccount& main = account.main.emplace();
    main.source = *record.mainSource;
    if (!host.mainLookup()) return;
    main.lookup = *host.mainLookup();
    if (account.vm) main.modeOptions = modeOptions(main.source.source.mode, account.vm->options);
}

} // namespace

LaunchAccount explainLaunch(const Text& launcherPath, const ArgumentList& arguments, ExplainPlatform& platform) {
    ExplainingHost host(launcherPath, arguments, platform);
    LaunchRecord record;
    LaunchPlan plan(host, &record);
    if (plan.initialise()) plan.run();

    LaunchAccount& account = host.account();
    account.decoded = plan.settings();
    account.consoleLauncher = platform.consoleLauncher;
    noteSettings(plan, platform, account);
    noteRuntime(plan, record, account);
    if (account.vm) {
        account.vm->record = record.vmOptions;
        noteSplash(plan, record, host.splashKind(), platform.files, account);
    }
    noteMain(record, host, account);
    return std::move(account);
}
