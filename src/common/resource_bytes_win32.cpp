#include "common/resource_bytes_win32.h"

std::span<const std::uint8_t> resourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name, WORD language) {
    HRSRC found = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found)};
}
