#include "launcher/settings_store_win32.h"

#include <string>

#include "common/resource_bytes_win32.h"
#include "common/text_ids.h"
#include "common/wide_win32.h"
#include "launcher/embedded_settings.h"

Text IniFileSource::getString(const Text& section, const Text& key) const {
    std::wstring buffer(256, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length =
            GetPrivateProfileStringW(wide(section), wide(key), L"", buffer.data(), size, wide(path_));
        if (length != size - 1) return fromWide(buffer.c_str(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::unique_ptr<SettingsSource> WindowsSettingsStore::openFile(const Text& path) const {
    return std::make_unique<IniFileSource>(path);
}

Text WindowsSettingsStore::embeddedText(const Text& upgradeCode) const {
    // jlaunch-embed writes the text language neutral.
    const HMODULE module = embeddedTextModule_ ? embeddedTextModule_ : GetModuleHandleW(nullptr);
    const auto block = resourceBytes(module, L"" EMBEDDED_SETTINGS_TYPE,
                                     MAKEINTRESOURCEW(EMBEDDED_SETTINGS_NAME), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    return decipherSettings(block, upgradeCode).value_or(Text());
}

void WindowsSettingsStore::writeValue(const Text& path, const Text& section, const Text& key, const Text& value) {
    WritePrivateProfileStringW(wide(section), wide(key), wide(value), wide(path));
}

void WindowsSettingsStore::createFolder(const Text& path) { CreateDirectoryW(wide(path), nullptr); }
