#include "launcher/settings_store_win32.h"

#include <string>

#include "common/resource_bytes_win32.h"
#include "common/text_ids.h"
#include "common/wide_win32.h"
#include "launcher/embedded_settings.h"
#include "launcher/profile_sections.h"

namespace {

TextList sectionNames(const Text& path) {
    std::wstring buffer(1024, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), size, wide(path));
        if (length != size - 2) {
            TextList names;
            for (std::size_t start = 0; start < length;) {
                const std::size_t end = buffer.find(L'\0', start);
                names.push_back(fromWide(buffer.c_str() + start, end - start));
                start = end + 1;
            }
            return names;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

Text IniFileSource::getString(const Text& section, const Text& key) const {
    if (!sections_) sections_ = sectionNames(path_);
    if (!mayHoldSection(*sections_, section)) return {};
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
    if (embedded_ && embedded_->upgradeCode == upgradeCode) return embedded_->text;
    // jlaunch-embed writes the text language neutral.
    const HMODULE module = embeddedTextModule_ ? embeddedTextModule_ : GetModuleHandleW(nullptr);
    const auto block = resourceBytes(module, L"" EMBEDDED_SETTINGS_TYPE,
                                     MAKEINTRESOURCEW(EMBEDDED_SETTINGS_NAME), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    embedded_ = Embedded{upgradeCode, decipherSettings(block, upgradeCode).value_or(Text())};
    return embedded_->text;
}

void WindowsSettingsStore::writeValue(const Text& path, const Text& section, const Text& key, const Text& value) {
    WritePrivateProfileStringW(wide(section), wide(key), wide(value), wide(path));
}

void WindowsSettingsStore::createFolder(const Text& path) { CreateDirectoryW(wide(path), nullptr); }
