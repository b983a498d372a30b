#include "vm/folder_operations_win32.h"

#include "common/long_path_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

bool WindowsFolderOperations::exists(const Text& path) const {
    WIN32_FIND_DATAW data;
    return static_cast<bool>(UniqueFindHandle(FindFirstFileW(fileSystemPath(path).c_str(), &data)));
}

std::uint32_t WindowsFolderOperations::createFolder(const Text& path) {
    return CreateDirectoryW(wide(path), nullptr) ? 0 : GetLastError();
}

void WindowsFolderOperations::removeFolder(const Text& path) {
    RemoveDirectoryW(wide(path));
}
