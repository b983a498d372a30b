// The link's colour values as the registry holds them, and where its label lies.

#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "runtime/hyper_link.h"

namespace {

std::basic_string<std::uint8_t> registryText(const std::u16string& text) {
    std::basic_string<std::uint8_t> bytes;
    for (const char16_t unit : text + u'\0') {
        bytes += static_cast<std::uint8_t>(unit & 0xFF);
        bytes += static_cast<std::uint8_t>(unit >> 8);
    }
    return bytes;
}

std::u16string decimal(unsigned value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

int fromBytes(FuzzBytes bytes, std::size_t at) {
    std::int16_t value = 0;
    if (bytes.size() >= at + sizeof value) std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const FuzzBytes input{data, size};
    const std::uint32_t type = input[0] % 4;
    const auto colour = anchorColour(type, input.subspan(1));
    if (colour) {
        FUZZ_CHECK(type == kRegistryString || type == kRegistryExpandString);
        FUZZ_CHECK(size - 1 <= kMaxAnchorColourBytes);
        // What was read, written back in its plain form, reads the same.
        const auto again = anchorColour(type, registryText(decimal(colour->red) + u',' + decimal(colour->green) +
                                                           u',' + decimal(colour->blue)));
        FUZZ_CHECK(again && *again == *colour);
    }

    // The label never leaves a well-formed client area, whatever it measures.
    const Rect client{fromBytes(input, 1), fromBytes(input, 3), fromBytes(input, 1) + std::abs(fromBytes(input, 5)),
                      fromBytes(input, 3) + std::abs(fromBytes(input, 7))};
    const Size label{std::abs(fromBytes(input, 9)), std::abs(fromBytes(input, 11))};
    for (const auto alignment : {LabelAlignment::Left, LabelAlignment::Centre, LabelAlignment::Right}) {
        const Rect area = labelArea(client, label, alignment);
        FUZZ_CHECK(area.left >= client.left && area.right <= client.right);
        FUZZ_CHECK(area.top == client.top && area.bottom <= client.bottom);
    }
    return 0;
}
