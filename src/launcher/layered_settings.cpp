#include "launcher/layered_settings.h"

Text LayeredSettings::getString(const Text& section, const Text& key) const {
    Text result = embedded_.getString(section, key);
    const Text fileValue = file_->getString(section, key);
    if (!fileValue.empty()) return fileValue;

    const Text extension = file_->getString(section + u'+', key);
    if (!extension.empty()) {
        if (extension.front() != u' ') result += u' ';
        result += extension;
    }
    return result;
}
