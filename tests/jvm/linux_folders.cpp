#include "linux_folders.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "vm/parent_folders.h"

std::filesystem::path LinuxFolders::map(const Text& path) const {
    return root_ / path.replaced(u'\\', u'/').toUtf8();
}

bool LinuxFolders::exists(const Text& path) const {
    std::error_code ignored;
    return std::filesystem::exists(map(path), ignored);
}

std::uint32_t LinuxFolders::createFolder(const Text& path) {
    if (::mkdir(map(path).c_str(), 0700) == 0) return 0;
    return errno == EEXIST ? kErrorAlreadyExists : static_cast<std::uint32_t>(errno);
}

void LinuxFolders::removeFolder(const Text& path) { ::rmdir(map(path).c_str()); }
