#pragma once
// The class path built from "Class Path" and "Embedded Jar".

#include "common/platform.h"
#include "common/text.h"
#include "vm/vm_options_record.h"

struct ClassPathSources {
    Text classPath;     // "Class Path": entries separated by ';'
    Text embeddedJar;   // "Embedded Jar": "Yes" in any letter case adds the launcher itself
    Text launcherPath;  // full path of the launcher's executable
};

// Relative: shorter than two characters, or neither "X:" nor "\\" at its start.
bool isRelativeClassPathEntry(const Text& entry);

// Direct entries as written, search entries as the names found for them, each
// followed by ';'; the launcher's own path last when the jar is embedded.
// Empty when nothing is configured or found. A record, when given, receives
// what each piece gave.
Text buildClassPath(const ClassPathSources& sources, const Environment& environment, const FileProbe& files,
                    ClassPathRecord* record = nullptr);
