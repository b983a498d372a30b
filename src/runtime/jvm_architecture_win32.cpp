#include "runtime/jvm_architecture_win32.h"

#include "common/long_path_win32.h"
#include "common/system_library_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"
#include "runtime/pe_image.h"

namespace {

using ImageNtHeaderFunction = PIMAGE_NT_HEADERS(WINAPI*)(PVOID);

std::optional<std::size_t> systemNtHeadersOffset(std::span<const std::uint8_t> image) {
    UniqueModule dbghelp(loadSystemLibrary(L"dbghelp.dll"));
    if (!dbghelp) return std::nullopt;
    auto imageNtHeader = reinterpret_cast<ImageNtHeaderFunction>(
        reinterpret_cast<void*>(GetProcAddress(dbghelp.get(), "ImageNtHeader")));
    if (!imageNtHeader) return std::nullopt;
    const auto* headers = reinterpret_cast<const std::uint8_t*>(
        imageNtHeader(const_cast<std::uint8_t*>(image.data())));
    if (!headers || headers < image.data() || headers >= image.data() + image.size()) return std::nullopt;
    return static_cast<std::size_t>(headers - image.data());
}

} // namespace

bool isX86Library(const Text& libraryPath) {
    UniqueFileHandle file(CreateFileW(fileSystemPath(libraryPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return false;
    UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;

    const std::span image(static_cast<const std::uint8_t*>(view.get()), static_cast<std::size_t>(size.QuadPart));
    // ImageNtHeader trusts the header offset; checking it first keeps every
    // read inside the file when the library is truncated or damaged.
    if (!ntHeadersOffset(image)) return false;
    const auto offset = systemNtHeadersOffset(image);
    return offset && machineAt(image, *offset) == kMachineI386;
}
