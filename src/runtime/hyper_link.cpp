#include "runtime/hyper_link.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace {

std::u16string_view trimmedBlanks(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    return text;
}

// A decimal number by its lowest 8 bits; the remainder modulo 256 of each
// step keeps the value exact however many digits there are.
std::optional<std::uint8_t> lowByteOfNumber(std::u16string_view field) {
    field = trimmedBlanks(field);
    if (field.empty()) return std::nullopt;
    unsigned value = 0;
    for (const char16_t c : field) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = (value * 10 + static_cast<unsigned>(c - u'0')) & 0xFF;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<Rgb> parseRgb(std::u16string_view text) {
    std::array<std::uint8_t, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const std::size_t end = last ? text.size() : text.find(u',');
        if (end == std::u16string_view::npos) return std::nullopt;
        const auto number = lowByteOfNumber(text.substr(0, end));
        if (!number) return std::nullopt;
        parts[i] = *number;
        text.remove_prefix(last ? end : end + 1);
    }
    return Rgb{parts[0], parts[1], parts[2]};
}

} // namespace

std::optional<Rgb> anchorColour(std::uint32_t type, std::span<const std::uint8_t> bytes) {
    if (type != kRegistryString && type != kRegistryExpandString) return std::nullopt;
    if (bytes.size() > kMaxAnchorColourBytes) return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    const std::size_t terminator = units.find(u'\0');
    if (terminator == std::u16string::npos) return std::nullopt;
    return parseRgb(std::u16string_view(units).substr(0, terminator));
}

Rect labelArea(const Rect& client, Size label, LabelAlignment alignment) {
    int left = client.left;
    if (alignment == LabelAlignment::Centre) left += (client.width() - label.width) / 2;
    if (alignment == LabelAlignment::Right) left = client.right - label.width;
    return {std::max(left, client.left), client.top, std::min(left + label.width, client.right),
            std::min(client.top + label.height, client.bottom)};
}
