#pragma once
// In-memory stand-ins for the platform interfaces, and readable Text output.

#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <vector>

#include "common/geometry.h"
#include "common/messages.h"
#include "common/platform.h"
#include "launcher/settings_store.h"
#include "runtime/registry.h"
#include "vm/folder_operations.h"
#include "vm/parent_folders.h"

// GoogleTest prints Text as UTF-8.
void PrintTo(const Text& text, std::ostream* out);
// Rectangles as left,top,right,bottom and points as (x,y).
void PrintTo(const Rect& rect, std::ostream* out);
void PrintTo(const Point& point, std::ostream* out);

inline Text operator""_t(const char16_t* units, std::size_t count) {
    return Text(std::u16string_view(units, count));
}

// Texts that name their id, "#207", or with showArguments what fills them too,
// "#207(%s|%s)". Messages are kept, not shown; without showArguments a report
// is kept as "#202(#208|5)".
class IdTexts final : public Messages {
public:
    explicit IdTexts(bool showArguments = false) : showArguments_(showArguments) {}
    Text text(TextId id) const override;
    void showError(const Text& message) override { shown.push_back(message); }
    void report(TextId formatId, std::initializer_list<FormatArg> args) override;
    std::vector<Text> shown;

private:
    bool showArguments_;
};

class FakeFiles final : public FileProbe {
public:
    void add(const Text& path) { paths_.insert(path.units()); }
    // A file with this content.
    void add(const Text& path, std::string content) {
        add(path);
        contents_[path.units()] = std::move(content);
    }
    // A link at path to target (which must exist for the link to be followed).
    void link(const Text& path, const Text& target) {
        add(path);
        links_[path.units()] = target;
    }
    // "<folder>\\*" exists when anything lies in the folder.
    bool exists(const Text& path) const override;
    // Only "<folder>\*" and "<folder>\*.<ext>" patterns, enough for the tests.
    TextList findNames(const Text& pattern) const override;
    std::optional<std::string> readStart(const Text& path, std::size_t maxBytes) const override;
    std::optional<Text> finalPath(const Text& path) const override;

private:
    std::set<std::u16string> paths_;
    std::map<std::u16string, std::string> contents_;
    std::map<std::u16string, Text> links_;
};

class FakeEnvironment final : public Environment {
public:
    std::map<std::u16string, Text> variables;
    Text get(const Text& name) const override;
    void set(const Text& name, const Text& value) override { variables[name.units()] = value; }
    Text expand(const Text& text) const override;
};

// Memory figures as given; counts how often they were read.
class FixedMemory final : public MemoryStatus {
public:
    MemoryFigures figures;
    mutable int reads = 0;
    MemoryFigures read() const override {
        ++reads;
        return figures;
    }
};

// Folders in memory; each creation can be made to fail with a chosen code.
class FakeFolders final : public FolderOperations {
public:
    std::set<std::u16string> existing;
    std::map<std::u16string, std::uint32_t> failures;
    std::vector<Text> created;  // every creation attempted, in order
    std::vector<Text> removed;

    bool exists(const Text& path) const override { return existing.count(path.units()) != 0; }
    std::uint32_t createFolder(const Text& path) override {
        created.push_back(path);
        if (const auto failure = failures.find(path.units()); failure != failures.end()) return failure->second;
        return existing.insert(path.units()).second ? 0 : kErrorAlreadyExists;
    }
    void removeFolder(const Text& path) override {
        removed.push_back(path);
        existing.erase(path.units());
    }
};

// A code page that holds U+0000 to U+00FF (as Latin-1 does) and a table of short forms.
class FakePathNames final : public PathNames {
public:
    std::map<std::u16string, Text> shortForms;
    bool fitsAnsiCodePage(const Text& text) const override {
        for (const char16_t c : text.units()) {
            if (c > 0xFF) return false;
        }
        return true;
    }
    std::optional<Text> shortForm(const Text& path) const override {
        const auto found = shortForms.find(path.units());
        return found == shortForms.end() ? std::nullopt : std::optional<Text>(found->second);
    }
};

// A settings store of in-memory files: path -> section -> key -> value.
class FakeSettingsStore final : public SettingsStore {
public:
    using Sections = std::map<std::u16string, std::map<std::u16string, Text>>;
    std::map<std::u16string, Sections> files;
    Text embedded;            // deciphered embedded text, when upgradeCodeForEmbedded matches
    Text upgradeCodeForEmbedded;
    std::vector<Text> createdFolders;

    void put(const Text& path, const Text& section, const Text& key, const Text& value) {
        files[path.units()][section.units()][key.units()] = value;
    }
    std::unique_ptr<SettingsSource> openFile(const Text& path) const override;
    Text embeddedText(const Text& upgradeCode) const override {
        return upgradeCode == upgradeCodeForEmbedded ? embedded : Text();
    }
    void writeValue(const Text& path, const Text& section, const Text& key, const Text& value) override {
        put(path, section, key, value);
    }
    void createFolder(const Text& path) override { createdFolders.push_back(path); }
};

// Registry keys in memory, per view. Subkeys enumerate in the order they were
// first added; every subkeyNames call is noted in opened.
class FakeRegistry final : public Registry {
public:
    // Creates the key (and its parents) with one string value.
    void put(RegistryView view, const Text& key, const Text& name, const Text& value);
    std::optional<TextList> subkeyNames(const Text& key, RegistryView view) const override;
    std::optional<Text> stringValue(const Text& key, const Text& name, RegistryView view) const override;

    mutable std::vector<std::pair<RegistryView, Text>> opened;

private:
    struct Key {
        TextList subkeys;
        std::map<std::u16string, Text> values;
    };
    Key& create(RegistryView view, const Text& key);
    std::map<std::pair<RegistryView, std::u16string>, Key> keys_;
};
