#pragma once
// Windows calls that write a text into a buffer and cannot say its length
// in advance: the buffer grows until the text fits. The one loop for all of them.

#include <windows.h>

#include <optional>
#include <string>
#include <type_traits>

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

// The caller's call into a buffer, taken by reference so that the loop is
// compiled once rather than once for every caller.
class BufferFiller {
public:
    template <typename Fill>
    BufferFiller(Fill&& fill)  // implicit: made from each call site's lambda
        : fill_(&fill), call_([](void* fill, wchar_t* buffer, DWORD size) {
              return (*static_cast<std::remove_reference_t<Fill>*>(fill))(buffer, size);
          }) {}
    BufferFill operator()(wchar_t* buffer, DWORD size) const { return call_(fill_, buffer, size); }

private:
    void* fill_;
    BufferFill (*call_)(void*, wchar_t*, DWORD);
};

// Calls fill(buffer, size) with a growing buffer until the text fits;
// nothing when a call fails (its last-error value is left as it set it).
std::optional<std::wstring> textOfGrowingBuffer(std::size_t firstSize, BufferFiller fill);
