#pragma once
// Loading the chosen runtime's JVM library and finding its invocation entry points.

#include <optional>

#include "common/messages.h"
#include "vm/vm_creation.h"

struct JvmEntryPoints {
    CreateJavaVmFunction createJavaVm = nullptr;
    GetDefaultJavaVmInitArgsFunction getDefaultJavaVmInitArgs = nullptr;
};

// The library stays loaded for the life of the process. Failures are
// reported to the user (222, or 202 with 212) and give nothing.
std::optional<JvmEntryPoints> loadJvmLibrary(const Text& libraryPath, Messages& messages);
