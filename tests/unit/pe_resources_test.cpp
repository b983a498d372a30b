#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "launcher/embedded_settings.h"
#include "pack/launcher_pack.h"
#include "pack/resource_section.h"
#include "test_support.h"

namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::size_t kOptionalHeader = 0x58;

// The 64-bit launcher, and a 32-bit one as the companion launcher may be.
struct Format {
    std::uint16_t magic;
    std::size_t directories;
    std::size_t sectionTable;
};
constexpr Format kPe32Plus{0x20B, kOptionalHeader + 112, kOptionalHeader + 240};
constexpr Format kPe32{0x10B, kOptionalHeader + 96, kOptionalHeader + 224};
constexpr std::size_t kDirectories = kPe32Plus.directories;
constexpr std::size_t kSectionTable = kPe32Plus.sectionTable;

struct Section {
    std::string name;
    Bytes content;
    int directory = -1; // the data directory it holds, from its first byte
};

constexpr std::uint32_t addressOf(std::size_t section) { return 0x1000 * static_cast<std::uint32_t>(section + 1); }

// An image with one page per section, file data in section order, then the overlay.
Bytes image(const std::vector<Section>& sections, const Bytes& overlay = {}, const Format& format = kPe32Plus) {
    Bytes out(0x400, 0);
    out[0] = 'M';
    out[1] = 'Z';
    put32(out, 0x3C, 0x40);
    put32(out, 0x40, 0x4550);
    put16(out, 0x44, 0x8664);
    put16(out, 0x46, static_cast<std::uint16_t>(sections.size()));
    put16(out, 0x54, static_cast<std::uint16_t>(format.sectionTable - kOptionalHeader));
    put16(out, kOptionalHeader, format.magic);
    put32(out, kOptionalHeader + 32, 0x1000);
    put32(out, kOptionalHeader + 36, kFileAlignment);
    put32(out, kOptionalHeader + 56, addressOf(sections.size()));
    put32(out, kOptionalHeader + 60, 0x400);
    put32(out, format.directories - 4, 16);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::size_t header = format.sectionTable + i * 40;
        std::copy(sections[i].name.begin(), sections[i].name.end(), out.begin() + static_cast<std::ptrdiff_t>(header));
        put32(out, header + 8, static_cast<std::uint32_t>(sections[i].content.size()));
        put32(out, header + 12, addressOf(i));
        put32(out, header + 16, static_cast<std::uint32_t>(alignUp(sections[i].content.size(), kFileAlignment)));
        put32(out, header + 20, static_cast<std::uint32_t>(out.size()));
        put32(out, header + 36, 0x40000040);
        out.insert(out.end(), sections[i].content.begin(), sections[i].content.end());
        padTo(out, kFileAlignment);
        if (sections[i].directory < 0) continue;
        put32(out, format.directories + 8 * sections[i].directory, addressOf(i));
        put32(out, format.directories + 8 * sections[i].directory + 4, static_cast<std::uint32_t>(sections[i].content.size()));
    }
    out.insert(out.end(), overlay.begin(), overlay.end());
    return out;
}

Bytes filled(std::size_t size, std::uint8_t value) { return Bytes(size, value); }

Bytes bitmapIcon(std::uint8_t size, std::uint8_t fill) {
    Bytes data(40, 0);
    put32(data, 0, 40);
    put32(data, 4, size);
    put32(data, 8, 2u * size);
    put16(data, 12, 1);
    put16(data, 14, 32);
    data.resize(40 + 64, fill); // the pixels are opaque to the packer
    return data;
}

IconImage iconImage(std::uint8_t size, std::uint8_t fill) { return {size, size, 0, 1, 32, bitmapIcon(size, fill)}; }

const std::string kManifest = "<assembly><trustInfo><security><requestedPrivileges>"
                              "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"
                              "</requestedPrivileges></security></trustInfo></assembly>";

// What a launcher carries: icon group 128 (and another group sharing nothing), a
// string table, a manifest, resources with string types and names.
ResourceList launcherResources() {
    const std::vector<IconImage> cup = {iconImage(16, 1), iconImage(32, 2)};
    return {
        {kIconType, std::uint16_t{1}, 1033, 0, cup[0].data},
        {kIconType, std::uint16_t{2}, 1033, 0, cup[1].data},
        {kIconType, std::uint16_t{7}, 0, 0, bitmapIcon(16, 7)},
        {kIconGroupType, std::uint16_t{128}, 1033, 0, iconGroup(cup, {1, 2})},
        {kIconGroupType, std::uint16_t{300}, 0, 0, iconGroup({iconImage(16, 7)}, {7})},
        {std::uint16_t{6}, std::uint16_t{13}, 1031, 1252, Bytes{1, 2, 3}},
        {kManifestType, std::uint16_t{1}, 0, 0, Bytes(kManifest.begin(), kManifest.end())},
        {u"ZDATA", u"ALPHA", 0, 0, Bytes{9}},
        {u"ZDATA", std::uint16_t{5}, 0, 0, Bytes{}},
    };
}

auto key(const Resource& r) { return std::tie(r.type, r.name, r.language, r.codePage, r.data); }

