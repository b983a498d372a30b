#include "runtime/registry_win32.h"

#include <windows.h>

#include <vector>

#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

namespace {

// Names longer than this end the enumeration of their key.
constexpr DWORD kNameBufferLength = 520;

UniqueRegistryKey openKey(const Text& key, RegistryView view) {
    const REGSAM access = KEY_READ | (view == RegistryView::Bits32 ? KEY_WOW64_32KEY : 0);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, access, &opened) != ERROR_SUCCESS) return {};
    return UniqueRegistryKey(opened);
}

} // namespace

std::optional<TextList> WindowsRegistry::subkeyNames(const Text& key, RegistryView view) const {
    const UniqueRegistryKey opened = openKey(key, view);
    if (!opened) return std::nullopt;
    TextList names;
    wchar_t name[kNameBufferLength];
    for (DWORD index = 0;; ++index) {
        DWORD length = kNameBufferLength;
        if (RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.push_back(fromWide(name, length));
    }
    return names;
}

std::optional<Text> WindowsRegistry::stringValue(const Text& key, const Text& name, RegistryView view) const {
    const UniqueRegistryKey opened = openKey(key, view);
    if (!opened) return std::nullopt;
    std::vector<wchar_t> units;
    LSTATUS status = ERROR_MORE_DATA;
    // A folder path usually fits at the first call; a longer value, or one that
    // grew in the meantime, is read again with the size the call reported.
    DWORD bytes = MAX_PATH * sizeof(wchar_t);
    while (status == ERROR_MORE_DATA) {
        units.resize(bytes / sizeof(wchar_t) + 1);
        bytes = static_cast<DWORD>(units.size() * sizeof(wchar_t));
        status = RegQueryValueExW(opened.get(), wide(name), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(units.data()), &bytes);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    units.resize(bytes / sizeof(wchar_t));
    std::size_t length = 0;
    while (length < units.size() && units[length] != L'\0') ++length;
    return fromWide(units.data(), length);
}
