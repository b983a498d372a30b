#include "launcher/instance_block.h"

#include <algorithm>

namespace block = instance_block;

namespace {

void putUint32(InstanceBlockView view, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) view[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t getUint32(ConstInstanceBlockView view, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(view[offset + i]) << (8 * i);
    return value;
}

char16_t unitAt(ConstInstanceBlockView view, std::size_t offset) {
    return static_cast<char16_t>(view[offset] | (view[offset + 1] << 8));
}

// Each argument with its zero unit, plus the zero unit that ends the list.
std::size_t handOverBytes(const TextList& arguments) {
    std::size_t bytes = 2;
    for (const Text& argument : arguments) bytes += 2 * argument.length() + 2;
    return bytes;
}

} // namespace

void writeInstanceHeader(InstanceBlockView view, const InstanceHeader& header) {
    putUint32(view, block::kListenerThreadOffset, header.listenerThreadId);
    putUint32(view, block::kProcessIdOffset, header.processId);
    putUint32(view, block::kMessageIdOffset, header.messageId);
}

InstanceHeader readInstanceHeader(ConstInstanceBlockView view) {
    return {getUint32(view, block::kListenerThreadOffset), getUint32(view, block::kProcessIdOffset),
            getUint32(view, block::kMessageIdOffset)};
}

bool writeHandOverArguments(InstanceBlockView view, const TextList& arguments) {
    if (handOverBytes(arguments) > block::kWrittenArgumentBytes) return false;
    const auto area = view.subspan(block::kArgumentsOffset, block::kWrittenArgumentBytes);
    std::fill(area.begin(), area.end(), 0);
    std::size_t offset = 0;
    for (const Text& argument : arguments) {
        for (const char16_t unit : argument.units()) {
            area[offset++] = static_cast<unsigned char>(unit & 0xFF);
            area[offset++] = static_cast<unsigned char>(unit >> 8);
        }
        offset += 2;  // the zero unit, already cleared
    }
    return true;
}

TextList readHandOverArguments(ConstInstanceBlockView view) {
    TextList arguments;
    std::u16string current;
    for (std::size_t offset = block::kArgumentsOffset; offset <= block::kLastReadUnitOffset; offset += 2) {
        const char16_t unit = unitAt(view, offset);
        if (unit != 0) {
            current += unit;
            continue;
        }
        arguments.emplace_back(current);
        current.clear();
        if (offset + 2 <= block::kLastReadUnitOffset && unitAt(view, offset + 2) == 0) break;
    }
    return arguments;
}
