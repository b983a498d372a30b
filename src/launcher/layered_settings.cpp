#include "launcher/layered_settings.h"

LayeredValue LayeredSettings::lookup(const Text& section, const Text& key) const {
    Text fileValue = file_->getString(section, key);
    if (!fileValue.empty()) return {std::move(fileValue), ValueOrigin::File};

    LayeredValue result{embedded_.getString(section, key), ValueOrigin::Absent};
    const bool embedded = !result.value.empty();
    if (embedded) result.origin = ValueOrigin::Embedded;
    const Text extension = file_->getString(section + u'+', key);
    if (!extension.empty()) {
        if (extension.front() != u' ') result.value += u' ';
        result.value += extension;
        result.origin = embedded ? ValueOrigin::EmbeddedExtended : ValueOrigin::Extension;
    }
    return result;
}
