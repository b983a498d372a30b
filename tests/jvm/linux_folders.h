#pragma once
// Folder operations for the Linux JVM tests: a Windows-style path is mapped
// below a root folder, backslashes becoming slashes (C:\Logs -> <root>/C:/Logs).

#include <filesystem>

#include "vm/folder_operations.h"

class LinuxFolders final : public FolderOperations {
public:
    explicit LinuxFolders(std::filesystem::path root) : root_(std::move(root)) {}

    std::filesystem::path map(const Text& path) const;

    bool exists(const Text& path) const override;
    std::uint32_t createFolder(const Text& path) override;
    void removeFolder(const Text& path) override;

private:
    std::filesystem::path root_;
};
