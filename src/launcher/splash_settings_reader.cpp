#include "launcher/splash_settings_reader.h"

#include "launcher/settings_keys.h"

SplashSettings readSplashSettings(const SettingsSource& file) {
    auto read = [&](const SettingKey& key) { return file.getString(Text(key.section), Text(key.key)); };
    return {read(settings_keys::kSplashScreen), read(settings_keys::kSplashShadow),
            read(settings_keys::kPreferNativeSplash)};
}
