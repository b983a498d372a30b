#include "vm/manifest_text.h"

#include <string>

namespace {

constexpr std::string_view kMainClass = "main-class";

// The next line without its end (CR LF, LF or CR); advances position past it.
std::string_view nextLine(std::string_view text, std::size_t& position) {
    const std::size_t start = position;
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    position = end;
    if (position < text.size() && text[position] == '\r') ++position;
    if (position < text.size() && text[position] == '\n') ++position;
    return text.substr(start, end - start);
}

bool isMainClassHeader(std::string_view name) {
    if (name.size() != kMainClass.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char lower = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
        if (lower != kMainClass[i]) return false;
    }
    return true;
}

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<Text> manifestMainClass(std::string_view manifest) {
    std::optional<std::string> value;
    bool inMainClass = false;
    std::size_t position = 0;
    while (position < manifest.size()) {
        const std::string_view line = nextLine(manifest, position);
        if (line.empty()) break;  // the main section ends here
        if (line.front() == ' ') {
            if (inMainClass) value->append(line.substr(1));
            continue;
        }
        const std::size_t colon = line.find(':');
        inMainClass = colon != std::string_view::npos && isMainClassHeader(line.substr(0, colon));
        if (inMainClass) value = std::string(line.substr(colon + 1));
    }
    if (!value) return std::nullopt;
    const std::string_view trimmed = trimmedBlanks(*value);
    if (trimmed.empty()) return std::nullopt;
    return Text::fromUtf8(trimmed);
}
