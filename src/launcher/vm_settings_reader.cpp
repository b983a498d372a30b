#include "launcher/vm_settings_reader.h"

#include "launcher/settings_keys.h"

VmSettings readVmSettings(const SettingsSource& layered) {
    namespace keys = settings_keys;
    auto read = [&](const SettingKey& key) { return layered.getString(Text(key.section), Text(key.key)); };
    VmSettings settings;
    settings.libraryPath = read(keys::kLibraryPath);
    settings.systemPath = read(keys::kSystemPath);
    settings.classPath = read(keys::kClassPath);
    settings.embeddedJar = read(keys::kEmbeddedJar);
    settings.vmParameters = read(keys::kVmParameters);
    settings.outputFile = read(keys::kOutputFile);
    settings.errorFile = read(keys::kErrorFile);
    settings.extraArguments = read(keys::kCmd);
    return settings;
}
