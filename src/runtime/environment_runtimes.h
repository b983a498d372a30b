#pragma once
// Runtimes users name through their environment: the folder in JAVA_HOME,
// and the runtime whose java.exe comes first on PATH. Each must pass the
// rules of a registry entry: the version limits (read from its release
// file), "JVM Source" where its kind shows, the "JVM Type", and a 32-bit
// runtime only with a paired launcher to run it.

#include <optional>

#include "common/platform.h"
#include "common/text.h"
#include "runtime/java_version.h"
#include "runtime/runtime_choice_record.h"
#include "runtime/runtime_constraints.h"

struct EnvironmentFacts {
    const Environment& environment;
    const FileProbe& files;
};

// One environment runtime tried: how it fared, and what was found of it.
struct EnvironmentCandidate {
    SourceOutcome outcome = SourceOutcome::NotConfigured;
    Text home;            // the folder tried, ending in a backslash
    Text jvmLibraryPath;  // the library found in it
    std::optional<JavaVersion> version;
};

EnvironmentCandidate javaHomeRuntime(const RuntimeConstraints& constraints, bool hasPairProduct,
                                     const EnvironmentFacts& facts);
EnvironmentCandidate pathRuntime(const RuntimeConstraints& constraints, bool hasPairProduct,
                                 const EnvironmentFacts& facts);

// The first "<entry>\java.exe" that exists, entries taken in order; empty
// entries are passed over and quotes around an entry dropped.
std::optional<Text> firstJavaOnPath(const Text& path, const FileProbe& files);
