#include "common/system_library_win32.h"

#include <string>

#include "common/growing_buffer_win32.h"

namespace {

std::wstring systemFolder() {
    return textOfGrowingBuffer(MAX_PATH, [](wchar_t* buffer, DWORD size) {
               return lengthOrSizeNeeded(GetSystemDirectoryW(buffer, size), size);
           }).value_or(std::wstring());
}

} // namespace

void removeCurrentDirectoryFromDllSearch() {
    // A folder given here takes the current directory's place. An empty text
    // would remove it on Windows, but Wine reads that as no setting at all;
    // the system folder is searched at that point anyway.
    const std::wstring folder = systemFolder();
    SetDllDirectoryW(folder.c_str());
}

void preloadWindowSystemLibraries() {
    for (const wchar_t* name : {L"imm32.dll", L"ole32.dll", L"msimg32.dll", L"uxtheme.dll", L"dwmapi.dll"}) loadSystemLibrary(name);
}

void preloadShellSystemLibraries() {
    preloadWindowSystemLibraries();
    for (const wchar_t* name : {L"version.dll", L"cryptbase.dll", L"userenv.dll", L"propsys.dll", L"windowscodecs.dll"}) {
        loadSystemLibrary(name);
    }
}

HMODULE loadSystemLibrary(const wchar_t* name) {
    // Only a bare name passes through the activation context, which gives
    // comctl32 in version 6; that flag keeps it to the system folder.
    if (lstrcmpiW(name, L"comctl32.dll") == 0) {
        if (HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return library;
        // Windows 7 without its loader update does not know the flag.
        if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    }
    const std::wstring folder = systemFolder();
    if (folder.empty()) return nullptr;
    // The full path with the altered search takes the library's imports from
    // the system folder too, where the flag above leaves them to the usual
    // search (so under Wine, which honours the flag for the library alone).
    return LoadLibraryExW((folder + L"\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
