#include "test_support.h"

#include <string>

void PrintTo(const Text& text, std::ostream* out) { *out << '"' << text.toUtf8() << '"'; }

void PrintTo(const Rect& rect, std::ostream* out) {
    *out << rect.left << ',' << rect.top << ',' << rect.right << ',' << rect.bottom;
}

void PrintTo(const Point& point, std::ostream* out) { *out << '(' << point.x << ',' << point.y << ')'; }

Text IdTexts::text(TextId id) const {
    return Text::fromUtf8("#" + std::to_string(id) + (showArguments_ ? "(%s|%s)" : ""));
}

void IdTexts::report(TextId formatId, std::initializer_list<FormatArg> args) {
    if (showArguments_) return Messages::report(formatId, args);
    Text message = Text::fromUtf8("#" + std::to_string(formatId) + "(");
    for (const FormatArg& argument : args) {
        if (message.back() != u'(') message += u'|';
        const auto* text = std::get_if<Text>(&argument);
        message += text ? *text : Text::fromUtf8(std::to_string(std::get<std::int32_t>(argument)));
    }
    showError(message + u")");
}

TextList FakeFiles::findNames(const Text& pattern) const {
    const auto slash = pattern.findLast(u'\\');
    const Text folder = slash ? pattern.left(*slash + 1) : Text();
    const Text mask = slash ? pattern.mid(*slash + 1) : pattern;
    const Text suffix = mask.startsWith(u"*") ? mask.mid(1) : mask;
    TextList names;
    for (const auto& path : paths_) {
        const Text candidate(path);
        if (!candidate.startsWith(folder.units())) continue;
        const Text name = candidate.mid(folder.length());
        if (name.contains(u'\\')) continue;
        if (mask.startsWith(u"*") ? name.endsWith(suffix.units()) : name == mask) names.push_back(name);
    }
    return names;
}

bool FakeFiles::exists(const Text& path) const {
    if (!path.endsWith(u"\\*")) return paths_.count(path.units()) != 0;
    const std::u16string folder = path.left(path.length() - 1).units();
    const auto next = paths_.lower_bound(folder);
    return next != paths_.end() && next->substr(0, folder.size()) == folder;
}

std::optional<std::string> FakeFiles::readStart(const Text& path, std::size_t maxBytes) const {
    const auto found = contents_.find(path.units());
    if (found == contents_.end()) return std::nullopt;
    return found->second.substr(0, maxBytes);
}

std::optional<Text> FakeFiles::finalPath(const Text& path) const {
    Text current = path;
    for (int hops = 0; hops < 8; ++hops) {
        if (!exists(current)) return std::nullopt;
        const auto link = links_.find(current.units());
        if (link == links_.end()) return current;
        current = link->second;
    }
    return std::nullopt;  // a loop of links
}

Text FakeEnvironment::get(const Text& name) const {
    const auto found = variables.find(name.units());
    return found == variables.end() ? Text() : found->second;
}

Text FakeEnvironment::expand(const Text& text) const {
    Text out;
    std::size_t pos = 0;
    while (pos < text.length()) {
        const auto open = text.findFirst(u'%', pos);
        const auto close = open ? text.findFirst(u'%', *open + 1) : std::nullopt;
        if (!close) break;
        out += text.mid(pos, *open - pos);
        const auto found = variables.find(text.mid(*open + 1, *close - *open - 1).units());
        if (found != variables.end()) {
            out += found->second;
            pos = *close + 1;
        } else {
            out += text.mid(*open, *close - *open);  // unknown names stay as written
            pos = *close;
        }
    }
    return out + text.mid(pos);
}

namespace {

class FakeFileSource final : public SettingsSource {
public:
    explicit FakeFileSource(FakeSettingsStore::Sections sections) : sections_(std::move(sections)) {}
    Text getString(const Text& section, const Text& key) const override {
        const auto s = sections_.find(section.units());
        if (s == sections_.end()) return {};
        const auto k = s->second.find(key.units());
        return k == s->second.end() ? Text() : k->second;
    }

private:
    FakeSettingsStore::Sections sections_;
};

} // namespace

std::unique_ptr<SettingsSource> FakeSettingsStore::openFile(const Text& path) const {
    const auto found = files.find(path.units());
    return std::make_unique<FakeFileSource>(found == files.end() ? Sections{} : found->second);
}

FakeRegistry::Key& FakeRegistry::create(RegistryView view, const Text& key) {
    const auto [entry, added] = keys_.try_emplace({view, key.units()});
    if (const auto slash = key.findLast(u'\\'); added && slash) {
        create(view, key.left(*slash)).subkeys.push_back(key.mid(*slash + 1));
    }
    return entry->second;
}

void FakeRegistry::put(RegistryView view, const Text& key, const Text& name, const Text& value) {
    create(view, key).values[name.units()] = value;
}

std::optional<TextList> FakeRegistry::subkeyNames(const Text& key, RegistryView view) const {
    opened.emplace_back(view, key);
    const auto found = keys_.find({view, key.units()});
    if (found == keys_.end()) return std::nullopt;
    return found->second.subkeys;
}

std::optional<Text> FakeRegistry::stringValue(const Text& key, const Text& name, RegistryView view) const {
    const auto found = keys_.find({view, key.units()});
    if (found == keys_.end()) return std::nullopt;
    const auto value = found->second.values.find(name.units());
    if (value == found->second.values.end()) return std::nullopt;
    return value->second;
}
