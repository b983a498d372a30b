#pragma once

#include <windows.h>

#include <optional>

#include "launcher/settings_store.h"

// One settings file read through GetPrivateProfileStringW, without a length
// limit. The file's section names are read once, at the first key.
class IniFileSource final : public SettingsSource {
public:
    explicit IniFileSource(Text path) : path_(std::move(path)) {}
    Text getString(const Text& section, const Text& key) const override;

private:
    Text path_;
    mutable std::optional<TextList> sections_;
};

class WindowsSettingsStore final : public SettingsStore {
public:
    WindowsSettingsStore() = default;
    // The embedded text is read from this module (one loaded as a data file
    // will do) rather than from this process's executable.
    explicit WindowsSettingsStore(HMODULE embeddedTextModule) : embeddedTextModule_(embeddedTextModule) {}

    std::unique_ptr<SettingsSource> openFile(const Text& path) const override;
    // Deciphered once: the executable's text does not change while it runs.
    Text embeddedText(const Text& upgradeCode) const override;
    void writeValue(const Text& path, const Text& section, const Text& key, const Text& value) override;
    void createFolder(const Text& path) override;

private:
    struct Embedded {
        Text upgradeCode;
        Text text;
    };
    HMODULE embeddedTextModule_ = nullptr;
    mutable std::optional<Embedded> embedded_;
};
