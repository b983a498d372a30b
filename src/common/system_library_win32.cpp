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

HMODULE loadSystemLibrary(const wchar_t* name) {
    // A bare name with this flag still passes through the activation context.
    if (HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return library;
    // Windows 7 without its loader update does not know the flag.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    const std::wstring folder = systemFolder();
    if (folder.empty()) return nullptr;
    return LoadLibraryExW((folder + L"\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
