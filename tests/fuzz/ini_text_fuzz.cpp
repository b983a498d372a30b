// The settings text reader, over any file a packager might write: the text
// file decoding of jlaunch-pack's settings, then the INI reader.

#include <string_view>

#include "common/splitting.h"
#include "fuzz_support.h"
#include "pack/text_file.h"

namespace {

bool sameDocument(const IniTextDocument& a, const IniTextDocument& b) {
    if (a.sections().size() != b.sections().size()) return false;
    for (std::size_t i = 0; i < a.sections().size(); ++i) {
        const auto& x = a.sections()[i];
        const auto& y = b.sections()[i];
        if (!(x.name == y.name) || x.entries != y.entries) return false;
    }
    return true;
}

bool isFirstSectionNamed(const IniTextDocument& document, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        if (document.sections()[i].name == document.sections()[index].name) return false;
    }
    return true;
}

void checkEntries(const IniTextDocument& document) {
    for (std::size_t s = 0; s < document.sections().size(); ++s) {
        const auto& section = document.sections()[s];
        FUZZ_CHECK(!section.name.contains(u"\r\n"));
        for (std::size_t e = 0; e < section.entries.size(); ++e) {
            const auto& [key, value] = section.entries[e];
            FUZZ_CHECK(!key.contains(u'=') && !key.contains(u"\r\n") && !value.contains(u"\r\n"));
            FUZZ_CHECK(trimmedWideSpace(key) == key && trimmedWideSpace(value) == value);
            // A lookup finds the first section of a name and the first entry of a key in it.
            const Text* found = document.find(section.name, key);
            if (!isFirstSectionNamed(document, s)) continue;
            FUZZ_CHECK(found != nullptr);
            FUZZ_CHECK(found == &value || found < &value);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text = decodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const IniTextDocument document = parseIniText(text);
    checkEntries(document);
    if (!text.startsWith(u"\uFEFF")) FUZZ_CHECK(sameDocument(parseIniText(Text(u"\uFEFF") + text), document));
    return 0;
}
