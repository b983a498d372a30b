#include "launcher/process_facts_win32.h"

#include <string>

#include "common/wide_win32.h"

ExecutablePath executablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return {std::nullopt, static_cast<std::int32_t>(GetLastError())};
        if (length < size) return {fromWide(buffer.c_str(), length)};
        buffer.resize(buffer.size() * 2);
    }
}

bool isNtPlatform() {
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
        return extended.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }
    OSVERSIONINFOW basic{};
    basic.dwOSVersionInfoSize = sizeof(basic);
    return GetVersionExW(&basic) && basic.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
