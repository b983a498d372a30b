#pragma once
// The resources of a PE image as a flat list of (type, name, language)
// entries, read from an image's resource directory and written back as a
// new resource section in the canonical order: names before ids, names by
// their UTF-16 units, ids and languages ascending.

#include <compare>
#include <string>
#include <variant>
#include <vector>

#include "pack/bytes.h"
#include "pack/outcome.h"
#include "pack/pe_file.h"

// A resource type or name: a string, or a 16-bit id. Strings sort first, as
// the directory lists them.
using ResourceKey = std::variant<std::u16string, std::uint16_t>;

constexpr std::uint16_t kIconType = 3;
constexpr std::uint16_t kIconGroupType = 14;
constexpr std::uint16_t kVersionType = 16;
constexpr std::uint16_t kManifestType = 24;

struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    Bytes data;

    bool is(std::uint16_t typeId) const { return type == ResourceKey(typeId); }
};

using ResourceList = std::vector<Resource>;

// Every resource of the image, or why its resource directory cannot be
// read. An image without a resource directory has none.
Outcome<ResourceList> readResources(ByteView image, const PeFile& pe);

// The bytes of a resource section placed at sectionRva. No two resources
// may share type, name and language.
Bytes buildResourceSection(ResourceList resources, std::uint32_t sectionRva);
