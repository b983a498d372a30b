#include "common/platform_win32.h"

#include <string>

#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

bool WindowsFileProbe::exists(const Text& path) const {
    WIN32_FIND_DATAW data;
    return static_cast<bool>(UniqueFindHandle(FindFirstFileW(wide(path), &data)));
}

TextList WindowsFileProbe::findNames(const Text& pattern) const {
    TextList names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(wide(pattern), &data));
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

MemoryFigures WindowsMemoryStatus::read() const {
    // GlobalMemoryStatus saturates above 4 GiB on some systems; the Ex form
    // reports the same quantities in full 64-bit width.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return {};
    return {status.ullTotalPhys, status.ullAvailVirtual};
}
