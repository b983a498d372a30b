#pragma once

#include "vm/folder_operations.h"

class WindowsFolderOperations final : public FolderOperations {
public:
    bool exists(const Text& path) const override;
    std::uint32_t createFolder(const Text& path) override;
    void removeFolder(const Text& path) override;
};
