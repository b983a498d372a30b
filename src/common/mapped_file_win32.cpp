#include "common/mapped_file_win32.h"

#include "common/long_path_win32.h"

MappedFile::MappedFile(const Text& path)
    : file_(CreateFileW(fileSystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.get(), &size)) {
        fail();
        return;
    }
    if (size.QuadPart == 0) return;  // no mapping for nothing
    mapping_.reset(CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    view_.reset(mapping_ ? MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
    if (!view_) {
        fail();
        return;
    }
    bytes_ = {static_cast<const std::uint8_t*>(view_.get()), static_cast<std::size_t>(size.QuadPart)};
}
