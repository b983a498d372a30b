#include "launcher/restart_rules.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/splitting.h"

namespace {

// Plain ASCII digits with an optional '-', the whole piece, from min to max.
std::optional<std::int64_t> wholeNumber(const Text& piece, std::int64_t min, std::int64_t max) {
    const std::u16string& units = piece.units();
    const bool negative = !units.empty() && units.front() == u'-';
    const std::size_t first = negative ? 1 : 0;
    if (units.size() == first || units.size() - first > 19) return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = first; i < units.size(); ++i) {
        if (units[i] < u'0' || units[i] > u'9') return std::nullopt;
        value = value * 10 + (units[i] - u'0');
        // Past the range already: further digits only take it further.
        if (value > max && value > -min) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < min || value > max) return std::nullopt;
    return value;
}

// Far beyond any clock reading, and small enough that one more digit cannot overflow.
constexpr std::int64_t kLargestTime = std::int64_t{1} << 59;

bool withinWindow(std::uint64_t time, std::uint64_t now) {
    return time <= now && now - time < kRestartWindowMs;
}

} // namespace

bool RestartExitCodes::contains(std::int32_t code) const {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

RestartExitCodes decodeRestartExitCodes(const Text& value) {
    RestartExitCodes decoded;
    for (const Text& raw : splitList(value, Text(u";"))) {
        const Text piece = trimmedWideSpace(raw);
        if (piece.empty()) continue;
        const auto code = wholeNumber(piece, INT32_MIN, INT32_MAX);
        if (code && *code != 0) {
            decoded.codes.push_back(static_cast<std::int32_t>(*code));
        } else {
            decoded.ignored.push_back(piece);
        }
    }
    return decoded;
}

RestartChain parseRestartChain(const Text& value) {
    const TextList parts = splitList(value, Text(u":"));
    if (parts.size() != 2) return {};
    const auto processId = wholeNumber(parts[0], 0, UINT32_MAX);
    if (!processId) return {};
    RestartChain chain{static_cast<std::uint32_t>(*processId), {}};
    for (const Text& piece : splitList(parts[1], Text(u","))) {
        const auto time = wholeNumber(piece, 0, kLargestTime);
        if (!time) return {};
        chain.restartTimes.push_back(static_cast<std::uint64_t>(*time));
    }
    return chain;
}

Text formatRestartChain(const RestartChain& chain) {
    const auto append = [](Text& text, std::uint64_t number) {
        char16_t digits[20];
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char16_t>(u'0' + number % 10);
            number /= 10;
        } while (number != 0);
        while (count > 0) text += digits[--count];
    };
    Text text;
    append(text, chain.previousProcessId);
    text += u':';
    for (std::size_t i = 0; i < chain.restartTimes.size(); ++i) {
        if (i > 0) text += u',';
        append(text, chain.restartTimes[i]);
    }
    return text;
}

bool restartAllowed(const RestartChain& chain, std::uint64_t now) {
    const auto recent = std::count_if(chain.restartTimes.begin(), chain.restartTimes.end(),
                                      [now](std::uint64_t time) { return withinWindow(time, now); });
    return static_cast<std::size_t>(recent) < kMostRestartsInWindow;
}

RestartChain nextRestartChain(const RestartChain& chain, std::uint32_t processId, std::uint64_t now) {
    RestartChain next{processId, {}};
    for (const std::uint64_t time : chain.restartTimes) {
        if (withinWindow(time, now)) next.restartTimes.push_back(time);
    }
    next.restartTimes.push_back(now);
    return next;
}
