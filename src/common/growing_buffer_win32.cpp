#include "common/growing_buffer_win32.h"

std::optional<std::wstring> textOfGrowingBuffer(std::size_t firstSize, BufferFiller fill) {
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
