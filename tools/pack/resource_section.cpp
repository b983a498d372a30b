#include "pack/resource_section.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

constexpr std::uint32_t kInitializedData = 0x00000040;
constexpr std::uint32_t kMemoryRead = 0x40000000;
constexpr std::size_t kDebugEntrySize = 28;
constexpr std::size_t kDebugRawPointer = 24;

Outcome<Bytes> refuse(std::string reason) { return Outcome<Bytes>::failure(std::move(reason)); }

// True when the section holds the given data directory, starting at its first
// byte, and no other directory points into it: then nothing else can refer
// to its contents and it may be rewritten or moved.
bool holdsOnly(const PeFile& pe, std::size_t section, std::size_t directory) {
    const PeSection& s = pe.sections[section];
    if (s.rawSize == 0 || pe.directory(directory).rva != s.virtualAddress) return false;
    for (std::size_t i = 0; i < pe.directories.size(); ++i) {
        const PeDirectory d = pe.directories[i];
        if (i != directory && d.rva != 0 && d.rva >= s.virtualAddress && d.rva < s.virtualEnd()) return false;
    }
    return true;
}

// The index of the resource section when it can be rebuilt in place.
std::optional<std::size_t> rebuildableResourceSection(const PeFile& pe) {
    const auto section = pe.sectionAt(pe.directory(kResourceDirectory).rva);
    if (!section || !holdsOnly(pe, *section, kResourceDirectory)) return std::nullopt;
    for (std::size_t after = *section + 1; after < pe.sections.size(); ++after) {
        if (!holdsOnly(pe, after, kBaseRelocationDirectory)) return std::nullopt;
    }
    return section;
}

std::uint64_t initializedDataSize(const std::vector<PeSection>& sections) {
    return std::accumulate(sections.begin(), sections.end(), std::uint64_t{0}, [](std::uint64_t sum, const PeSection& s) {
        return sum + ((s.characteristics & kInitializedData) ? s.rawSize : 0);
    });
}

void writeSectionHeader(Bytes& out, std::size_t at, const PeSection& s) {
    std::copy(s.name.begin(), s.name.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    put32(out, at + 8, s.virtualSize);
    put32(out, at + 12, s.virtualAddress);
    put32(out, at + 16, s.rawSize);
    put32(out, at + 20, s.rawPointer);
    put32(out, at + 36, s.characteristics);
}

bool headerSlotIsFree(ByteView image, const PeFile& pe) {
    const std::size_t at = pe.at.sectionTable + pe.sections.size() * kSectionHeaderSize;
    if (at + kSectionHeaderSize > pe.sizeOfHeaders) return false;
    const auto slot = image.subspan(at, kSectionHeaderSize);
    return std::all_of(slot.begin(), slot.end(), [](std::uint8_t b) { return b == 0; });
}

// Debug data and COFF symbols that live in the overlay move with it.
bool shiftOverlayPointers(Bytes& out, const PeFile& pe, std::int64_t shift) {
    const auto moved = [&](std::uint32_t pointer) { return pointer != 0 && pointer >= pe.endOfSections; };
    if (moved(pe.pointerToSymbolTable)) {
        put32(out, pe.at.pointerToSymbolTable, static_cast<std::uint32_t>(pe.pointerToSymbolTable + shift));
    }
    const PeDirectory debug = pe.directory(kDebugDirectory);
    if (debug.rva == 0) return true;
    const auto at = pe.fileOffset(debug.rva, debug.size);
    if (!at) return false;
    for (std::uint64_t entry = *at; entry + kDebugEntrySize <= *at + debug.size; entry += kDebugEntrySize) {
        const std::uint32_t pointer = *read32(out, entry + kDebugRawPointer);
        if (moved(pointer)) put32(out, entry + kDebugRawPointer, static_cast<std::uint32_t>(pointer + shift));
    }
    return true;
}

// Appends the rebuilt resource section (sections[first]) and the sections
// after it to out, in order; sets their addresses and sizes and the data
// directories that point at them. Returns the end of the image's address
// range, or nothing beyond 4 GiB.
std::optional<std::uint64_t> layOutSections(Bytes& out, ByteView image, const PeFile& pe, std::vector<PeSection>& sections,
                                            std::size_t first, const ResourceList& resources) {
    std::uint64_t nextAddress =
        first < pe.sections.size()
            ? pe.sections[first].virtualAddress
            : alignUp(pe.sections.empty() ? pe.sizeOfHeaders : pe.sections.back().virtualEnd(), pe.sectionAlignment);
    for (std::size_t i = first; i < sections.size(); ++i) {
        PeSection& s = sections[i];
        const bool resourceSection = i == first;
        const Bytes rebuilt = resourceSection ? buildResourceSection(resources, static_cast<std::uint32_t>(nextAddress)) : Bytes{};
        const ByteView data = resourceSection ? ByteView(rebuilt) : image.subspan(s.rawPointer, s.rawSize);
        padTo(out, pe.fileAlignment);
        s.virtualAddress = static_cast<std::uint32_t>(nextAddress);
        if (resourceSection) s.virtualSize = static_cast<std::uint32_t>(data.size());
        s.rawPointer = static_cast<std::uint32_t>(out.size());
        s.rawSize = static_cast<std::uint32_t>(alignUp(data.size(), pe.fileAlignment));
        out.insert(out.end(), data.begin(), data.end());
        padTo(out, pe.fileAlignment);
        nextAddress = alignUp(s.virtualEnd(), pe.sectionAlignment);
        if (nextAddress > 0xFFFFFFFFu || out.size() > 0xFFFFFFFFu) return std::nullopt;
        // Only the base relocations follow the resources (see holdsOnly).
        const std::size_t directory = resourceSection ? kResourceDirectory : kBaseRelocationDirectory;
        put32(out, pe.at.directories + directory * 8, s.virtualAddress);
        if (resourceSection) put32(out, pe.at.directories + directory * 8 + 4, s.virtualSize);
    }
    return nextAddress;
}

} // namespace

