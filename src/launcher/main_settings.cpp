#include "launcher/main_settings.h"

#include "launcher/settings_decoding.h"
#include "launcher/settings_keys.h"
#include "launcher/settings_paths.h"

namespace keys = settings_keys;

namespace {

Text read(const SettingsSource& source, const SettingKey& key) {
    return source.getString(Text(key.section), Text(key.key));
}

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
    if (userFile && userFile->inUse) return read(*context.store.openFile(userFile->path), keys::kJrePath);
    return read(layered, keys::kJrePath);
}

} // namespace

std::optional<UserSettingsFile> userSettingsFile(const Text& modulePath, const LaunchSettings& settings,
                                                 const SettingsContext& context) {
    if (!usesPerUserSettings(settings, context)) return std::nullopt;
    Text path = perUserPath(modulePath, settings, context, false);
    const bool exists = context.files.exists(path);
    return UserSettingsFile{std::move(path), exists};
}

MainSettingsOutcome readMainSettings(const Text& modulePath, const SettingsContext& context,
                                     LaunchSettings& settings) {
    const auto path = settingsFilePath(modulePath);
    if (!path) return MainSettingsOutcome::NoSettingsFile;

    const auto file = context.store.openFile(*path);
    settings.productCode = read(*file, keys::kProductCode);
    settings.upgradeCode = read(*file, keys::kUpgradeCode);
    settings.productName = read(*file, keys::kProductName);

    const LayeredSettings layered = layeredSettingsFor(context.store, *path, settings.upgradeCode);
    auto& runtime = settings.runtime;
    runtime.minimumVersion = decodeMinimumVersion(read(layered, keys::kMinimumVersion));
    runtime.maximumVersion = decodeMaximumVersion(read(layered, keys::kMaximumVersion));
    settings.isService = decodeIsService(read(layered, keys::kApplicationType));
    runtime.preferredVersions = decodePreferredVersions(read(layered, keys::kPreferredVersions));
    settings.jrePath = readJrePath(modulePath, settings, context, layered);
    runtime.jvmType = decodeJvmType(read(layered, keys::kJvmType));
    decodeJvmSource(read(layered, keys::kJvmSource), runtime);
    decodeVmProvider(read(layered, keys::kVmProvider), runtime);
    runtime.classicKeysOnly = decodeClassicKeysOnly(read(layered, keys::kRegistryKeys));

    const Text mainClass = read(layered, keys::kMainClass);
    if (mainClass.empty()) return MainSettingsOutcome::NoMainClass;
    settings.mainClass = decodeMainClass(mainClass);

    settings.failureCheck = isYesAnyCase(read(layered, keys::kFailureCheck));
    settings.overrideWorkingDir = isYesAnyCase(read(layered, keys::kOverrideWorkingDir));
    settings.systemPath = read(layered, keys::kSystemPath);
    settings.libraryPath = read(layered, keys::kLibraryPath);
    settings.pairProduct = read(layered, keys::kPairProduct);
    settings.pairReturnCode = isYesAnyCase(read(layered, keys::kPairReturnCode));
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
