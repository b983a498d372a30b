// The single-instance block: as a later start may have left it, and the
// arguments of a command line handed over through it.

#include <algorithm>
#include <array>

#include "common/splitting.h"
#include "fuzz_support.h"
#include "launcher/instance_block.h"

namespace {

using Block = std::array<unsigned char, instance_block::kSize>;

// What a hand-over delivers: an empty argument after another one ends the
// list, and no arguments at all arrive as one empty argument.
TextList delivered(const TextList& arguments) {
    if (arguments.empty()) return {Text()};
    const auto end = std::find_if(arguments.begin() + 1, arguments.end(), [](const Text& a) { return a.empty(); });
    return TextList(arguments.begin(), end);
}

void checkReadBack(const TextList& arguments) {
    Block block;
    block.fill(0xA5);  // what an earlier, longer hand-over left beyond the written part
    if (!writeHandOverArguments(block, arguments)) return;
    FUZZ_CHECK(readHandOverArguments(block) == delivered(arguments));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Block block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    const TextList read = readHandOverArguments(block);
    for (std::size_t i = 0; i < read.size(); ++i) {
        FUZZ_CHECK(!read[i].contains(u'\0') && (i == 0 || !read[i].empty()));
    }
    checkReadBack(read);

    Block header{};
    writeInstanceHeader(header, readInstanceHeader(block));
    FUZZ_CHECK(std::equal(header.begin(), header.begin() + instance_block::kArgumentsOffset, block.begin()));

    // A command line holds no zero unit.
    std::u16string commandLine = inputTexts({data, size}, 1).front().units();
    std::erase(commandLine, u'\0');
    checkReadBack(splitCommandLine(Text(commandLine)));
    return 0;
}
