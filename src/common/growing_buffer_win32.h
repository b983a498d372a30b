#pragma once
// Windows calls that write a text into a buffer and cannot say its length
// in advance: the buffer grows until the text fits. The one loop for all of them.

#include <windows.h>

#include <optional>
#include <string>

// What one call into a buffer of a given size gave.
struct BufferFill {
    enum class Kind { Fits, Grow, Failed };
    Kind kind = Kind::Failed;
    // Fits: the text's length. Grow: the size to try next (0: twice the last).
    std::size_t length = 0;
};

// The usual answer: the length written when the text fits, the size needed
// (terminator included) when it does not, 0 on failure.
inline BufferFill lengthOrSizeNeeded(DWORD answer, DWORD size) {
    if (answer == 0) return {};
    if (answer < size) return {BufferFill::Kind::Fits, answer};
    return {BufferFill::Kind::Grow, answer};
}

// Calls fill(buffer, size) with a growing buffer until the text fits;
// nothing when a call fails (its last-error value is left as it set it).
template <typename Fill>
std::optional<std::wstring> textOfGrowingBuffer(std::size_t firstSize, Fill fill) {
    std::wstring buffer(firstSize ? firstSize : 1, L'\0');
    for (;;) {
        const BufferFill filled = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        switch (filled.kind) {
        case BufferFill::Kind::Failed: return std::nullopt;
        case BufferFill::Kind::Fits: buffer.resize(filled.length); return buffer;
        case BufferFill::Kind::Grow: break;
        }
        buffer.resize(filled.length > buffer.size() ? filled.length : buffer.size() * 2);
    }
}
