#include "launcher/vm_settings_reader.h"

VmSettings readVmSettings(const SettingsSource& layered) {
    namespace keys = settings_keys;
    VmSettings settings;
    settings.libraryPath = layered.read(keys::kLibraryPath);
    settings.systemPath = layered.read(keys::kSystemPath);
    settings.classPath = layered.read(keys::kClassPath);
    settings.modulePath = layered.read(keys::kModulePath);
    settings.mainJar = layered.read(keys::kMainJar);
    settings.mainModule = layered.read(keys::kMainModule);
    settings.embeddedJar = layered.read(keys::kEmbeddedJar);
    settings.vmParameters = layered.read(keys::kVmParameters);
    settings.outputFile = layered.read(keys::kOutputFile);
    settings.errorFile = layered.read(keys::kErrorFile);
    settings.extraArguments = layered.read(keys::kCmd);
    return settings;
}
