#pragma once

#include "common/platform.h"

class WindowsFileProbe final : public FileProbe {
public:
    bool exists(const Text& path) const override;
    TextList findNames(const Text& pattern) const override;
    std::optional<std::string> readStart(const Text& path, std::size_t maxBytes) const override;
    std::optional<Text> finalPath(const Text& path) const override;
};

class WindowsEnvironment final : public Environment {
public:
    Text get(const Text& name) const override;
    void set(const Text& name, const Text& value) override;
    Text expand(const Text& text) const override;
};

class WindowsPathNames final : public PathNames {
public:
    bool fitsAnsiCodePage(const Text& text) const override;
    std::optional<Text> shortForm(const Text& path) const override;
};

class WindowsMemoryStatus final : public MemoryStatus {
public:
    MemoryFigures read() const override;
};
