#pragma once
// The settings VM hosting uses, read when the run phase needs them.

#include "launcher/settings_source.h"
#include "vm/vm_settings.h"

VmSettings readVmSettings(const SettingsSource& layered);