Outcome<Bytes> withResources(ByteView image, const PeFile& pe, const ResourceList& resources) {
    const PeDirectory certificates = pe.directory(kCertificateDirectory);
    if (certificates.rva != 0 || certificates.size != 0) {
        return refuse("it is signed, and changing its resources would break the signature: "
                      "pack the unsigned launcher, then sign the result");
    }
    const auto inPlace = rebuildableResourceSection(pe);
    if (!inPlace && !headerSlotIsFree(image, pe)) return refuse("its headers have no room for another section");
    std::vector<PeSection> sections = pe.sections;
    const std::size_t first = inPlace ? *inPlace : sections.size();
    if (!inPlace) {
        PeSection added;
        std::copy_n(".rsrc", 5, added.name.begin());
        added.characteristics = kInitializedData | kMemoryRead;
        sections.push_back(added);
    }
    Bytes out(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(inPlace ? pe.sections[first].rawPointer : pe.endOfSections));
    const auto imageEnd = layOutSections(out, image, pe, sections, first, resources);
    if (!imageEnd) return refuse("the packed image would exceed 4 GiB");
    const std::int64_t overlayShift = static_cast<std::int64_t>(out.size()) - static_cast<std::int64_t>(pe.endOfSections);
    out.insert(out.end(), image.begin() + static_cast<std::ptrdiff_t>(pe.endOfSections), image.end());

    for (std::size_t i = first; i < sections.size(); ++i) {
        writeSectionHeader(out, pe.at.sectionTable + i * kSectionHeaderSize, sections[i]);
    }
    put16(out, pe.at.numberOfSections, static_cast<std::uint16_t>(sections.size()));
    put32(out, pe.at.sizeOfImage, static_cast<std::uint32_t>(*imageEnd));
    put32(out, pe.at.sizeOfInitializedData,
          static_cast<std::uint32_t>(pe.sizeOfInitializedData + initializedDataSize(sections) - initializedDataSize(pe.sections)));
    if (!shiftOverlayPointers(out, pe, overlayShift)) return refuse("malformed PE image: the debug directory lies outside the sections");
    put32(out, pe.at.checksum, peChecksum(out, pe.at.checksum));
    return out;
}
