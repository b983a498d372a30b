// jlaunch-pack's rewriting of a launcher's resources, over any image it may
// be given. The input's last byte picks which of the four inputs are packed.

#include <algorithm>

#include "common/splitting.h"
#include "fuzz_support.h"
#include "launcher/embedded_settings.h"
#include "pack/launcher_pack.h"
#include "pack/resource_tree.h"
#include "resource_ids.h"
#include "runtime/pe_image.h"

namespace {

// The packer copies image data as it is, so any bytes will do.
IconImage iconImage(std::uint8_t size) { return {size, size, 0, 1, 32, Bytes(4u * size * size, size)}; }

PackInputs inputsFor(std::uint8_t choice) {
    PackInputs inputs;
    if (choice & 1) inputs.icon = {iconImage(16), iconImage(32)};
    if (choice & 2) inputs.version = VersionRecord{{1, 2, 3, 4}, {1, 2, 0, 0}, {{u"ProductName", u"Fuzzed App"}}};
    if (choice & 4) inputs.settingsText = Text(u"[Application]\nCmd=-x\r\n[Java Runtime Environment]\rMain Class=a.B");
    if (choice & 8) inputs.executionLevel = "requireAdministrator";
    inputs.upgradeCode = Text(u"{8A2C}");
    return inputs;
}

std::optional<std::uint16_t> machineOf(ByteView image) {
    const auto offset = ntHeadersOffset(image);
    return offset ? machineAt(image, *offset) : std::nullopt;
}

void checkEmbeddedSettings(const Bytes& packed, const PackInputs& inputs) {
    const auto pe = readPeFile(packed);
    FUZZ_CHECK(static_cast<bool>(pe));
    const auto resources = readResources(packed, *pe);
    FUZZ_CHECK(static_cast<bool>(resources));
    if (!inputs.settingsText) return;
    const ResourceKey type(Text::fromUtf8(EMBEDDED_SETTINGS_TYPE).units());
    const ResourceKey name(std::uint16_t{EMBEDDED_SETTINGS_NAME});
    const auto found = std::find_if(resources->begin(), resources->end(),
                                    [&](const Resource& r) { return r.type == type && r.name == name; });
    FUZZ_CHECK(found != resources->end());
    FUZZ_CHECK(decipherSettings(found->data, inputs.upgradeCode) == withCrLfLineEnds(*inputs.settingsText));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView launcher(data, size);
    const PackInputs inputs = inputsFor(size ? data[size - 1] : 0);
    const auto packed = packLauncher(launcher, inputs);
    if (!packed) return 0;
    FUZZ_CHECK(machineOf(*packed) == machineOf(launcher));
    checkEmbeddedSettings(*packed, inputs);
    // Packing the result again with the same inputs gives the same bytes.
    const auto again = packLauncher(*packed, inputs);
    FUZZ_CHECK(again && *again == *packed);
    return 0;
}
