#pragma once
// The bytes of one resource of a loaded module, in one language.

#include <windows.h>

#include <cstdint>
#include <span>

// Empty when the module has no such resource.
std::span<const std::uint8_t> resourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name, WORD language);
