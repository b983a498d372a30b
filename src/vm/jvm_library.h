#pragma once
// What loading a runtime's JVM library gives, and what its file tells of
// that before it is loaded.

#include <cstdint>

// The library's entry points, or the error of the call that failed.
// NotKnown: only loading could tell (said by a host that does not load).
struct LibraryLoad {
    enum class Result { Loaded, NotLoaded, NoEntryPoints, NotKnown };
    Result result = Result::Loaded;
    std::int32_t error = 0;
};
