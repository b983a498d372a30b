#include "vm/memory_sizing.h"

#include <array>
#include <limits>
#include <string>

namespace {

constexpr std::uint64_t kMaxSize = std::numeric_limits<std::uint64_t>::max();

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b) {
    return (b != 0 && a > kMaxSize / b) ? kMaxSize : a * b;
}

std::uint64_t appendDigit(std::uint64_t number, char16_t digit) {
    const std::uint64_t shifted = saturatingMultiply(number, 10);
    const std::uint64_t value = static_cast<std::uint64_t>(digit - u'0');
    return shifted > kMaxSize - value ? kMaxSize : shifted + value;
}

// Percentage, minimum and maximum (MB) between the prefix and the unit letter.
std::array<std::uint64_t, 3> sizingNumbers(const Text& token, std::size_t from) {
    std::array<std::uint64_t, 3> numbers{};
    std::size_t index = 0;
    for (std::size_t i = from; i + 1 < token.length(); ++i) {
        if (token[i] == u':') {
            ++index;
        } else if (isDigit(token[i]) && index < numbers.size()) {
            numbers[index] = appendDigit(numbers[index], token[i]);
        }
    }
    return numbers;
}

std::uint64_t percentOfKilobytes(std::uint64_t bytes, std::uint64_t percent) {
    const double size = static_cast<double>(bytes / 1024) * (static_cast<double>(percent) / 100.0);
    // Converting a double at or beyond 2^64 to an integer is undefined.
    constexpr double kLimit = 18446744073709551616.0;
    return size >= kLimit ? kMaxSize : static_cast<std::uint64_t>(size);
}

} // namespace

bool isMemorySizedOption(const Text& token) {
    if (!(token.startsWith(u"-Xms") || token.startsWith(u"-Xmx") || token.startsWith(u"-Xss"))) return false;
    const char16_t unit = token.back();
    return unit == u'P' || unit == u'p' || unit == u'T' || unit == u't';
}

Text rewriteMemorySizedOption(const Text& token, const MemoryFigures& memory) {
    // The prefix never takes in the unit letter, even when no digit precedes it.
    std::size_t prefixEnd = 0;
    while (prefixEnd + 1 < token.length() && !isDigit(token[prefixEnd]) && token[prefixEnd] != u':') ++prefixEnd;
    const auto [percent, minimum, maximum] = sizingNumbers(token, prefixEnd);

    const char16_t unit = token.back();
    const bool physical = unit == u'P' || unit == u'p';
    std::uint64_t size = percentOfKilobytes(physical ? memory.totalPhysical : memory.availableVirtual, percent);
    const std::uint64_t maximumKb = saturatingMultiply(maximum, 1024);
    const std::uint64_t minimumKb = saturatingMultiply(minimum, 1024);
    if (maximum != 0 && size > maximumKb) size = maximumKb;
    if (size < minimumKb) size = minimumKb;  // the minimum wins over the maximum
    return token.left(prefixEnd) + Text::fromUtf8(std::to_string(size)) + u"K";
}

std::uint64_t stackSizeFromXss(const Text& size) {
    if (size.empty() || !isDigit(size.front()) || size.contains(u':')) return 0;
    std::uint64_t multiplier = 1;
    std::size_t digitsEnd = size.length();
    switch (size.back()) {
    case u'G': case u'g': multiplier = 1073741824; --digitsEnd; break;
    case u'M': case u'm': multiplier = 1048576; --digitsEnd; break;
    case u'K': case u'k': multiplier = 1024; --digitsEnd; break;
    default: break;
    }
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < digitsEnd; ++i) {
        if (isDigit(size[i])) number = appendDigit(number, size[i]);
    }
    return saturatingMultiply(number, multiplier);
}
