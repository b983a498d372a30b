#include "explain/library_facts.h"

#include <string_view>

#include "runtime/pe_image.h"

namespace {

constexpr std::int32_t kErrorBadExeFormat = 193;
constexpr std::int32_t kErrorProcNotFound = 127;
constexpr std::size_t kSectionHeaderSize = 40;

// The sections of an image, enough to find the file bytes of an address.
class ImageLayout {
public:
    ImageLayout(ByteView image, std::size_t sectionTable, std::uint16_t sections)
        : image_(image), table_(sectionTable), count_(sections) {}

    // The file offset of the address, when a section's file data holds it.
    std::optional<std::uint64_t> offsetOf(std::uint32_t rva) const {
        for (std::uint16_t i = 0; i < count_; ++i) {
            const std::uint64_t at = table_ + std::uint64_t{i} * kSectionHeaderSize;
            const auto address = read32(image_, at + 12), rawSize = read32(image_, at + 16),
                       rawPointer = read32(image_, at + 20);
            if (!address || !rawSize || !rawPointer) return std::nullopt;
            if (rva >= *address && rva - *address < *rawSize) return std::uint64_t{*rawPointer} + (rva - *address);
        }
        return std::nullopt;
    }

    // The NUL-terminated name at the address; nothing when it runs past the bytes.
    std::optional<std::string_view> nameAt(std::uint32_t rva) const {
        const auto offset = offsetOf(rva);
        if (!offset || *offset >= image_.size()) return std::nullopt;
        const auto* start = reinterpret_cast<const char*>(image_.data() + *offset);
        const std::string_view rest(start, image_.size() - *offset);
        const auto end = rest.find('\0');
        if (end == std::string_view::npos) return std::nullopt;
        return rest.substr(0, end);
    }

private:
    ByteView image_;
    std::size_t table_;
    std::uint16_t count_;
};

// The export directory's address, from the optional header of either kind.
std::optional<std::uint32_t> exportDirectory(ByteView image, std::size_t optionalHeader) {
    const auto magic = read16(image, optionalHeader);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return std::nullopt;
    const std::size_t directories = optionalHeader + (magic == kPe32Magic ? 96 : 112);
    const auto count = read32(image, directories - 4);
    if (!count || *count == 0) return std::nullopt;
    return read32(image, directories);
}

bool exportsBothEntryPoints(ByteView image, std::size_t ntOffset) {
    const std::size_t optionalHeader = ntOffset + 24;
    const auto sections = read16(image, ntOffset + 6);
    const auto optionalSize = read16(image, ntOffset + 20);
    const auto directory = exportDirectory(image, optionalHeader);
    if (!sections || !optionalSize || !directory || *directory == 0) return false;
    const ImageLayout layout(image, optionalHeader + *optionalSize, *sections);
    const auto at = layout.offsetOf(*directory);
    if (!at) return false;
    const auto names = read32(image, *at + 24), nameTable = read32(image, *at + 32);
    if (!names || !nameTable) return false;
    const auto tableAt = layout.offsetOf(*nameTable);
    if (!tableAt) return false;
    bool create = false, defaults = false;
    for (std::uint64_t entry = *tableAt, end = entry + std::uint64_t{*names} * 4; entry < end; entry += 4) {
        const auto nameAddress = read32(image, entry);
        if (!nameAddress) break;
        const auto name = layout.nameAt(*nameAddress);
        create = create || name == "JNI_CreateJavaVM";
        defaults = defaults || name == "JNI_GetDefaultJavaVMInitArgs";
    }
    return create && defaults;
}

} // namespace

LibraryFacts libraryFactsOf(ByteView image) {
    LibraryFacts facts;
    facts.empty = image.empty();
    const auto ntOffset = ntHeadersOffset(image);
    if (!ntOffset) return facts;
    facts.machine = machineAt(image, *ntOffset);
    if (facts.machine) facts.exportsEntryPoints = exportsBothEntryPoints(image, *ntOffset);
    return facts;
}

std::optional<std::uint64_t> stackReserveOf(ByteView image) {
    const auto ntOffset = ntHeadersOffset(image);
    if (!ntOffset || !machineAt(image, *ntOffset)) return std::nullopt;
    const std::size_t optionalHeader = *ntOffset + 24;
    const auto magic = read16(image, optionalHeader);
    if (magic == kPe32Magic) return read32(image, optionalHeader + 72);
    if (magic != kPe32PlusMagic) return std::nullopt;
    const auto low = read32(image, optionalHeader + 72), high = read32(image, optionalHeader + 76);
    if (!low || !high) return std::nullopt;
    return std::uint64_t{*high} << 32 | *low;
}

bool isConsoleImage(ByteView image) {
    constexpr std::uint16_t kConsoleSubsystem = 3;
    const auto ntOffset = ntHeadersOffset(image);
    if (!ntOffset || !machineAt(image, *ntOffset)) return false;
    // At the same place in both optional header forms.
    return read16(image, *ntOffset + 24 + 68) == kConsoleSubsystem;
}

std::optional<std::uint64_t> threadStackFor(std::uint64_t committed, std::optional<std::uint64_t> reserve) {
    constexpr std::uint64_t kMiB = 1 << 20;
    if (!reserve) return std::nullopt;
    if (committed <= *reserve) return reserve;
    return committed > UINT64_MAX - (kMiB - 1) ? committed : (committed + kMiB - 1) / kMiB * kMiB;
}

LibraryLoad predictLibraryLoad(const LibraryFacts& facts) {
    using Result = LibraryLoad::Result;
    if (facts.openError != 0) return {Result::NotLoaded, facts.openError};
    if (facts.empty) return {Result::NotKnown};
    if (facts.machine != kMachineAmd64) return {Result::NotLoaded, kErrorBadExeFormat};
    if (!facts.exportsEntryPoints) return {Result::NoEntryPoints, kErrorProcNotFound};
    return {Result::Loaded};
}
