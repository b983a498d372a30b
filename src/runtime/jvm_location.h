#pragma once
// Where a runtime home keeps its JVM library, by JVM type.

#include "common/platform.h"
#include "common/text.h"
#include "runtime/jvm_type.h"

struct JvmLibrary {
    Text path;          // empty when the home holds no fitting library
    bool isServer = false;
};

// home ends in a backslash. Default prefers client over server; FavorServer
// prefers server but takes any; Server takes nothing else.
JvmLibrary locateJvmLibrary(const Text& home, JvmType type, const FileProbe& files);

// True when folder + "bin\java.dll" exists.
bool isRuntimeFolder(const Text& folder, const FileProbe& files);
