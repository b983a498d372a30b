#pragma once
// The part of the Windows registry that runtime discovery reads: keys under
// HKEY_LOCAL_MACHINE, in the process's own view or in the 32-bit one, where
// 32-bit runtimes register. The Windows implementation is in
// registry_win32.*; tests give in-memory ones.

#include <optional>

#include "common/text.h"

enum class RegistryView { Native, Bits32 };

class Registry {
public:
    virtual ~Registry() = default;
    // The key's subkey names in enumeration order; nothing when the key cannot be opened.
    virtual std::optional<TextList> subkeyNames(const Text& key, RegistryView view) const = 0;
    // The value read as a string whatever its type, up to its first NUL;
    // nothing when the key cannot be opened or has no such value.
    virtual std::optional<Text> stringValue(const Text& key, const Text& name, RegistryView view) const = 0;
};
