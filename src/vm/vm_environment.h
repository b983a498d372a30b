#pragma once
// The process environment the VM and its children inherit, prepared before
// the JVM library is loaded so that its dependencies are found on the Path.

#include <optional>

#include "common/platform.h"
#include "common/text.h"
#include "vm/vm_settings.h"

struct RuntimeFolders {
    Text home;  // C:\Rt for C:\Rt\bin\server\jvm.dll
    Text bin;   // C:\Rt\bin
    Text lib;   // C:\Rt\lib
};

RuntimeFolders runtimeFoldersOf(const Text& jvmLibraryPath);

// Sets JL_JVM_PATH, JL_JVM_HOME and Path, and appends the library path option
// to the list when "Library Path" is set, its folders in a form the VM reads
// intact where they have one.
void prepareVmEnvironment(const VmSettings& settings, const Text& jvmLibraryPath, const Text& launcherPath,
                          Environment& environment, const PathNames& paths, VmOptionList& options);
