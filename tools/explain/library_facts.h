#pragma once
// What the file of a JVM library tells before it is loaded, and what the
// launcher, a 64-bit process, meets when it loads it: the prediction the
// explain tool gives where the launcher would call LoadLibrary.

#include <cstdint>
#include <optional>

#include "common/little_endian.h"
#include "vm/jvm_library.h"

struct LibraryFacts {
    std::int32_t openError = 0;  // the system's error when the file cannot be read; 0 when it was
    bool empty = false;
    std::optional<std::uint16_t> machine;  // of its PE headers; none when it is no PE image
    bool exportsEntryPoints = false;       // JNI_CreateJavaVM and JNI_GetDefaultJavaVMInitArgs
};

// The facts of a file's bytes (openError stays 0).
LibraryFacts libraryFactsOf(ByteView image);

// The stack an executable's threads reserve by default (its optional
// header's SizeOfStackReserve); nothing when it is no PE image.
std::optional<std::uint64_t> stackReserveOf(ByteView image);

// The executable runs in a console (the console subsystem's launcher).
bool isConsoleImage(ByteView image);

// The stack a thread gets when it is created with this size as its committed
// size, in a process whose executable reserves `reserve` by default: that
// reserve, or a larger size rounded up to a whole MiB. Nothing when the
// reserve is not known.
std::optional<std::uint64_t> threadStackFor(std::uint64_t committed, std::optional<std::uint64_t> reserve);

// Loaded: an x64 image with both entry points (whether its own dependencies
// load only loading tells). A file that cannot be read fails to load with
// the same error. An empty file fails with an error that differs between
// Windows and Wine, so only loading tells which: NotKnown.
LibraryLoad predictLibraryLoad(const LibraryFacts& facts);
