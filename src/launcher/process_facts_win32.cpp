#include "launcher/process_facts_win32.h"

#include <string>

#include "common/growing_buffer_win32.h"
#include "common/wide_win32.h"

ExecutablePath executablePath() {
    // A path that does not fit comes back cut to the buffer's size.
    const auto path = textOfGrowingBuffer(MAX_PATH, [](wchar_t* buffer, DWORD size) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
        if (length == 0) return BufferFill{};
        return length < size ? BufferFill{BufferFill::Kind::Fits, length} : BufferFill{BufferFill::Kind::Grow};
    });
    if (!path) return {std::nullopt, static_cast<std::int32_t>(GetLastError())};
    return {fromWide(path->c_str(), path->size())};
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
