#pragma once
// The process environment the VM and its children inherit, prepared before
// the JVM library is loaded so that its dependencies are found on the Path.

#include <optional>

#include "common/platform.h"
#include "common/text.h"
#include "vm/vm_settings.h"

// The text cut at its last backslash (backslash included), count times;
// a text without a backslash stays as it is.
Text withoutLastComponents(Text path, int count);

struct RuntimeFolders {
    Text home;  // C:\Rt for C:\Rt\bin\server\jvm.dll
    Text bin;   // C:\Rt\bin
    Text lib;   // C:\Rt\lib
};

RuntimeFolders runtimeFoldersOf(const Text& jvmLibraryPath);

// The folder of the launcher's executable, without and with its trailing backslash.
Text launcherFolder(const Text& launcherPath);
Text launcherFolderWithSlash(const Text& launcherPath);

// Sets JL_JVM_PATH, JL_JVM_HOME and Path, and appends the library path option
// to the list when "Library Path" is set, its folders in a form the VM reads
// intact where they have one.
void prepareVmEnvironment(const VmSettings& settings, const Text& jvmLibraryPath, const Text& launcherPath,
                          Environment& environment, const PathNames& paths, VmOptionList& options);
