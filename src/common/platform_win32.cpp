#include "common/platform_win32.h"

#include <algorithm>
#include <string>

#include "common/growing_buffer_win32.h"
#include "common/long_path_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

bool WindowsFileProbe::exists(const Text& path) const {
    WIN32_FIND_DATAW data;
    return static_cast<bool>(UniqueFindHandle(FindFirstFileW(fileSystemPath(path).c_str(), &data)));
}

TextList WindowsFileProbe::findNames(const Text& pattern) const {
    TextList names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(fileSystemPath(pattern).c_str(), &data));
    if (!find) return names;
    do {
        names.push_back(fromWide(data.cFileName));
    } while (FindNextFileW(find.get(), &data));
    return names;
}

namespace {

UniqueFileHandle openForReading(const Text& path) {
    return UniqueFileHandle(CreateFileW(fileSystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

std::optional<std::string> WindowsFileProbe::readStart(const Text& path, std::size_t maxBytes) const {
    const UniqueFileHandle file = openForReading(path);
    if (!file) return std::nullopt;
    std::string bytes(maxBytes, '\0');
    std::size_t total = 0;
    DWORD read = 0;
    while (total < maxBytes &&
           ReadFile(file.get(), bytes.data() + total, static_cast<DWORD>(std::min<std::size_t>(maxBytes - total, 1 << 20)),
                    &read, nullptr) &&
           read > 0) {
        total += read;
    }
    bytes.resize(total);
    return bytes;
}

std::optional<Text> WindowsFileProbe::finalPath(const Text& path) const {
    const UniqueFileHandle file = openForReading(path);
    if (!file) return std::nullopt;
    const auto found = textOfGrowingBuffer(MAX_PATH, [&](wchar_t* buffer, DWORD size) {
        return lengthOrSizeNeeded(GetFinalPathNameByHandleW(file.get(), buffer, size, FILE_NAME_NORMALIZED), size);
    });
    if (!found) return std::nullopt;
    return withoutExtendedPrefix(fromWide(found->c_str(), found->size()));
}

Text WindowsEnvironment::get(const Text& name) const {
    const auto value = textOfGrowingBuffer(256, [&](wchar_t* buffer, DWORD size) {
        return lengthOrSizeNeeded(GetEnvironmentVariableW(wide(name), buffer, size), size);
    });
    return value ? fromWide(value->c_str(), value->size()) : Text();
}

void WindowsEnvironment::set(const Text& name, const Text& value) {
    SetEnvironmentVariableW(wide(name), wide(value));
}

Text WindowsEnvironment::expand(const Text& text) const {
    // Nothing to expand; and the call would cut a text beyond 32K characters.
    if (!text.contains(u'%')) return text;
    // The answer is the size needed, terminator included, whether it fit or not.
    const auto expanded = textOfGrowingBuffer(text.length() + 256, [&](wchar_t* buffer, DWORD size) {
        const DWORD needed = ExpandEnvironmentStringsW(wide(text), buffer, size);
        if (needed == 0) return BufferFill{};
        if (needed <= size) return BufferFill{BufferFill::Kind::Fits, needed - 1};
        return BufferFill{BufferFill::Kind::Grow, needed};
    });
    return expanded ? fromWide(expanded->c_str(), expanded->size()) : text;
}

bool WindowsPathNames::fitsAnsiCodePage(const Text& text) const {
    if (text.empty()) return true;
    // Without best fit an unmappable character becomes the default one, which
    // the way back cannot restore. UTF-8 as the code page takes no such flag
    // and gives every text back whole.
    const int length = static_cast<int>(text.length());
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    int size = WideCharToMultiByte(CP_THREAD_ACP, flags, wide(text), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        size = WideCharToMultiByte(CP_THREAD_ACP, flags, wide(text), length, nullptr, 0, nullptr, nullptr);
    }
    if (size <= 0) return false;
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, flags, wide(text), length, narrow.data(), size, nullptr, nullptr);
    std::wstring back(text.length() + 1, L'\0');
    const int backLength = MultiByteToWideChar(CP_THREAD_ACP, MB_ERR_INVALID_CHARS, narrow.data(), size, back.data(),
                                               static_cast<int>(back.size()));
    return backLength == length && fromWide(back.c_str(), static_cast<std::size_t>(backLength)) == text;
}

std::optional<Text> WindowsPathNames::shortForm(const Text& path) const {
    const std::wstring asFound = fileSystemPath(path);
    const auto found = textOfGrowingBuffer(asFound.size() + 1, [&](wchar_t* buffer, DWORD size) {
        return lengthOrSizeNeeded(GetShortPathNameW(asFound.c_str(), buffer, size), size);
    });
    if (!found) return std::nullopt;
    return withoutExtendedPrefix(fromWide(found->c_str(), found->size()));
}

MemoryFigures WindowsMemoryStatus::read() const {
    // GlobalMemoryStatus saturates above 4 GiB on some systems; the Ex form
    // reports the same quantities in full 64-bit width.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return {};
    return {status.ullTotalPhys, status.ullAvailVirtual};
}
