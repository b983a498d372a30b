#pragma once
// The settings step of the launch: what the launcher reads before it
// chooses a runtime, and the write-back of a runtime folder the user chose.

#include <optional>

#include "common/platform.h"
#include "launcher/launch_settings.h"
#include "launcher/settings_store.h"

struct SettingsContext {
    SettingsStore& store;
    const FileProbe& files;
    const Environment& environment;
    bool isNtPlatform;
};

// The settings of a launch, opened once: the file's product keys are read
// into the settings first, as its "Upgrade Code" selects the embedded text
// that lies under the file.
LayeredSettings openLaunchSettings(const SettingsStore& store, const Text& path, LaunchSettings& settings);

enum class MainSettingsOutcome { Read, NoMainClass };

// The keys the launch decides by, from settings opened by openLaunchSettings.
MainSettingsOutcome readMainSettings(const LayeredSettings& layered, const Text& modulePath,
                                     const SettingsContext& context, LaunchSettings& settings);

struct UserSettingsFile {
    Text path;
    bool inUse = false;  // it exists, so "JRE Path" is read from it alone
};

// The per-user settings file, where per-user settings apply (on the NT
// family, and not for a service); needs the product fields of the settings.
std::optional<UserSettingsFile> userSettingsFile(const Text& modulePath, const LaunchSettings& settings,
                                                 const SettingsContext& context);

// Stores the chosen runtime folder as "JRE Path" where this launcher and its
// paired launcher will find it. Nothing is written without a paired launcher.
void writeBackJrePath(const Text& folder, const Text& modulePath, const LaunchSettings& settings,
                      const SettingsContext& context);
