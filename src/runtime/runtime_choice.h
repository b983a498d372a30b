#pragma once
// Which JVM library a launch loads: the first of "JRE Path", a private
// runtime beside the executable, the runtimes in the registry (the native
// view, then the 32-bit one for the paired launcher) and those the
// environment names (JAVA_HOME, then PATH; after the registry, before it, or
// not at all, as "Environment Runtimes" says) that yields one.

#include <functional>
#include <optional>

#include "common/platform.h"
#include "common/text.h"
#include "common/messages.h"
#include "runtime/registry.h"
#include "runtime/runtime_choice_record.h"
#include "runtime/jvm_type.h"
#include "runtime/runtime_constraints.h"

struct RuntimeChoiceInput {
    const Text& executablePath;
    const Text& jrePath;
    const RuntimeConstraints& constraints;
    bool hasPairProduct = false;
};

// The views of the machine a runtime choice reads.
struct RuntimeMachine {
    const FileProbe& files;
    const Registry& registry;
    const Environment& environment;
};

struct RuntimeChoice {
    Text jvmLibraryPath;  // empty when no source yielded one
    RuntimeSource source = RuntimeSource::JrePath;
};

// The runtime beside the executable ("bin\java.dll" there or in "jre64\"), or nothing.
std::optional<Text> findPrivateRuntime(const Text& executablePath, const FileProbe& files);

RuntimeChoice chooseRuntime(const RuntimeChoiceInput& input, const RuntimeMachine& machine,
                            RuntimeChoiceRecord* record = nullptr);

// Whether the paired launcher runs the chosen library: one of the 32-bit
// registry view always; one from "JRE Path", the environment or the dialog
// when "Pair Product" is set and the library is x86 (it is examined only then).
bool needsPairLauncher(RuntimeSource source, const Text& jvmLibraryPath, bool hasPairProduct,
                       const std::function<bool(const Text&)>& isX86Library);

// The text that tells the user no runtime was found and which one to install.
Text runtimeNotFoundMessage(const RuntimeConstraints& constraints, const Messages& messages);

// A folder the user picked when no runtime was found: the folder with a
// trailing backslash, and the JVM library of the type in it (empty when none;
// always so for an empty path, which names no folder).
struct PickedRuntime {
    Text folder;
    Text jvmLibraryPath;
};

PickedRuntime runtimeInPickedFolder(const Text& path, JvmType type, const FileProbe& files);
