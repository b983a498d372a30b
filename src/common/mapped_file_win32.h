#pragma once
// A file's bytes through a read-only mapping, for reading headers in place.

#include <windows.h>

#include <cstdint>
#include <span>

#include "common/text.h"
#include "common/unique_handle_win32.h"

class MappedFile {
public:
    explicit MappedFile(const Text& path);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // The system's error when the file could not be read; 0 when it was.
    std::int32_t error() const { return error_; }
    // Empty for an empty file or one that could not be read.
    std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    void fail() { error_ = static_cast<std::int32_t>(GetLastError()); }

    UniqueFileHandle file_;
    UniqueHandle mapping_;
    UniqueMappedView view_;
    std::span<const std::uint8_t> bytes_;
    std::int32_t error_ = 0;
};
