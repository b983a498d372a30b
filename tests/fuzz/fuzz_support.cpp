#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

void fuzzCheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
    std::abort();
}

TextList inputTexts(FuzzBytes input, std::size_t count) {
    TextList texts;
    auto rest = input;
    while (texts.size() + 1 < count) {
        const auto cut = std::find(rest.begin(), rest.end(), std::uint8_t{0xFF});
        const auto length = static_cast<std::size_t>(cut - rest.begin());
        texts.push_back(Text::fromUtf8(std::string_view(reinterpret_cast<const char*>(rest.data()), length)));
        rest = rest.subspan(std::min(length + 1, rest.size()));
    }
    texts.push_back(Text::fromUtf8(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size())));
    return texts;
}

Text unitsText(FuzzBytes input) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
        units += static_cast<char16_t>(input[i] | (input[i + 1] << 8));
    }
    return Text(std::move(units));
}

void putDocument(FakeSettingsStore& store, const Text& path, const IniTextDocument& document) {
    auto& file = store.files[path.units()];
    for (const auto& section : document.sections()) {
        if (file.count(section.name.units())) continue;
        auto& values = file[section.name.units()];
        for (const auto& [key, value] : section.entries) values.try_emplace(key.units(), value);
    }
}

