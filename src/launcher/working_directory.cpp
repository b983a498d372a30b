#include "launcher/working_directory.h"

std::optional<Text> overriddenWorkingDirectory(const Text& modulePath) {
    const auto slash = modulePath.findLast(u'\\');
    if (!slash || *slash == 0) return std::nullopt;
    return modulePath.left(*slash);
}
