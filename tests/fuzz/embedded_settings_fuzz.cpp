// The embedded settings decoder: blocks as a damaged resource may hold them,
// and texts enciphered and read back.

#include "fuzz_support.h"
#include "launcher/embedded_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzBytes block(data, size);
    const Text upgradeCode(u"{8A2C4B1E-0000-4000-8000-000000000001}");
    if (const auto text = decipherSettings(block, upgradeCode)) {
        FUZZ_CHECK(12 + 2 * text->length() <= size);
    }

    // Any text comes back as it went in, whatever the key; a block cut short is refused.
    const TextList parts = inputTexts(block, 2);
    const auto enciphered = encipherSettings(parts[0], parts[1]);
    FUZZ_CHECK(decipherSettings(enciphered, parts[1]) == parts[0]);
    if (!parts[0].empty()) FUZZ_CHECK(!decipherSettings(FuzzBytes(enciphered).first(enciphered.size() - 1), parts[1]));
    return 0;
}
