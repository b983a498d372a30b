#include "launcher/service_settings.h"

#include "common/splitting.h"
#include "launcher/ini_text.h"
#include "launcher/settings_decoding.h"
#include "launcher/settings_keys.h"
#include "launcher/settings_paths.h"

namespace keys = settings_keys;

namespace {

// Java allows letters of any script; every unit beyond ASCII is taken as one.
bool isIdentifierUnit(char16_t c, bool first) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u'$' || c >= 0x80) return true;
    return !first && c >= u'0' && c <= u'9';
}

// Identifiers joined by single dots, at least two of them.
bool isQualifiedName(const Text& name) {
    bool segmentStart = true;
    bool dotted = false;
    for (const char16_t c : name.units()) {
        if (c == u'.') {
            if (segmentStart) return false;
            segmentStart = dotted = true;
        } else if (isIdentifierUnit(c, segmentStart)) {
            segmentStart = false;
        } else {
            return false;
        }
    }
    return dotted && !segmentStart;
}

// Plain ASCII digits, from 1 to the longest wait.
std::optional<std::uint32_t> decodeStopSeconds(const Text& written) {
    if (written.empty() || written.length() > 9) return std::nullopt;
    std::uint32_t seconds = 0;
    for (const char16_t c : written.units()) {
        if (c < u'0' || c > u'9') return std::nullopt;
        seconds = seconds * 10 + (c - u'0');
    }
    if (seconds == 0 || seconds > kLongestServiceStopSeconds) return std::nullopt;
    return seconds;
}

} // namespace

ServiceStopSettings decodeServiceStop(const Text& method, const Text& timeout) {
    ServiceStopSettings stop;
    const Text methodText = trimmedWideSpace(method);
    if (isQualifiedName(methodText)) {
        const std::size_t dot = *methodText.findLast(u'.');
        stop.method = ServiceStopMethod{methodText.left(dot).replaced(u'.', u'/'), methodText.mid(dot + 1), methodText};
    } else {
        stop.unusableMethod = methodText;  // empty when not set
    }
    const Text timeoutText = trimmedWideSpace(timeout);
    if (const auto seconds = decodeStopSeconds(timeoutText)) {
        stop.timeoutSeconds = *seconds;
    } else {
        stop.unusableTimeout = timeoutText;
    }
    return stop;
}

std::optional<ServiceConfiguration> readServiceConfiguration(const SettingsStore& store, const Text& modulePath) {
    const auto file = settingsFilePath(modulePath);
    if (!file) return std::nullopt;
    // The layers as the launch reads them: the file's "Upgrade Code" selects the embedded text.
    auto fileSource = store.openFile(*file);
    const Text upgradeCode = fileSource->read(keys::kUpgradeCode);
    const LayeredSettings layered(parseIniText(store.embeddedText(upgradeCode)), std::move(fileSource));
    if (!decodeIsService(layered.read(keys::kApplicationType))) return std::nullopt;
    return ServiceConfiguration{layered.read(keys::kErrorFile)};
}

ServiceExitCodes serviceExitCodesFor(std::uint32_t applicationExitCode) {
    if (applicationExitCode == 0) return {};
    return {kServiceSpecificError, applicationExitCode};
}