ResourceList resourcesOf(const Bytes& packed) {
    const auto pe = readPeFile(packed);
    EXPECT_TRUE(pe) << pe.error();
    auto resources = pe ? readResources(packed, *pe) : Outcome<ResourceList>::failure("");
    EXPECT_TRUE(resources) << resources.error();
    return resources ? *resources : ResourceList{};
}

const Resource* find(const ResourceList& resources, const ResourceKey& type, const ResourceKey& name) {
    for (const Resource& r : resources) {
        if (r.type == type && r.name == name) return &r;
    }
    return nullptr;
}

void expectSameResources(const ResourceList& actual, ResourceList expected) {
    std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return key(a) < key(b); });
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_TRUE(key(actual[i]) == key(expected[i])) << "resource " << i;
}

} // namespace

namespace {

struct LayoutCase {
    const char* layout;
    std::vector<Section> sections;
    bool addsSection;
    int directoryInsideResources = -1;
};

// Rewrites the case's image with the wanted resources and checks the result
// and that rewriting that again changes nothing.
void expectRewritten(const LayoutCase& c, const Format& format, const ResourceList& wanted) {
    const Bytes overlay = {'P', 'K', 5, 6, 0, 0};
    Bytes input = image(c.sections, overlay, format);
    if (c.directoryInsideResources >= 0) put32(input, format.directories + 8 * c.directoryInsideResources, addressOf(1) + 8);
    const auto pe = readPeFile(input);
    ASSERT_TRUE(pe) << pe.error();
    const auto packed = withResources(input, *pe, wanted);
    ASSERT_TRUE(packed) << packed.error();
    expectSameResources(resourcesOf(*packed), wanted);
    const PeFile out = *readPeFile(*packed);
    ASSERT_EQ(out.sections.size(), c.sections.size() + c.addsSection);
    for (std::size_t i = 0; i < c.sections.size(); ++i) {
        if (c.sections[i].directory == 2) continue;
        const PeSection& s = out.sections[i];
        EXPECT_EQ(Bytes(packed->begin() + s.rawPointer, packed->begin() + s.rawPointer + c.sections[i].content.size()),
                  c.sections[i].content) << c.sections[i].name;
        if (c.sections[i].directory >= 0) EXPECT_EQ(out.directory(c.sections[i].directory).rva, s.virtualAddress);
    }
    const PeSection& last = out.sections.back();
    EXPECT_EQ(read32(*packed, kOptionalHeader + 56), alignUp(last.virtualAddress + last.virtualSize, 0x1000));
    EXPECT_EQ(Bytes(packed->end() - 6, packed->end()), overlay);
    EXPECT_EQ(read32(*packed, kOptionalHeader + 64), peChecksum(*packed, kOptionalHeader + 64));
    const auto again = withResources(*packed, out, resourcesOf(*packed));
    EXPECT_TRUE(again && *again == *packed) << "a second rewrite changed the image";
}

} // namespace

// Where the resource section can be rebuilt in place, and where a new one is added.
TEST(ResourceSection, RewritesEveryLayoutAndKeepsTheRest) {
    const auto resources = [](std::size_t at) { return Section{".rsrc", buildResourceSection(launcherResources(), addressOf(at)), 2}; };
    const Bytes code = filled(0x300, 0xC3);
    const Bytes relocations = filled(0x30, 0x5A);
    const LayoutCase cases[] = {
        {"resources last", {{".text", code, 3}, resources(1)}, false},
        {"relocations after the resources", {{".text", code}, resources(1), {".reloc", relocations, 5}}, false},
        {"data after the resources", {{".text", code}, resources(1), {".data", relocations}}, true},
        {"another directory inside the resources", {{".text", code}, resources(1)}, true, 1},
        {"no resources", {{".text", code}}, true},
    };
    ResourceList wanted = launcherResources();
    wanted.push_back({kVersionType, std::uint16_t{1}, 0, 0, filled(0x2345, 0x77)}); // grows the section past a page
    for (const Format& format : {kPe32Plus, kPe32}) {
        for (const LayoutCase& c : cases) {
            SCOPED_TRACE(std::string(c.layout) + (format.magic == kPe32.magic ? ", 32-bit" : ", 64-bit"));
            expectRewritten(c, format, wanted);
        }
    }
}

TEST(ResourceSection, RefusesSignedCutOrCrowdedImages) {
    const Bytes valid = image({{".text", filled(0x100, 1)}, {".rsrc", buildResourceSection(launcherResources(), 0x2000), 2}});
    Bytes signedImage = valid;
    put32(signedImage, kDirectories + 4 * 8, static_cast<std::uint32_t>(valid.size()));
    put32(signedImage, kDirectories + 4 * 8 + 4, 0x10);
    Bytes crowded = image({{".rsrc", buildResourceSection({}, 0x1000), 2}, {".data", filled(0x10, 2)}});
    crowded[kSectionTable + 2 * 40] = 0xFF; // something lives where another section header would go
    Bytes selfContained = valid;
    put32(selfContained, 0x3C, 0x10000000);
    const std::pair<Bytes, std::string> cases[] = {
        {signedImage, "it is signed"},
        {crowded, "no room for another section"},
        {selfContained, "not a PE image"},
        {Bytes(valid.begin(), valid.end() - 1), "cut short"},
        {Bytes(valid.begin(), valid.begin() + 0x3FF), "cut short"},
    };
    for (const auto& [input, reason] : cases) {
        const auto packed = packLauncher(input, {});
        ASSERT_FALSE(packed);
        EXPECT_NE(packed.error().find(reason), std::string::npos) << packed.error();
    }
    for (std::size_t length = 0; length < valid.size(); ++length) {
        EXPECT_FALSE(packLauncher(ByteView(valid).first(length), {})) << "a prefix of " << length << " bytes";
    }
}

