#pragma once
// The layout of a PE image (32 or 64 bit) as far as rewriting its resources
// needs it: where the header fields are, the sections and the data
// directories. Every offset and size is checked against the bytes present.

#include <array>
#include <cstdint>
#include <vector>

#include "pack/bytes.h"
#include "pack/outcome.h"

struct PeSection {
    std::array<std::uint8_t, 8> name{};
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
    std::uint32_t characteristics = 0;

    // The part of the section that is both in the file and mapped.
    std::uint32_t loadedRawSize() const;
    // The end of its address range.
    std::uint64_t virtualEnd() const;
};

struct PeDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

enum PeDirectoryIndex : std::size_t {
    kResourceDirectory = 2,
    kCertificateDirectory = 4,
    kBaseRelocationDirectory = 5,
    kDebugDirectory = 6,
};

// Offsets of the fields a rewrite changes, from the start of the image.
struct PeFieldOffsets {
    std::size_t numberOfSections = 0;
    std::size_t pointerToSymbolTable = 0;
    std::size_t sizeOfInitializedData = 0;
    std::size_t sizeOfImage = 0;
    std::size_t checksum = 0;
    std::size_t directories = 0; // the first data directory
    std::size_t sectionTable = 0;
};

struct PeFile {
    PeFieldOffsets at;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t fileAlignment = 0;
    std::uint32_t sizeOfHeaders = 0;
    std::uint32_t sizeOfInitializedData = 0;
    std::uint32_t pointerToSymbolTable = 0;
    std::vector<PeSection> sections; // in address order, file data in the same order
    std::vector<PeDirectory> directories;
    std::uint64_t endOfSections = 0; // where the last section's file data ends; an overlay may follow

    // The file offset of [rva, rva + size) when those bytes lie in one section's file data.
    std::optional<std::uint64_t> fileOffset(std::uint32_t rva, std::uint32_t size) const;
    // The section whose address range holds the rva.
    std::optional<std::size_t> sectionAt(std::uint32_t rva) const;
    PeDirectory directory(std::size_t index) const;
};

Outcome<PeFile> readPeFile(ByteView image);

// The optional header's checksum of an image: the carry-folded
// sum of the file's 16-bit words (the checksum field read as zero), plus its length.
std::uint32_t peChecksum(ByteView image, std::size_t checksumOffset);

constexpr std::size_t kSectionHeaderSize = 40;
