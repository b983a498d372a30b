#include "pack/resource_tree.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
// Directories may share subdirectories, so a small file can describe a huge
// tree: these bounds keep a hostile one from exhausting memory.
constexpr std::size_t kMaximumResources = 65536;
constexpr std::uint64_t kMaximumEntries = 1u << 20;
constexpr std::uint64_t kMaximumResourceBytes = 256u << 20;

auto sortKey(const Resource& r) { return std::tie(r.type, r.name, r.language); }

class TreeReader {
public:
    TreeReader(ByteView image, const PeFile& pe, ByteView tree) : image_(image), pe_(pe), tree_(tree) {}

    bool readDirectory(std::uint32_t offset, int level, Resource& path) {
        const auto named = read16(tree_, std::uint64_t{offset} + 12);
        const auto ids = read16(tree_, std::uint64_t{offset} + 14);
        if (!named || !ids) return fail("a resource directory lies outside the section");
        const std::uint64_t first = std::uint64_t{offset} + kDirectoryHeaderSize;
        const std::uint32_t count = std::uint32_t{*named} + *ids;
        if (!spans(tree_, first, std::uint64_t{count} * kDirectoryEntrySize)) {
            return fail("resource directory entries lie outside the section");
        }
        entriesSeen_ += count;
        if (entriesSeen_ > kMaximumEntries) return fail("the resource tree is too large");
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = first + std::uint64_t{i} * kDirectoryEntrySize;
            if (!readEntry(*read32(tree_, entry), *read32(tree_, entry + 4), level, path)) return false;
        }
        return true;
    }

    ResourceList& resources() { return resources_; }
    const std::string& error() const { return error_; }

private:
    bool readEntry(std::uint32_t nameField, std::uint32_t dataField, int level, Resource& path) {
        ResourceKey key;
        if (!readKey(nameField, key)) return false;
        if (level == 0) path.type = key;
        if (level == 1) path.name = key;
        if (level == 2) {
            if (!std::holds_alternative<std::uint16_t>(key)) return fail("a resource language is a name");
            path.language = std::get<std::uint16_t>(key);
        }
        const bool subdirectory = (dataField & kHighBit) != 0;
        if (level < 2) {
            if (!subdirectory) return fail("the resource tree is shallower than type, name, language");
            return readDirectory(dataField & ~kHighBit, level + 1, path);
        }
        if (subdirectory) return fail("the resource tree is deeper than type, name, language");
        return readData(dataField, path);
    }

    bool readKey(std::uint32_t field, ResourceKey& key) {
        if (!(field & kHighBit)) {
            key = static_cast<std::uint16_t>(field);
            return true;
        }
        const std::uint64_t at = field & ~kHighBit;
        const auto length = read16(tree_, at);
        if (!length || !spans(tree_, at + 2, std::uint64_t{*length} * 2)) return fail("a resource name lies outside the section");
        std::u16string name(*length, u'\0');
        for (std::size_t i = 0; i < *length; ++i) name[i] = static_cast<char16_t>(*read16(tree_, at + 2 + 2 * i));
        key = std::move(name);
        return true;
    }

    bool readData(std::uint32_t offset, Resource& path) {
        if (!spans(tree_, offset, kDataEntrySize)) return fail("a resource data entry lies outside the section");
        const std::uint32_t rva = *read32(tree_, offset);
        const std::uint32_t size = *read32(tree_, std::uint64_t{offset} + 4);
        // An empty block has no bytes to find: it may point anywhere, the
        // end of its section included (where the rewritten section puts it).
        const auto at = size == 0 ? std::optional<std::uint64_t>(0) : pe_.fileOffset(rva, size);
        if (!at) return fail("resource data lies outside the image's sections");
        totalBytes_ += size;
        if (resources_.size() == kMaximumResources || totalBytes_ > kMaximumResourceBytes) {
            return fail("the resource tree is too large");
        }
        path.codePage = *read32(tree_, std::uint64_t{offset} + 8);
        path.data.assign(image_.begin() + static_cast<std::ptrdiff_t>(*at),
                         image_.begin() + static_cast<std::ptrdiff_t>(*at + size));
        resources_.push_back(path);
        return true;
    }

    bool fail(const char* what) {
        error_ = std::string("malformed resources: ") + what;
        return false;
    }

    ByteView image_;
    const PeFile& pe_;
    ByteView tree_;
    ResourceList resources_;
    std::uint64_t totalBytes_ = 0;
    std::uint64_t entriesSeen_ = 0;
    std::string error_;
};

// Directory entries are written level by level; a string key's text goes to
// a string area after the data entries.
class SectionWriter {
public:
    SectionWriter(const ResourceList& sorted, std::uint32_t sectionRva) : resources_(sorted), rva_(sectionRva) {}