TEST(ResourceSection, HostileTreesAreRefused) {
    // Root, names and languages: 100 entries each, all sharing one subdirectory a level down.
    Bytes shared(16 * 3 + 8 * 300 + 16, 0);
    const std::size_t levels[] = {0, 16 + 800, 2 * (16 + 800)};
    for (int level = 0; level < 3; ++level) {
        put16(shared, levels[level] + 14, 100);
        for (std::size_t i = 0; i < 100; ++i) {
            const std::size_t entry = levels[level] + 16 + 8 * i;
            put32(shared, entry, static_cast<std::uint32_t>(i));
            put32(shared, entry + 4, level < 2 ? 0x80000000u | static_cast<std::uint32_t>(levels[level + 1]) : 3 * (16 + 800));
        }
    }
    put32(shared, 3 * (16 + 800), 0x1000);
    put32(shared, 3 * (16 + 800) + 4, 4);

    Bytes tooDeep(16 + 8, 0); // a language entry that is a directory: itself
    put16(tooDeep, 14, 1);
    put32(tooDeep, 20, 0x80000000u);
    Bytes nameOutside(16 + 8, 0);
    put16(nameOutside, 12, 1);
    put32(nameOutside, 16, 0x80000000u | 0x7000);
    const std::pair<Bytes, std::string> cases[] = {
        {shared, "too large"}, {tooDeep, "deeper than"}, {nameOutside, "name lies outside"}};
    for (const auto& [tree, reason] : cases) {
        const Bytes input = image({{".text", filled(0x10, 1)}, {".rsrc", tree, 2}});
        const auto resources = readResources(input, *readPeFile(input));
        ASSERT_FALSE(resources);
        EXPECT_NE(resources.error().find(reason), std::string::npos) << resources.error();
    }
}

TEST(LauncherPack, ReplacesWhatIsAskedInTheLauncherLanguagesAndNothingElse) {
    const Bytes launcher = image({{".text", filled(0x100, 1)}, {".rsrc", buildResourceSection(launcherResources(), 0x2000), 2}});
    PackInputs inputs;
    inputs.icon = {iconImage(16, 0x10), iconImage(32, 0x20), iconImage(48, 0x30)};
    inputs.version = VersionRecord{{2, 0, 0, 1}, {2, 0, 0, 0}, {{u"ProductName", u"Tram"}}};
    inputs.settingsText = u"[Application]\nCmd=-x\n"_t;
    inputs.upgradeCode = u"{C0DE}"_t;
    inputs.executionLevel = "requireAdministrator";
    const auto packed = packLauncher(launcher, inputs);
    ASSERT_TRUE(packed) << packed.error();
    const ResourceList resources = resourcesOf(*packed);

    // The group keeps id 128 and its language; the old images go, the other group's stays.
    const Resource* group = find(resources, kIconGroupType, std::uint16_t{128});
    ASSERT_TRUE(group);
    EXPECT_EQ(group->language, 1033);
    EXPECT_EQ(iconGroupIds(group->data), (std::vector<std::uint16_t>{1, 2, 3}));
    for (std::uint16_t id : {1, 2, 3}) EXPECT_EQ(find(resources, kIconType, id)->data, inputs.icon->at(id - 1u).data);
    EXPECT_TRUE(find(resources, kIconType, std::uint16_t{7}) && find(resources, kIconGroupType, std::uint16_t{300}));

    const Resource* settings = find(resources, u"JLSETTINGS", std::uint16_t{1});
    ASSERT_TRUE(settings);
    EXPECT_EQ(decipherSettings(settings->data, u"{C0DE}"_t), u"[Application]\r\nCmd=-x\r\n"_t);
    const Resource* manifest = find(resources, kManifestType, std::uint16_t{1});
    EXPECT_NE(std::string(manifest->data.begin(), manifest->data.end()).find("level=\"requireAdministrator\" uiAccess"),
              std::string::npos);
    EXPECT_EQ(find(resources, kVersionType, std::uint16_t{1})->data, buildVersionRecord(*inputs.version));
    for (const Resource& kept : launcherResources()) {
        if (kept.is(kIconType) || kept.is(kIconGroupType) || kept.is(kManifestType)) continue;
        const Resource* now = find(resources, kept.type, kept.name);
        EXPECT_TRUE(now && key(*now) == key(kept));
    }
    EXPECT_EQ(*packLauncher(*packed, inputs), *packed);
}
