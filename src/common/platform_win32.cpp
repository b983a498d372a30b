#include "common/platform_win32.h"

#include <string>

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

Text WindowsEnvironment::get(const Text& name) const {
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size());
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wide(name), value.data(), size);
        if (length == 0) return {};
        if (length < size) return fromWide(value.c_str(), length);
        value.resize(length);
    }
}

void WindowsEnvironment::set(const Text& name, const Text& value) {
    SetEnvironmentVariableW(wide(name), wide(value));
}

Text WindowsEnvironment::expand(const Text& text) const {
    std::wstring out(text.length() + 256, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(out.size());
        const DWORD needed = ExpandEnvironmentStringsW(wide(text), out.data(), size);
        if (needed == 0) return text;
        if (needed <= size) return fromWide(out.c_str());
        out.resize(needed);
    }
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
    std::wstring buffer(asFound.size() + 1, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetShortPathNameW(asFound.c_str(), buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size) return withoutExtendedPrefix(fromWide(buffer.c_str(), length));
        buffer.resize(length);
    }
}

MemoryFigures WindowsMemoryStatus::read() const {
    // GlobalMemoryStatus saturates above 4 GiB on some systems; the Ex form
    // reports the same quantities in full 64-bit width.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return {};
    return {status.ullTotalPhys, status.ullAvailVirtual};
}
