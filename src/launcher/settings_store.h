#pragma once
// Where settings are read from and written to: the private-profile files and
// the settings text embedded in the executable.

#include <memory>

#include "launcher/layered_settings.h"

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::unique_ptr<SettingsSource> openFile(const Text& path) const = 0;
    // The embedded settings text (lines separated by CR LF); empty when none.
    virtual Text embeddedText(const Text& upgradeCode) const = 0;
    // Write failures are ignored by every caller, so none are reported.
    virtual void writeValue(const Text& path, const Text& section, const Text& key, const Text& value) = 0;
    virtual void createFolder(const Text& path) = 0;
};

