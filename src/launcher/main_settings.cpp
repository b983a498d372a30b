#include "launcher/main_settings.h"

#include "launcher/settings_decoding.h"
#include "launcher/settings_keys.h"
#include "launcher/settings_paths.h"

namespace keys = settings_keys;

namespace {

bool usesPerUserSettings(const LaunchSettings& settings, const SettingsContext& context) {
    return context.isNtPlatform && !settings.isService;
}

Text perUserPath(const Text& executablePath, const LaunchSettings& settings, const SettingsContext& context,
                 bool createFolders) {
    auto makeFolder = [&](const Text& folder) { context.store.createFolder(folder); };
    return userSettingsPath(executablePath, context.environment.get(Text(u"APPDATA")),
                            {settings.productName, settings.productCode},
                            createFolders ? std::function<void(const Text&)>(makeFolder) : nullptr);
}

Text readJrePath(const Text& modulePath, const LaunchSettings& settings, const SettingsContext& context,
                 const SettingsSource& layered) {
    // Once the user has chosen a runtime, that choice wins, even when empty.
    const auto userFile = userSettingsFile(modulePath, settings, context);
    if (userFile && userFile->inUse) return context.store.openFile(userFile->path)->read(keys::kJrePath);
    return layered.read(keys::kJrePath);
}

} // namespace

std::optional<UserSettingsFile> userSettingsFile(const Text& modulePath, const LaunchSettings& settings,
                                                 const SettingsContext& context) {
    if (!usesPerUserSettings(settings, context)) return std::nullopt;
    Text path = perUserPath(modulePath, settings, context, false);
    const bool exists = context.files.exists(path);
    return UserSettingsFile{std::move(path), exists};
}

LayeredSettings openLaunchSettings(const SettingsStore& store, const Text& path, LaunchSettings& settings) {
    auto file = store.openFile(path);
    settings.productCode = file->read(keys::kProductCode);
    settings.upgradeCode = file->read(keys::kUpgradeCode);
    settings.productName = file->read(keys::kProductName);
    return LayeredSettings(parseIniText(store.embeddedText(settings.upgradeCode)), std::move(file));
}

MainSettingsOutcome readMainSettings(const LayeredSettings& layered, const Text& modulePath,
                                     const SettingsContext& context, LaunchSettings& settings) {
    auto& runtime = settings.runtime;
    runtime.minimumVersion = decodeMinimumVersion(layered.read(keys::kMinimumVersion));
    runtime.maximumVersion = decodeMaximumVersion(layered.read(keys::kMaximumVersion));
    settings.isService = decodeIsService(layered.read(keys::kApplicationType));
    runtime.preferredVersions = decodePreferredVersions(layered.read(keys::kPreferredVersions));
    settings.jrePath = readJrePath(modulePath, settings, context, layered);
    runtime.jvmType = decodeJvmType(layered.read(keys::kJvmType));
    decodeJvmSource(layered.read(keys::kJvmSource), runtime);
    decodeVmProvider(layered.read(keys::kVmProvider), runtime);
    runtime.classicKeysOnly = decodeClassicKeysOnly(layered.read(keys::kRegistryKeys));
    runtime.environmentRuntimes = decodeEnvironmentRuntimes(layered.read(keys::kEnvironmentRuntimes));
    // Read even when the launch ends below: the box that says so is a window of the application.
    settings.appUserModelId = layered.read(keys::kAppUserModelId);

    // A main jar's manifest or a main module's descriptor can name the class instead.
    const Text mainClass = layered.read(keys::kMainClass);
    if (mainClass.empty() && layered.read(keys::kMainJar).empty() && layered.read(keys::kMainModule).empty()) {
        return MainSettingsOutcome::NoMainClass;
    }
    settings.mainClass = decodeMainClass(mainClass);

    settings.failureCheck = isYesAnyCase(layered.read(keys::kFailureCheck));
    settings.overrideWorkingDir = isYesAnyCase(layered.read(keys::kOverrideWorkingDir));
    settings.pairProduct = layered.read(keys::kPairProduct);
    settings.pairReturnCode = isYesAnyCase(layered.read(keys::kPairReturnCode));
    settings.restartExitCodes = decodeRestartExitCodes(layered.read(keys::kRestartExitCodes));
    settings.serviceStop =
        decodeServiceStop(layered.read(keys::kServiceStopMethod), layered.read(keys::kServiceStopTimeout));
    return MainSettingsOutcome::Read;
}

void writeBackJrePath(const Text& folder, const Text& modulePath, const LaunchSettings& settings,
                      const SettingsContext& context) {
    const Text& pair = settings.pairProduct;
    if (pair.empty() || !pair.contains(u'.')) return;

    const Text section(keys::kJrePath.section);
    const Text key(keys::kJrePath.key);
    if (usesPerUserSettings(settings, context)) {
        context.store.writeValue(perUserPath(modulePath, settings, context, true), section, key, folder);
        context.store.writeValue(perUserPath(pair, settings, context, true), section, key, folder);
    } else if (const auto pairSettings = settingsFilePath(pair)) {
        context.store.writeValue(*pairSettings, section, key, folder);
    }
}
