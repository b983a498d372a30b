#pragma once
// The folder operations that preparing a stream file's folders needs.

#include <cstdint>

#include "common/text.h"

class FolderOperations {
public:
    virtual ~FolderOperations() = default;
    // True when FindFirstFileW finds an entry for the path.
    virtual bool exists(const Text& path) const = 0;
    // 0 when the folder was created, otherwise the system error code
    // (183 when it already exists).
    virtual std::uint32_t createFolder(const Text& path) = 0;
    // Removes the folder if it is empty; failures are ignored.
    virtual void removeFolder(const Text& path) = 0;
};
