#include "runtime/jvm_architecture_win32.h"

#include "common/mapped_file_win32.h"
#include "common/system_library_win32.h"
#include "common/unique_handle_win32.h"
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
    const MappedFile file(libraryPath);
    const std::span image = file.bytes();
    // ImageNtHeader trusts the header offset; checking it first keeps every
    // read inside the file when the library is truncated or damaged.
    if (!ntHeadersOffset(image)) return false;
    const auto offset = systemNtHeadersOffset(image);
    return offset && machineAt(image, *offset) == kMachineI386;
}
