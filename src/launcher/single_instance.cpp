#include "launcher/single_instance.h"

#include <string>

#include "launcher/settings_decoding.h"
#include "launcher/settings_keys.h"

namespace keys = settings_keys;

bool singleInstanceRequested(const SettingsSource& layered) {
    if (decodeIsService(layered.read(keys::kApplicationType))) return false;
    return decodeSingleInstance(layered.read(keys::kSingleInstance));
}

Text instanceName(const Text& modulePath) {
    return modulePath.replaced(u'\\', u'_');
}

Text mainStartedEventName(const Text& instance) {
    return instance + u"_upr_evt";
}

Text handOverMutexName(const Text& instance) {
    return instance + u"_hand_over";
}

Text argumentsTakenEventName(const Text& instance, std::uint32_t laterThreadId) {
    return instance + u"_taken_" + Text::fromUtf8(std::to_string(laterThreadId));
}
