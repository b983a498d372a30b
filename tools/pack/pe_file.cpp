#include "pack/pe_file.h"

#include <algorithm>
#include <bit>

#include "runtime/pe_image.h"

namespace {

constexpr std::uint32_t kDirectoriesNeeded = kBaseRelocationDirectory + 1;
constexpr std::uint32_t kMaximumDirectories = 16;
constexpr std::uint32_t kMaximumFileAlignment = 0x10000;

Outcome<PeFile> malformed(const char* what) { return Outcome<PeFile>::failure(std::string("malformed PE image: ") + what); }

bool isPowerOfTwo(std::uint32_t value) { return std::has_single_bit(value); }

// The caller has checked that the header lies inside the image.
void readSection(ByteView image, std::size_t at, PeSection& section) {
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(at), 8, section.name.begin());
    section.virtualSize = *read32(image, at + 8);
    section.virtualAddress = *read32(image, at + 12);
    section.rawSize = *read32(image, at + 16);
    section.rawPointer = *read32(image, at + 20);
    section.characteristics = *read32(image, at + 36);
    if (section.rawSize == 0) section.rawPointer = 0; // a pointer without data means nothing
}

// Sections must follow the headers and each other in address order without
// overlapping, and their file data in the same order after the headers.
const char* checkSectionOrder(const PeFile& pe, std::uint64_t imageSize) {
    std::uint64_t addressEnd = pe.sizeOfHeaders;
    std::uint64_t fileEnd = pe.sizeOfHeaders;
    for (const PeSection& section : pe.sections) {
        if (section.virtualAddress < addressEnd || section.virtualAddress % pe.sectionAlignment != 0) {
            return "sections overlap or are out of order";
        }
        addressEnd = section.virtualEnd();
        if (addressEnd > 0xFFFFFFFFu) return "a section ends beyond 4 GiB";
        if (section.rawSize == 0) continue;
        if (section.rawPointer < fileEnd || section.rawPointer % pe.fileAlignment != 0) {
            return "section data overlaps or is out of order";
        }
        fileEnd = std::uint64_t{section.rawPointer} + section.rawSize;
        if (fileEnd > imageSize) return "the file is cut short (section data runs past its end)";
    }
    return nullptr;
}

// A directory past the last section would be covered by a section added there.
// The certificate table alone is found by its file offset.
const char* checkDirectories(const PeFile& pe) {
    const std::uint64_t end = pe.sections.empty() ? pe.sizeOfHeaders : pe.sections.back().virtualEnd();
    for (std::size_t i = 0; i < pe.directories.size(); ++i) {
        if (i != kCertificateDirectory && pe.directories[i].rva >= end) return "a data directory points past the last section";
    }
    return nullptr;
}

} // namespace

std::uint64_t PeSection::virtualEnd() const {
    return std::uint64_t{virtualAddress} + std::max(virtualSize, rawSize);
}

std::uint32_t PeSection::loadedRawSize() const {
    return virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
}

std::optional<std::size_t> PeFile::sectionAt(std::uint32_t rva) const {
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (rva >= sections[i].virtualAddress && rva < sections[i].virtualEnd()) return i;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> PeFile::fileOffset(std::uint32_t rva, std::uint32_t size) const {
    const auto index = sectionAt(rva);
    if (!index) return std::nullopt;
    const PeSection& section = sections[*index];
    const std::uint64_t inside = rva - section.virtualAddress;
    if (inside + size > section.loadedRawSize()) return std::nullopt;
    return section.rawPointer + inside;
}

PeDirectory PeFile::directory(std::size_t index) const {
    return index < directories.size() ? directories[index] : PeDirectory{};
}

Outcome<PeFile> readPeFile(ByteView image) {
    const auto nt = ntHeadersOffset(image);
    if (!nt || !machineAt(image, *nt)) return Outcome<PeFile>::failure("not a PE image (no MZ and PE headers)");
    const std::size_t fileHeader = *nt + 4;
    const std::size_t optional = fileHeader + 20;
    const auto magic = read16(image, optional);
    if (!magic || (*magic != kPe32Magic && *magic != kPe32PlusMagic)) return malformed("unknown optional header");
    const std::size_t directoryCountAt = optional + (*magic == kPe32PlusMagic ? 108 : 92);
    const auto directoryCount = read32(image, directoryCountAt);
    const std::uint16_t optionalSize = *read16(image, fileHeader + 16);
    if (!directoryCount || *directoryCount < kDirectoriesNeeded) return malformed("too few data directories");

    PeFile pe;
    pe.at.numberOfSections = fileHeader + 2;
    pe.at.pointerToSymbolTable = fileHeader + 8;
    pe.at.sizeOfInitializedData = optional + 8;
    pe.at.sizeOfImage = optional + 56;
    pe.at.checksum = optional + 64;
    pe.at.directories = directoryCountAt + 4;
    pe.at.sectionTable = optional + optionalSize;
    const std::uint32_t directories = std::min(*directoryCount, kMaximumDirectories);
    if (pe.at.directories + directories * 8u > pe.at.sectionTable || !spans(image, pe.at.directories, directories * 8u)) {
        return malformed("data directories outside the optional header");
    }
    for (std::uint32_t i = 0; i < directories; ++i) {
        pe.directories.push_back({*read32(image, pe.at.directories + i * 8u), *read32(image, pe.at.directories + i * 8u + 4)});
    }
    pe.sectionAlignment = *read32(image, optional + 32);
    pe.fileAlignment = *read32(image, optional + 36);
    pe.sizeOfHeaders = *read32(image, optional + 60);
    pe.sizeOfInitializedData = *read32(image, pe.at.sizeOfInitializedData);
    pe.pointerToSymbolTable = *read32(image, pe.at.pointerToSymbolTable);
    if (!isPowerOfTwo(pe.fileAlignment) || !isPowerOfTwo(pe.sectionAlignment) ||
        pe.fileAlignment > pe.sectionAlignment || pe.fileAlignment > kMaximumFileAlignment) {
        return malformed("unusual section or file alignment");
    }

    const std::uint16_t count = *read16(image, pe.at.numberOfSections);
    const std::uint64_t tableEnd = pe.at.sectionTable + std::uint64_t{count} * kSectionHeaderSize;
    if (pe.sizeOfHeaders > image.size()) return malformed("the file is cut short (inside its headers)");
    if (tableEnd > pe.sizeOfHeaders) return malformed("section table outside the headers");
    pe.sections.resize(count);
    for (std::size_t i = 0; i < count; ++i) readSection(image, pe.at.sectionTable + i * kSectionHeaderSize, pe.sections[i]);
    if (const char* fault = checkSectionOrder(pe, image.size())) return malformed(fault);
    if (const char* fault = checkDirectories(pe)) return malformed(fault);

    pe.endOfSections = pe.sizeOfHeaders;
    for (const PeSection& section : pe.sections) {
        if (section.rawSize) pe.endOfSections = std::uint64_t{section.rawPointer} + section.rawSize;
    }
    return pe;
}

std::uint32_t peChecksum(ByteView image, std::size_t checksumOffset) {
    const auto byteAt = [&](std::size_t i) -> std::uint32_t {
        if (i >= image.size() || (i >= checksumOffset && i < checksumOffset + 4)) return 0;
        return image[i];
    };
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2) {
        sum += byteAt(i) | (byteAt(i + 1) << 8);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint32_t>(sum + image.size());
}
