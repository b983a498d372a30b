#pragma once
// A typed look-up of a library's exported function.

#include <windows.h>

// Null when the library does not export the name.
template <typename Function>
Function entryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
