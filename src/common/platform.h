#pragma once
// The narrow views of the machine that the launcher's decisions need. The
// Windows implementations are in platform_win32.*; tests give in-memory ones.

#include <cstdint>
#include <optional>
#include <string>

#include "common/text.h"

class FileProbe {
public:
    virtual ~FileProbe() = default;
    // True when FindFirstFileW finds an entry for the path (attributes are not examined).
    virtual bool exists(const Text& path) const = 0;
    // Every name FindFirstFileW/FindNextFileW return for the pattern, in their order.
    virtual TextList findNames(const Text& pattern) const = 0;
    // At most maxBytes from the start of the file; nothing when it cannot be read.
    virtual std::optional<std::string> readStart(const Text& path, std::size_t maxBytes) const = 0;
    // The path of the file itself, with the links and junctions on the way
    // followed; nothing when it cannot be opened.
    virtual std::optional<Text> finalPath(const Text& path) const = 0;
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

class PathNames {
public:
    virtual ~PathNames() = default;
    // True when the thread's ANSI code page holds every character of the
    // text as it is (no substitute, no best-fit look-alike).
    virtual bool fitsAnsiCodePage(const Text& text) const = 0;
    // The short (8.3) form the file system gives an existing path; nullopt
    // when it gives none. Components without a short name stay long in it.
    virtual std::optional<Text> shortForm(const Text& path) const = 0;
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
