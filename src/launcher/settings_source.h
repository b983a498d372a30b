#pragma once
// Read access to the settings by section and key. An absent key and an empty
// value both give the empty Text.

#include "common/text.h"
#include "launcher/settings_keys.h"

class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual Text getString(const Text& section, const Text& key) const = 0;
    // One of the launcher's own keys.
    Text read(const SettingKey& key) const { return getString(Text(key.section), Text(key.key)); }
};
