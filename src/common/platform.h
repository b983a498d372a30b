#pragma once
// The narrow views of the machine that the launcher's decisions need. The
// Windows implementations are in platform_win32.*; tests give in-memory ones.

#include <cstdint>

#include "common/text.h"

class FileProbe {
public:
    virtual ~FileProbe() = default;
    // True when FindFirstFileW finds an entry for the path (attributes are not examined).
    virtual bool exists(const Text& path) const = 0;
    // Every name FindFirstFileW/FindNextFileW return for the pattern, in their order.
    virtual TextList findNames(const Text& pattern) const = 0;
};

class Environment {
public:
    virtual ~Environment() = default;
    // The variable's value; empty when it does not exist.
    virtual Text get(const Text& name) const = 0;
    virtual void set(const Text& name, const Text& value) = 0;
    // %NAME% references replaced; the text unchanged when expansion fails.
    virtual Text expand(const Text& text) const = 0;
};

struct MemoryFigures {
    std::uint64_t totalPhysical = 0;    // bytes
    std::uint64_t availableVirtual = 0; // bytes
};

class MemoryStatus {
public:
    virtual ~MemoryStatus() = default;
    virtual MemoryFigures read() const = 0;
};
