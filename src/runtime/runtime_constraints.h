#pragma once
// What the settings ask of a runtime found in the registry.

#include "common/text.h"
#include "runtime/java_version.h"
#include "runtime/jvm_type.h"

// "Environment Runtimes": where JAVA_HOME and the java.exe on PATH are tried.
enum class EnvironmentRuntimes {
    Last,   // after the registry
    First,  // after "JRE Path" and the private runtime, before the registry
    No,     // not at all
};

struct RuntimeConstraints {
    JavaVersion minimumVersion;
    JavaVersion maximumVersion;
    TextList preferredVersions;
    JvmType jvmType = JvmType::Default;
    // "JVM Source": which kinds are searched and favoured.
    bool includeJdk = true;
    bool includeJre = true;
    bool favourKind = true;
    // "VM Provider".
    bool allowSun = true;
    bool favourSun = true;
    bool allowJRockit = false;
    bool favourJRockit = false;
    bool allowIbm = false;
    bool favourIbm = false;
    // "Registry Keys=classic": only the keys that installers before Java 9 wrote.
    bool classicKeysOnly = false;
    EnvironmentRuntimes environmentRuntimes = EnvironmentRuntimes::Last;
};
