#include "pack/manifest_level.h"

namespace {

constexpr std::string_view kElement = "requestedExecutionLevel";
constexpr std::string_view kAttribute = "level";

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The start of the element's name, after "<" or a namespace prefix ("<ms_asmv3:").
std::optional<std::size_t> findElement(std::string_view manifest) {
    for (std::size_t at = manifest.find(kElement); at != std::string_view::npos; at = manifest.find(kElement, at + 1)) {
        const std::size_t end = at + kElement.size();
        const bool opened = at > 0 && (manifest[at - 1] == '<' || manifest[at - 1] == ':');
        if (opened && end < manifest.size() && (isSpace(manifest[end]) || manifest[end] == '/' || manifest[end] == '>')) {
            return at;
        }
    }
    return std::nullopt;
}

// The quoted value of the level attribute inside the tag: its start and length.
std::optional<std::pair<std::size_t, std::size_t>> findLevelValue(std::string_view tag, std::size_t offset) {
    for (std::size_t at = tag.find(kAttribute); at != std::string_view::npos; at = tag.find(kAttribute, at + 1)) {
        if (!isSpace(tag[at - 1])) continue;
        std::size_t i = at + kAttribute.size();
        while (i < tag.size() && isSpace(tag[i])) ++i;
        if (i == tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && isSpace(tag[i])) ++i;
        if (i == tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
        const std::size_t close = tag.find(tag[i], i + 1);
        if (close == std::string_view::npos) return std::nullopt;
        return std::pair{offset + i + 1, close - i - 1};
    }
    return std::nullopt;
}

} // namespace

bool isExecutionLevel(std::string_view level) {
    return level == "asInvoker" || level == "highestAvailable" || level == "requireAdministrator";
}

std::optional<std::string> withExecutionLevel(std::string_view manifest, std::string_view level) {
    const auto element = findElement(manifest);
    if (!element) return std::nullopt;
    const std::size_t tagEnd = manifest.find('>', *element);
    if (tagEnd == std::string_view::npos) return std::nullopt;
    std::string result(manifest);
    if (const auto value = findLevelValue(manifest.substr(*element, tagEnd - *element), *element)) {
        return result.replace(value->first, value->second, level);
    }
    return result.insert(*element + kElement.size(), " level=\"" + std::string(level) + "\"");
}
