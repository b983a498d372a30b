#include "launcher/settings_store_win32.h"

#include <string>

#include "common/growing_buffer_win32.h"
#include "common/resource_bytes_win32.h"
#include "common/text_ids.h"
#include "common/wide_win32.h"
#include "launcher/embedded_settings.h"
#include "launcher/profile_sections.h"

namespace {

// The profile functions answer the buffer's size less one (less two for a
// list) when the text was cut to fit.
BufferFill profileAnswer(DWORD length, DWORD cutLength) {
    return length == cutLength ? BufferFill{BufferFill::Kind::Grow} : BufferFill{BufferFill::Kind::Fits, length};
}

TextList sectionNames(const Text& path) {
    const auto list = textOfGrowingBuffer(1024, [&](wchar_t* buffer, DWORD size) {
        return profileAnswer(GetPrivateProfileSectionNamesW(buffer, size, wide(path)), size - 2);
    });
    TextList names;
    for (std::size_t start = 0; list && start < list->size();) {
        const std::size_t end = std::min(list->find(L'\0', start), list->size());
        names.push_back(fromWide(list->c_str() + start, end - start));
        start = end + 1;
    }
    return names;
}

} // namespace

Text IniFileSource::getString(const Text& section, const Text& key) const {
    if (!sections_) sections_ = sectionNames(path_);
    if (!mayHoldSection(*sections_, section)) return {};
    const auto value = textOfGrowingBuffer(256, [&](wchar_t* buffer, DWORD size) {
        const DWORD length = GetPrivateProfileStringW(wide(section), wide(key), L"", buffer, size, wide(path_));
        return profileAnswer(length, size - 1);
    });
    return value ? fromWide(value->c_str(), value->size()) : Text();
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
