#pragma once

#include <windows.h>

#include "launcher/settings_store.h"

// One settings file read through GetPrivateProfileStringW, without a length limit.
class IniFileSource final : public SettingsSource {
public:
    explicit IniFileSource(Text path) : path_(std::move(path)) {}
    Text getString(const Text& section, const Text& key) const override;

private:
    Text path_;
};

class WindowsSettingsStore final : public SettingsStore {
public:
    WindowsSettingsStore() = default;
    // The embedded text is read from this module (one loaded as a data file
    // will do) rather than from this process's executable.
    explicit WindowsSettingsStore(HMODULE embeddedTextModule) : embeddedTextModule_(embeddedTextModule) {}

    std::unique_ptr<SettingsSource> openFile(const Text& path) const override;
    Text embeddedText(const Text& upgradeCode) const override;
    void writeValue(const Text& path, const Text& section, const Text& key, const Text& value) override;
    void createFolder(const Text& path) override;

private:
    HMODULE embeddedTextModule_ = nullptr;
};
