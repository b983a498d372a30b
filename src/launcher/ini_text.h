#pragma once
// A settings text held in memory (the embedded layer). Sections and keys are
// kept as they come, duplicates included; lookups compare exactly and return
// the first match.

#include <utility>
#include <vector>

#include "launcher/settings_source.h"

class IniTextDocument final : public SettingsSource {
public:
    struct Section {
        Text name;
        std::vector<std::pair<Text, Text>> entries;
    };

    std::vector<Section>& sections() { return sections_; }
    const std::vector<Section>& sections() const { return sections_; }

    // The value of the first matching key in the first matching section, or null.
    const Text* find(const Text& section, const Text& key) const;
    Text getString(const Text& section, const Text& key) const override;

private:
    std::vector<Section> sections_;
};

IniTextDocument parseIniText(const Text& text);
