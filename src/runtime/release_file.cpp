#include "runtime/release_file.h"

namespace {

constexpr std::string_view kKey = "JAVA_VERSION=";

std::string_view valueOf(std::string_view rest) {
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        return rest.substr(0, rest.find('"'));
    }
    const auto end = rest.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view() : rest.substr(0, end + 1);
}

} // namespace

std::optional<Text> releaseJavaVersion(std::string_view content) {
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view line = content.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, kKey.size()) == kKey) return Text::fromUtf8(valueOf(line.substr(kKey.size())));
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
    }
    return std::nullopt;
}