    Bytes write() {
        const auto types = groups(0, resources_.size(), &Resource::type);
        // First pass sizes the directories, so every offset is known before writing.
        std::size_t directoryBytes = directorySize(types.size());
        for (const auto& [begin, end] : types) {
            const auto names = groups(begin, end, &Resource::name);
            directoryBytes += directorySize(names.size());
            for (const auto& [nameBegin, nameEnd] : names) directoryBytes += directorySize(nameEnd - nameBegin);
        }
        dataEntries_ = directoryBytes;
        out_.assign(dataEntries_ + resources_.size() * kDataEntrySize, 0); // string keys are appended from here

        std::size_t next = directorySize(types.size());
        std::size_t entry = writeHeader(0, types, &Resource::type);
        for (const auto& [begin, end] : types) {
            const auto names = groups(begin, end, &Resource::name);
            const std::size_t typeDirectory = next;
            next += directorySize(names.size());
            put32(out_, entry + 4, kHighBit | static_cast<std::uint32_t>(typeDirectory));
            entry += kDirectoryEntrySize;
            std::size_t nameEntry = writeHeader(typeDirectory, names, &Resource::name);
            for (const auto& [nameBegin, nameEnd] : names) {
                put32(out_, nameEntry + 4, kHighBit | static_cast<std::uint32_t>(next));
                nameEntry += kDirectoryEntrySize;
                next = writeLanguages(next, nameBegin, nameEnd);
            }
        }
        writeData();
        return std::move(out_);
    }

private:
    using Range = std::pair<std::size_t, std::size_t>;

    static std::size_t directorySize(std::size_t entries) { return kDirectoryHeaderSize + entries * kDirectoryEntrySize; }

    std::vector<Range> groups(std::size_t begin, std::size_t end, ResourceKey Resource::*key) const {
        std::vector<Range> ranges;
        for (std::size_t i = begin; i < end; ++i) {
            if (ranges.empty() || !(resources_[i].*key == resources_[ranges.back().first].*key)) ranges.push_back({i, i});
            ranges.back().second = i + 1;
        }
        return ranges;
    }

    // Writes a directory header and the key of each entry; returns the offset of its first entry.
    std::size_t writeHeader(std::size_t at, const std::vector<Range>& ranges, ResourceKey Resource::*key) {
        std::uint16_t named = 0;
        for (const auto& range : ranges) named += std::holds_alternative<std::u16string>(resources_[range.first].*key);
        put16(out_, at + 12, named);
        put16(out_, at + 14, static_cast<std::uint16_t>(ranges.size() - named));
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            put32(out_, at + kDirectoryHeaderSize + i * kDirectoryEntrySize, keyField(resources_[ranges[i].first].*key));
        }
        return at + kDirectoryHeaderSize;
    }

    std::size_t writeLanguages(std::size_t at, std::size_t begin, std::size_t end) {
        put16(out_, at + 14, static_cast<std::uint16_t>(end - begin));
        for (std::size_t i = begin; i < end; ++i) {
            const std::size_t entry = at + kDirectoryHeaderSize + (i - begin) * kDirectoryEntrySize;
            put32(out_, entry, resources_[i].language);
            put32(out_, entry + 4, static_cast<std::uint32_t>(dataEntries_ + i * kDataEntrySize));
        }
        return at + directorySize(end - begin);
    }

    std::uint32_t keyField(const ResourceKey& key) {
        if (const auto* id = std::get_if<std::uint16_t>(&key)) return *id;
        const auto& name = std::get<std::u16string>(key);
        const std::size_t at = out_.size();
        append16(out_, static_cast<std::uint16_t>(name.size()));
        for (char16_t unit : name) append16(out_, unit);
        return kHighBit | static_cast<std::uint32_t>(at);
    }

    void writeData() {
        for (std::size_t i = 0; i < resources_.size(); ++i) {
            padTo(out_, 8);
            const std::size_t entry = dataEntries_ + i * kDataEntrySize;
            put32(out_, entry, rva_ + static_cast<std::uint32_t>(out_.size()));
            put32(out_, entry + 4, static_cast<std::uint32_t>(resources_[i].data.size()));
            put32(out_, entry + 8, resources_[i].codePage);
            out_.insert(out_.end(), resources_[i].data.begin(), resources_[i].data.end());
        }
    }

    const ResourceList& resources_;
    std::uint32_t rva_;
    std::size_t dataEntries_ = 0;
    Bytes out_;
};

} // namespace

Outcome<ResourceList> readResources(ByteView image, const PeFile& pe) {
    const PeDirectory directory = pe.directory(kResourceDirectory);
    if (directory.rva == 0 || directory.size == 0) return ResourceList{};
    const auto section = pe.sectionAt(directory.rva);
    const std::uint32_t inside = section ? directory.rva - pe.sections[*section].virtualAddress : 0;
    if (!section || inside >= pe.sections[*section].loadedRawSize()) {
        return Outcome<ResourceList>::failure("malformed resources: the resource directory lies outside the sections");
    }
    const PeSection& holder = pe.sections[*section];
    const ByteView tree = image.subspan(holder.rawPointer + inside, holder.loadedRawSize() - inside);
    TreeReader reader(image, pe, tree);
    Resource path;
    if (!reader.readDirectory(0, 0, path)) return Outcome<ResourceList>::failure(reader.error());

    ResourceList resources = std::move(reader.resources());
    std::sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) { return sortKey(a) < sortKey(b); });
    const auto twice = std::adjacent_find(resources.begin(), resources.end(),
                                          [](const Resource& a, const Resource& b) { return sortKey(a) == sortKey(b); });
    if (twice != resources.end()) return Outcome<ResourceList>::failure("malformed resources: a resource is listed twice");
    return resources;
}

Bytes buildResourceSection(ResourceList resources, std::uint32_t sectionRva) {
    std::sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) { return sortKey(a) < sortKey(b); });
    return SectionWriter(resources, sectionRva).write();
}
