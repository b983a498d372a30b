#include "common/long_path_win32.h"

#include "common/wide_win32.h"

namespace {

constexpr std::u16string_view kPrefix = u"\\\\?\\";
constexpr std::u16string_view kUncPrefix = u"\\\\?\\UNC\\";

// The prefix turns off the system's own clean-up of the path ("..", "/"),
// so that is done first.
std::wstring fullPath(const Text& path) {
    std::wstring full(path.length() + 1, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(wide(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) return full.substr(0, length);
        full.resize(length);
    }
}

} // namespace

std::wstring fileSystemPath(const Text& path) {
    const std::wstring asGiven(wide(path), path.length());
    if (path.length() < MAX_PATH || path.startsWith(kPrefix)) return asGiven;
    const std::wstring full = fullPath(path);
    if (full.size() > 2 && full[1] == L':') return L"\\\\?\\" + full;
    if (full.size() > 2 && full[0] == L'\\' && full[1] == L'\\') return L"\\\\?\\UNC\\" + full.substr(2);
    return asGiven;
}

Text withoutExtendedPrefix(const Text& path) {
    if (path.startsWith(kUncPrefix)) return Text(u"\\\\") + path.mid(kUncPrefix.size());
    if (path.startsWith(kPrefix)) return path.mid(kPrefix.size());
    return path;
}
