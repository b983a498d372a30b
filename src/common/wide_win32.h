#pragma once
// Text at the Win32 boundary: wchar_t is a UTF-16 code unit on Windows.

#include <windows.h>

#include "common/text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline const wchar_t* wide(const Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline Text fromWide(const wchar_t* units) {
    return units ? Text(reinterpret_cast<const char16_t*>(units)) : Text();
}

inline Text fromWide(const wchar_t* units, std::size_t count) {
    return Text(std::u16string_view(reinterpret_cast<const char16_t*>(units), count));
}
