#pragma once
// Where the settings files are.

#include <functional>
#include <optional>

#include "common/text.h"

// The executable's path up to and including its last '.', then "ini". The
// last '.' of the whole path counts, even in a folder name; none: no file.
std::optional<Text> settingsFilePath(const Text& executablePath);

struct ProductIdentity {
    Text name;
    Text code;
};

// APPDATA\<product name without \?"|><:/*>\<product code>\<exe name>.ini.
// makeFolder, when given, is called for the product-name folder and then
// for the product-code folder; its failures are the caller's to ignore.
Text userSettingsPath(const Text& executablePath, const Text& appData, const ProductIdentity& product,
                      const std::function<void(const Text&)>& makeFolder = {});
