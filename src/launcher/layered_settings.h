#pragma once
// The settings as the launcher reads most keys: the embedded text first, the
// settings file over it, and the file's "<section>+" sections extending it.

#include <memory>

#include "launcher/ini_text.h"

class LayeredSettings final : public SettingsSource {
public:
    LayeredSettings(IniTextDocument embedded, std::unique_ptr<SettingsSource> file)
        : embedded_(std::move(embedded)), file_(std::move(file)) {}

    Text getString(const Text& section, const Text& key) const override;

private:
    IniTextDocument embedded_;
    std::unique_ptr<SettingsSource> file_;
};
