// The PE header check that tells a 32-bit JVM library from a 64-bit one, and
// what jlaunch-explain reads of a JVM library's file: machine and exports.

#include "explain/library_facts.h"
#include "fuzz_support.h"
#include "runtime/pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzBytes image(data, size);
    const auto offset = ntHeadersOffset(image);
    if (offset) {
        FUZZ_CHECK(data[0] == 'M' && data[1] == 'Z');
        FUZZ_CHECK(*offset == (data[0x3C] | data[0x3D] << 8 | data[0x3E] << 16 | std::size_t{data[0x3F]} << 24));
        FUZZ_CHECK(*offset + 24 <= size);
        if (const auto machine = machineAt(image, *offset)) {
            FUZZ_CHECK(data[*offset] == 'P' && data[*offset + 1] == 'E' && !data[*offset + 2] && !data[*offset + 3]);
            FUZZ_CHECK(*machine == (data[*offset + 4] | data[*offset + 5] << 8));
        }
    }
    const LibraryFacts facts = libraryFactsOf(image);
    FUZZ_CHECK(facts.machine == (offset ? machineAt(image, *offset) : std::nullopt));
    FUZZ_CHECK(!facts.exportsEntryPoints || facts.machine);
    // Offsets a damaged header could name.
    for (const std::size_t at : {size, size - 1, size - 24, std::size_t{0}, ~std::size_t{0}}) machineAt(image, at);
    return 0;
}
