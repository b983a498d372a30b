// The launcher's texts as its resources hold them: a string-table block,
// which a resource editor may have damaged, and the formatting of its entries.

#include "common/format.h"
#include "common/string_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzBytes block(data, size);
    std::vector<std::uint8_t> rebuilt;
    TextList entries;
    for (unsigned entry = 0; entry < 16; ++entry) {
        const Text text = stringTableEntry(block, entry);
        FUZZ_CHECK(text.empty() || 2 + 2 * text.length() <= size);
        entries.push_back(text);
        rebuilt.push_back(static_cast<std::uint8_t>(text.length()));
        rebuilt.push_back(static_cast<std::uint8_t>(text.length() >> 8));
        for (const char16_t unit : text.units()) {
            rebuilt.push_back(static_cast<std::uint8_t>(unit));
            rebuilt.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
    }
    FUZZ_CHECK(stringTableEntry(block, 16).empty());
    // The entries written back as a block read the same.
    for (unsigned entry = 0; entry < 16; ++entry) FUZZ_CHECK(stringTableEntry(rebuilt, entry) == entries[entry]);

    for (const Text& format : entries) {
        // Without arguments only placeholders go.
        FUZZ_CHECK(formatText(format, {}).length() <= format.length());
        formatText(format, {Text(u"C:\\Program Files\\Java"), std::int32_t{-2147483647 - 1}});
    }
    return 0;
}
