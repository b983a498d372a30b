#include "common/long_path_win32.h"

#include "common/growing_buffer_win32.h"
#include "common/wide_win32.h"

namespace {

constexpr std::u16string_view kPrefix = u"\\\\?\\";
constexpr std::u16string_view kUncPrefix = u"\\\\?\\UNC\\";

} // namespace

std::optional<std::wstring> fullPathName(const Text& path) {
    return textOfGrowingBuffer(path.length() + 1, [&](wchar_t* buffer, DWORD size) {
        return lengthOrSizeNeeded(GetFullPathNameW(wide(path), size, buffer, nullptr), size);
    });
}

std::wstring fileSystemPath(const Text& path) {
    const std::wstring asGiven(wide(path), path.length());
    if (path.length() < MAX_PATH || path.startsWith(kPrefix)) return asGiven;
    // The prefix turns off the system's own clean-up of the path ("..", "/"),
    // so that is done first.
    const std::wstring full = fullPathName(path).value_or(std::wstring());
    if (full.size() > 2 && full[1] == L':') return L"\\\\?\\" + full;
    if (full.size() > 2 && full[0] == L'\\' && full[1] == L'\\') return L"\\\\?\\UNC\\" + full.substr(2);
    return asGiven;
}

Text withoutExtendedPrefix(const Text& path) {
    if (path.startsWith(kUncPrefix)) return Text(u"\\\\") + path.mid(kUncPrefix.size());
    if (path.startsWith(kPrefix)) return path.mid(kPrefix.size());
    return path;
}
