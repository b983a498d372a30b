// The UTF-8 decoder (settings files, ASCII texts) and the modified UTF-8
// decoder (strings from the VM), over any bytes and any unit sequence.

#include <string>
#include <string_view>

#include "fuzz_support.h"

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// What UTF-8 can carry of a text: a surrogate outside a pair becomes U+FFFD.
Text pairedOnly(const Text& text) {
    std::u16string out;
    const auto& units = text.units();
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            out += units[i];
            out += units[++i];
        } else {
            out += isHighSurrogate(units[i]) || isLowSurrogate(units[i]) ? u'\uFFFD' : units[i];
        }
    }
    return Text(std::move(out));
}

// Modified UTF-8 as the VM writes it: NUL as C0 80, every unit on its own, surrogates included.
std::string modifiedUtf8(const Text& text) {
    std::string out;
    for (const char16_t unit : text.units()) {
        if (unit != 0 && unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (unit < 0x800) {
            out += static_cast<char>(0xC0 | unit >> 6);
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | unit >> 12);
            out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

void checkRoundTrips(const Text& text) {
    FUZZ_CHECK(Text::fromUtf8(text.toUtf8()) == pairedOnly(text));
    FUZZ_CHECK(Text::fromModifiedUtf8(modifiedUtf8(text)) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text standard = Text::fromUtf8(bytes);
    const Text modified = Text::fromModifiedUtf8(bytes);
    FUZZ_CHECK(standard.length() <= size && modified.length() <= size);
    checkRoundTrips(standard);
    checkRoundTrips(modified);
    checkRoundTrips(unitsText({data, size}));
    return 0;
}
