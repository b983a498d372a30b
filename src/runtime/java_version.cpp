#include "runtime/java_version.h"

#include <algorithm>
#include <limits>
#include <string>

#include "common/format.h"

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

} // namespace

bool JavaVersion::parse(const Text& text, std::int32_t fill) {
    components = {0, 0, 0, 0};
    const std::u16string& units = text.units();
    std::size_t pos = 0;
    while (pos < units.size() && !isDigit(units[pos])) ++pos;
    if (pos == units.size()) return false;

    std::size_t supplied = 0;
    while (supplied < components.size() && pos < units.size()) {
        std::int64_t value = 0;
        for (; pos < units.size() && isDigit(units[pos]); ++pos) {
            value = value * 10 + (units[pos] - u'0');
            if (value > std::numeric_limits<std::int32_t>::max()) {
                components = {0, 0, 0, 0};
                return false;
            }
        }
        components[supplied++] = static_cast<std::int32_t>(value);
        while (pos < units.size() && !isDigit(units[pos])) ++pos;
    }
    for (std::size_t i = supplied; i < components.size(); ++i) components[i] = fill;
    return true;
}

bool JavaVersion::isUnbounded() const {
    return components == std::array<std::int32_t, 4>{0, 0, 0, 0} ||
           components == std::array<std::int32_t, 4>{65535, 65535, 65535, 65535};
}

Text JavaVersion::toText() const {
    int last = -1;
    for (int i = 3; i >= 0; --i) {
        if (components[i] != 0 && components[i] != 65535) {
            last = i;
            break;
        }
    }
    if (last < 0) return Text(u"0.0.0.0");
    std::string out;
    for (int i = 0; i <= std::max(last, 1); ++i) {
        if (i > 0) out += '.';
        out += std::to_string(components[i]);
    }
    return Text::fromUtf8(out);
}

int compare(const JavaVersion& a, const JavaVersion& b) {
    for (std::size_t i = 0; i < a.components.size(); ++i) {
        if (a.components[i] != b.components[i]) return a.components[i] < b.components[i] ? -1 : 1;
    }
    return 0;
}

bool withinLimits(const JavaVersion& version, const JavaVersion& minimum, const JavaVersion& maximum) {
    return (maximum.isUnbounded() || compare(version, maximum) <= 0) &&
           (minimum.isUnbounded() || compare(version, minimum) >= 0);
}

bool matchesPreferred(const JavaVersion& candidate, const JavaVersion& preferred) {
    if (candidate == preferred) return true;
    std::size_t significant = preferred.components.size();
    while (significant > 0 && preferred.components[significant - 1] == 0) --significant;
    for (std::size_t i = 0; i < significant; ++i) {
        if (candidate.components[i] != preferred.components[i]) return false;
    }
    return true;
}

Text describeVersionLimits(const JavaVersion& minimum, const JavaVersion& maximum, const Messages& messages) {
    const auto loadText = [&](TextId id) { return messages.text(id); };
    if (minimum.isUnbounded() && maximum.isUnbounded()) return loadText(IDS_LATEST_VERSION);
    if (minimum.isUnbounded()) return formatText(loadText(IDS_MAXIMUM_VERSION), {maximum.toText()});
    if (maximum.isUnbounded()) return formatText(loadText(IDS_MINIMUM_VERSION), {minimum.toText()});
    if (minimum == maximum) return formatText(loadText(IDS_VERSION_REQUIRED), {minimum.toText()});
    return formatText(loadText(IDS_VERSION_BETWEEN), {minimum.toText(), maximum.toText()});
}
