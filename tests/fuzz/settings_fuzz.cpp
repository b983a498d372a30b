// Key decoding and layering: the settings file, the embedded text under it
// and a per-user file, each from the input, read as the launcher reads them.

#include <string>
#include <vector>

#include "fuzz_support.h"
#include "launcher/main_settings.h"
#include "launcher/restart_rules.h"
#include "launcher/settings_keys.h"
#include "launcher/settings_paths.h"
#include "launcher/single_instance.h"
#include "launcher/vm_settings_reader.h"

namespace {

// A value the file gives wins; else the embedded one, extended by the file's "<section>+".
void checkLayering(const LayeredSettings& layered, const SettingsSource& file, const IniTextDocument& embedded,
                   const Text& section, const Text& key) {
    const Text result = layered.getString(section, key);
    const Text fileValue = file.getString(section, key);
    if (!fileValue.empty()) {
        FUZZ_CHECK(result == fileValue);
        return;
    }
    const Text embeddedValue = embedded.getString(section, key);
    const Text extension = file.getString(section + u'+', key);
    FUZZ_CHECK(result.startsWith(embeddedValue.units()) && result.endsWith(extension.units()));
    FUZZ_CHECK(result.length() <= embeddedValue.length() + 1 + extension.length());
}

void checkEveryKeyNamed(const LayeredSettings& layered, const SettingsSource& file, const IniTextDocument& named,
                        const IniTextDocument& embedded) {
    for (const auto& section : named.sections()) {
        // "<section>+" names the section it extends.
        const Text& name = section.name;
        const Text extended = name.endsWith(u"+") ? name.left(name.length() - 1) : name;
        for (const auto& entry : section.entries) checkLayering(layered, file, embedded, extended, entry.first);
    }
}

// Every code read is one that asks for a restart, and reads back as itself;
// a chain reads back as written.
void checkRestartCodes(const RestartExitCodes& decoded) {
    for (const std::int32_t code : decoded.codes) {
        FUZZ_CHECK(code != 0);
        FUZZ_CHECK(decodeRestartExitCodes(Text::fromUtf8(std::to_string(code))).codes == std::vector{code});
        const RestartChain chain{static_cast<std::uint32_t>(code), {static_cast<std::uint64_t>(code) * 7}};
        const RestartChain again = parseRestartChain(formatRestartChain(chain));
        FUZZ_CHECK(again.previousProcessId == chain.previousProcessId && again.restartTimes == chain.restartTimes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TextList parts = inputTexts({data, size}, 4);
    const Text module = parts[3].empty() ? Text(u"C:\\Apps\\tool.exe") : parts[3];
    const IniTextDocument fileDocument = parseIniText(parts[0]);
    const IniTextDocument embedded = parseIniText(parts[1]);

    FakeSettingsStore store;
    FakeFiles files;
    FakeEnvironment environment;
    environment.variables[u"APPDATA"] = Text(u"C:\\Roaming");
    const auto path = settingsFilePath(module);
    if (path) putDocument(store, *path, fileDocument);
    if (!path) return 0;
    const auto file = store.openFile(*path);
    store.embedded = parts[1];
    store.upgradeCodeForEmbedded = file->read(settings_keys::kUpgradeCode);
    const Text userFile = userSettingsPath(module, environment.get(Text(u"APPDATA")),
                                           {file->read(settings_keys::kProductName), file->read(settings_keys::kProductCode)});
    if (!parts[2].empty() && userFile != *path) {
        files.add(userFile);
        putDocument(store, userFile, parseIniText(parts[2]));
    }

    LaunchSettings settings;
    const SettingsContext context{store, files, environment, true};
    const LayeredSettings layered = openLaunchSettings(store, *path, settings);
    const auto outcome = readMainSettings(layered, module, context, settings);
    FUZZ_CHECK(settings.upgradeCode == store.upgradeCodeForEmbedded);  // never from the embedded text
    if (outcome == MainSettingsOutcome::Read) FUZZ_CHECK(!settings.mainClass.empty() && !settings.mainClass.contains(u'.'));

    checkEveryKeyNamed(layered, *file, fileDocument, embedded);
    checkEveryKeyNamed(layered, *file, embedded, embedded);
    readVmSettings(layered);
    singleInstanceRequested(layered);
    checkRestartCodes(settings.restartExitCodes);
    writeBackJrePath(parts[2], module, settings, context);
    return 0;
}
