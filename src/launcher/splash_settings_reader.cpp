#include "launcher/splash_settings_reader.h"

SplashSettings readSplashSettings(const SettingsSource& file) {
    namespace keys = settings_keys;
    return {file.read(keys::kSplashScreen), file.read(keys::kSplashShadow), file.read(keys::kPreferNativeSplash)};
}
