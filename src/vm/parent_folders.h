#pragma once
// Creating the missing folders above a file, for Windows paths: drive (C:\),
// UNC (\\Server\Share\) and long (\\?\C:\) forms, relative paths, and paths
// rooted at the current drive (\Logs\out.txt).

#include <cstdint>

#include "common/text.h"
#include "vm/folder_operations.h"

constexpr std::uint32_t kErrorAlreadyExists = 183;

// Creates every folder between the path's root and its last component. An
// existing folder counts as created; on UNC paths failures are passed over
// (the share itself cannot be created). Returns 0, or the code of the last
// failure.
std::uint32_t ensureParentFolders(const Text& path, FolderOperations& folders);
