#include "launcher/ini_text.h"

#include "common/splitting.h"

namespace {

bool isSectionHeader(const Text& line) {
    std::size_t begin = 0;
    std::size_t end = line.length();
    while (begin < end && line[begin] <= u' ') ++begin;
    while (end > begin && line[end - 1] <= u' ') --end;
    return end - begin >= 2 && line[begin] == u'[' && line[end - 1] == u']';
}

} // namespace

const Text* IniTextDocument::find(const Text& section, const Text& key) const {
    for (const auto& candidate : sections_) {
        if (!(candidate.name == section)) continue;
        for (const auto& [name, value] : candidate.entries) {
            if (name == key) return &value;
        }
        return nullptr; // only the first section of a name is searched
    }
    return nullptr;
}

Text IniTextDocument::getString(const Text& section, const Text& key) const {
    const Text* value = find(section, key);
    return value ? *value : Text();
}

IniTextDocument parseIniText(const Text& text) {
    IniTextDocument document;
    TextList lines = splitList(text, Text(u"\r\n"));
    if (!lines.empty() && lines.front().startsWith(u"\uFEFF")) lines.front().erase(0, 1);

    auto& sections = document.sections();
    for (const Text& line : lines) {
        if (line.empty()) continue;
        if (isSectionHeader(line)) {
            const std::size_t open = *line.findFirst(u'[');
            const std::size_t close = *line.findLast(u']');
            sections.push_back({line.mid(open + 1, close - open - 1), {}});
            continue;
        }
        const auto equals = line.findFirst(u'=');
        if (sections.empty() || !equals) continue;
        sections.back().entries.emplace_back(trimmedWideSpace(line.left(*equals)),
                                             trimmedWideSpace(line.mid(*equals + 1)));
    }
    return document;
}
