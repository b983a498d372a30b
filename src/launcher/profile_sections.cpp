#include "launcher/profile_sections.h"

#include <algorithm>

#include "common/splitting.h"

namespace {

bool isAscii(const Text& text) {
    return std::all_of(text.units().begin(), text.units().end(), [](char16_t c) { return c < 0x80; });
}

} // namespace

bool mayHoldSection(const TextList& fileSections, const Text& section) {
    const Text wanted = trimmedWideSpace(section);
    return std::any_of(fileSections.begin(), fileSections.end(), [&](const Text& name) {
        const Text trimmed = trimmedWideSpace(name);
        return !isAscii(trimmed) || trimmed.equalsIgnoreCase(wanted.units());
    });
}
