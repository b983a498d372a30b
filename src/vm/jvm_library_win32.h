#pragma once
// Loading the chosen runtime's JVM library and finding its invocation entry points.

#include "common/text.h"
#include "vm/jvm_library.h"
#include "vm/vm_creation.h"

struct JvmEntryPoints {
    CreateJavaVmFunction createJavaVm = nullptr;
    GetDefaultJavaVmInitArgsFunction getDefaultJavaVmInitArgs = nullptr;
};

// The library stays loaded for the life of the process. The entry points
// are filled in when it loads and offers both.
LibraryLoad loadJvmLibrary(const Text& libraryPath, JvmEntryPoints& entries);
