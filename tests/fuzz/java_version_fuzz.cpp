// Java version parsing, from the version limits, registry key names and the
// release file of a runtime (the whole input read as one).

#include "fuzz_support.h"
#include "launcher/settings_decoding.h"
#include "runtime/java_version.h"
#include "runtime/release_file.h"

namespace {

bool isFill(std::int32_t component) { return component == kMinimumFill || component == kMaximumFill; }

void checkParsed(const Text& text, std::int32_t fill) {
    JavaVersion version;
    const bool parsed = version.parse(text, fill);
    for (const std::int32_t component : version.components) FUZZ_CHECK(component >= 0);
    if (!parsed) FUZZ_CHECK(version == JavaVersion{});

    // The text form parses back to the version; it leaves out only trailing fill values.
    JavaVersion again;
    FUZZ_CHECK(again.parse(version.toText(), kMinimumFill));
    for (std::size_t i = 0; i < version.components.size(); ++i) {
        FUZZ_CHECK(again.components[i] == version.components[i] ||
                   (isFill(version.components[i]) && again.components[i] == kMinimumFill));
    }
    FUZZ_CHECK(compare(version, version) == 0 && matchesPreferred(version, version));
}

void checkReleaseFile(std::string_view content) {
    const auto version = releaseJavaVersion(content);
    if (!version) return;
    FUZZ_CHECK(!version->contains(u'\n'));
    FUZZ_CHECK(content.find("JAVA_VERSION=") != std::string_view::npos);
    checkParsed(*version, kMinimumFill);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkReleaseFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const TextList parts = inputTexts({data, size}, 2);
    checkParsed(parts[0], kMinimumFill);
    checkParsed(parts[0], kMaximumFill);

    const JavaVersion minimum = decodeMinimumVersion(parts[0]);
    const JavaVersion maximum = decodeMaximumVersion(parts[1]);
    FUZZ_CHECK(compare(minimum, maximum) == -compare(maximum, minimum));
    FUZZ_CHECK((compare(minimum, maximum) == 0) == (minimum == maximum));
    if (withinLimits(minimum, minimum, maximum) && !maximum.isUnbounded()) FUZZ_CHECK(compare(minimum, maximum) <= 0);
    FUZZ_CHECK(!describeVersionLimits(minimum, maximum, IdTexts(true)).empty());
    return 0;
}
