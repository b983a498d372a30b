#pragma once
// The splash settings, read from the settings file alone when the splash starts.

#include "launcher/settings_source.h"
#include "splash/splash_settings.h"

SplashSettings readSplashSettings(const SettingsSource& file);
