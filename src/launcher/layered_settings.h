#pragma once
// The settings as the launcher reads most keys: the embedded text first, the
// settings file over it, and the file's "<section>+" sections extending it.

#include <memory>

#include "launcher/ini_text.h"

// Which layers gave a value.
enum class ValueOrigin {
    Absent,
    Embedded,
    File,
    Extension,          // the "+" section alone, after one space
    EmbeddedExtended,   // the embedded value and the "+" section's
};

struct LayeredValue {
    Text value;
    ValueOrigin origin = ValueOrigin::Absent;
};

class LayeredSettings final : public SettingsSource {
public:
    LayeredSettings(IniTextDocument embedded, std::unique_ptr<SettingsSource> file)
        : embedded_(std::move(embedded)), file_(std::move(file)) {}

    Text getString(const Text& section, const Text& key) const override { return lookup(section, key).value; }
    // The value with the layers it came from, for tools that explain a launch.
    LayeredValue lookup(const Text& section, const Text& key) const;
    // The settings file alone, for the keys read from it without the layers.
    const SettingsSource& file() const { return *file_; }

private:
    IniTextDocument embedded_;
    std::unique_ptr<SettingsSource> file_;
};
