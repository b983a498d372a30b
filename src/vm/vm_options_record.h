#pragma once
// How the option assembly came to its options, as plain data, for tools that
// explain a launch. The launcher itself passes no record, and nothing is
// collected then.

#include <optional>
#include <vector>

#include "common/platform.h"
#include "common/text.h"

struct ClassPathPieceRecord {
    Text written;   // one ';'-separated piece of "Class Path"
    Text expanded;
    Text pattern;   // what was searched for; empty for a direct entry
    TextList added; // the class path entries it gave, in order
};

struct ClassPathRecord {
    std::vector<ClassPathPieceRecord> pieces;
    bool executableAdded = false;  // "Embedded Jar"
};

struct SizedOptionRecord {
    Text written;    // the token, its quotes removed
    Text rewritten;  // with the size worked out
};

struct VmOptionsRecord {
    ClassPathRecord classPath;
    std::optional<MemoryFigures> memory;  // read only when a token is sized
    std::vector<SizedOptionRecord> sized;
};
