#include "vm/vm_parameters.h"

#include <optional>
#include <string>

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kBlank = u' ';

// Where the section opened at `open` ends (the index of its last quote), if it is closed.
std::optional<std::size_t> sectionEnd(const std::u16string& units, std::size_t open) {
    const auto close = units.find(kQuote, open + 1);
    if (close == std::u16string::npos) return std::nullopt;
    const bool pair = close + 1 < units.size() && units[close + 1] == kQuote;
    return pair ? close + 1 : close;
}

std::size_t tokenEnd(const std::u16string& units, std::size_t pos) {
    while (pos < units.size() && units[pos] != kBlank) {
        const auto end = units[pos] == kQuote ? sectionEnd(units, pos) : std::nullopt;
        pos = end ? *end + 1 : pos + 1;
    }
    return pos;
}

} // namespace

TextList splitVmParameters(const Text& parameters) {
    TextList tokens;
    const std::u16string& units = parameters.units();
    std::size_t pos = 0;
    for (;;) {
        while (pos < units.size() && units[pos] == kBlank) ++pos;
        if (pos == units.size()) break;
        const std::size_t end = tokenEnd(units, pos);
        tokens.push_back(parameters.mid(pos, end - pos));
        pos = end;
    }
    return tokens;
}

Text removeQuotes(Text token) {
    std::size_t from = 0;
    for (;;) {
        const auto open = token.findFirst(kQuote, from);
        if (!open) break;
        const auto close = sectionEnd(token.units(), *open);
        if (!close) break;
        token.erase(*close, 1);
        token.erase(*open, 1);
        from = *close - 1;  // just past the kept content
    }
    return token;
}
