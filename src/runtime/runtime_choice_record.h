#pragma once
// What a runtime choice tried, as plain data, for tools that explain a
// launch and for the console launcher, which says where it looked when it
// found nothing.

#include <cstddef>
#include <optional>
#include <vector>

#include "common/text.h"
#include "runtime/java_version.h"
#include "runtime/registry.h"
#include "runtime/runtime_ranking.h"

enum class RegistryKeyOutcome {
    Searched,
    NotOpened,
    KindOrProviderNotSearched,  // "JVM Source" or "VM Provider" leaves it out
    ClassicKeysOnly,            // a newer installer's key, left out by "Registry Keys=classic"
};

struct RegistryKeyRecord {
    Text key;
    RegistryKeyOutcome outcome;
};

enum class RegistryEntryOutcome {
    Candidate,
    OutsideLimits,
    KindNotSearched,  // a key holding both kinds, and "JVM Source" leaves this one out
    NoHome,           // no home folder value
    NoJvmLibrary,     // no JVM library of the type in the home folder
};

struct RegistryEntryRecord {
    Text key;
    Text subkey;
    JavaVersion version;
    Text home;  // the folder probed; empty when the entry names none
    RegistryEntryOutcome outcome;
};

// Why the winner of a pass won.
enum class ChoiceReason { PreferredVersion, Favoured, ServerJvm, HigherVersion, SearchOrder, OnlyCandidate };

struct RegistryPassRecord {
    RegistryView view = RegistryView::Native;
    std::vector<RegistryKeyRecord> keys;
    std::vector<RegistryEntryRecord> entries;
    std::vector<RuntimeCandidate> sorted;
    std::optional<std::size_t> chosen;  // into sorted
    ChoiceReason reason = ChoiceReason::OnlyCandidate;
    std::optional<std::size_t> preferredEntry;  // for PreferredVersion: which entry of "Preferred versions"
};

// JavaHome and PathJava: the runtimes JAVA_HOME and the first java.exe on
// PATH name. Dialog: the folder the user picked after every other source failed.
enum class RuntimeSource { JrePath, PrivateRuntime, Registry, Registry32, JavaHome, PathJava, Dialog };

enum class SourceOutcome {
    NotConfigured,    // no "JRE Path", no "Pair Product" for the 32-bit view, no JAVA_HOME
    NoRuntimeFolder,  // no private runtime beside the executable
    NoJavaOnPath,     // no folder of PATH holds a java.exe
    RelativePath,     // JAVA_HOME is not a full path
    NoFolder,         // the folder named does not exist
    NoJvmLibrary,     // a folder without a JVM library of the type
    OutsideLimits,    // its version lies outside "Minimum Version" and "Maximum Version"
    VersionUnknown,   // no version in its release file, and limits or "Preferred versions" are set
    KindNotSearched,  // a JDK or JRE that "JVM Source" leaves out
    X86WithoutPairLauncher,  // a 32-bit runtime and no "Pair Product" to run it
    NoCandidate,      // a registry pass that found nothing
    Chosen,
};

struct SourceRecord {
    RuntimeSource source;
    SourceOutcome outcome;
    Text folder;          // the folder tried, where there is one
    Text jvmLibraryPath;  // for Chosen
    std::optional<JavaVersion> version;  // an environment runtime's, from its release file
};

struct RuntimeChoiceRecord {
    std::vector<SourceRecord> sources;     // in the order tried
    std::vector<RegistryPassRecord> passes;
};
