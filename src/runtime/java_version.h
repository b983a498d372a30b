#pragma once
// A runtime version of four signed 32-bit components, most significant first.

#include <array>
#include <cstdint>

#include "common/text.h"
#include "common/messages.h"

struct JavaVersion {
    std::array<std::int32_t, 4> components{0, 0, 0, 0};

    // Reads up to four digit groups; missing groups take the fill value.
    // On failure (no digit, or a group above 2147483647) the version is 0.0.0.0.
    bool parse(const Text& text, std::int32_t fill);
    bool isUnbounded() const;
    // Shortest dotted form with at least two components.
    Text toText() const;

    friend bool operator==(const JavaVersion&, const JavaVersion&) = default;
};

// -1, 0 or 1, lexicographic over the components.
int compare(const JavaVersion& a, const JavaVersion& b);
bool withinLimits(const JavaVersion& version, const JavaVersion& minimum, const JavaVersion& maximum);
bool matchesPreferred(const JavaVersion& candidate, const JavaVersion& preferred);
// The phrase of the runtime-not-found message that names the limits, such as
// "minimum version 1.5".
Text describeVersionLimits(const JavaVersion& minimum, const JavaVersion& maximum, const Messages& messages);

constexpr std::int32_t kMinimumFill = 0;
constexpr std::int32_t kMaximumFill = 65535;
