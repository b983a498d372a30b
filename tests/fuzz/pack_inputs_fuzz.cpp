// What else jlaunch-pack reads from the packager: icon files, its settings
// file and command line with the version fields, and the launcher's manifest.

#include <numeric>
#include <string>

#include "common/splitting.h"
#include "fuzz_support.h"
#include "pack/icon_file.h"
#include "pack/manifest_level.h"
#include "pack/pack_request.h"
#include "pack/text_file.h"

namespace {

void checkIcon(ByteView file) {
    const auto images = readIconFile(file);
    if (!images) return;
    FUZZ_CHECK(!images->empty() && images->size() <= 256);
    std::vector<std::uint16_t> ids(images->size());
    std::iota(ids.begin(), ids.end(), std::uint16_t{1});
    FUZZ_CHECK(iconGroupIds(iconGroup(*images, ids)) == ids);
}

void checkRequest(const Outcome<PackRequest>& request) {
    if (!request) return;
    const auto record = versionRecordOf(*request);
    if (record && *record) FUZZ_CHECK(!buildVersionRecord(**record).empty());
}

void checkVersionNumber(const Text& text) {
    const auto number = parseVersionNumber(text.units());
    if (!number) return;
    std::string written;
    for (const std::uint16_t part : *number) written += std::to_string(part) + '.';
    written.pop_back();
    FUZZ_CHECK(parseVersionNumber(Text::fromUtf8(written).units()) == number);
}

void checkManifest(std::string_view manifest) {
    constexpr std::string_view kLevel = "highestAvailable";
    const auto changed = withExecutionLevel(manifest, kLevel);
    if (!changed) return;
    FUZZ_CHECK(changed->find(kLevel) != std::string::npos);
    FUZZ_CHECK(withExecutionLevel(*changed, kLevel) == changed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    const std::string_view chars(reinterpret_cast<const char*>(data), size);
    checkIcon(bytes);
    iconGroupIds(bytes);

    const Text text = decodeTextFile(chars);
    PackRequest request;
    request.launcher = Text(u"jlaunch.exe");
    request.output = Text(u"C:\\out\\My App.exe");
    checkRequest(withSettingsFile(request, text, Text(u"C:\\pack\\")));
    checkRequest(parsePackCommandLine(splitCommandLine(text)));
    checkVersionNumber(text);
    checkManifest(chars);
    return 0;
}
