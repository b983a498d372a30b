#pragma once
// Option assembly: the class path option and the "Virtual Machine Parameters"
// tokens for the VM, the files for its standard streams, the stack size of the
// thread that runs main, and the "Cmd" arguments for main.

#include <cstdint>

#include "common/argument_list.h"
#include "common/platform.h"
#include "common/text.h"
#include "vm/main_source.h"
#include "vm/vm_options_record.h"
#include "vm/vm_settings.h"

struct VmHostFacts {
    const Environment& environment;
    const FileProbe& files;
    const MemoryStatus& memory;
    const PathNames& paths;
};

struct AssembledVmOptions {
    bool ok = false;                        // false: the class path is empty or a path unreadable (nothing else was read)
    Text unreadableClassPathEntry;          // set (and ok false) when a class or module path entry has no form the VM reads intact
    std::uint64_t mainThreadStackSize = 0;  // bytes; 0 when no -Xss gave one
    Text outputFile;                        // expanded; empty leaves System.out alone
    Text errorFile;                         // expanded; empty leaves System.err alone
};

// Appends "-Djava.class.path=..." (the main jar first), in module mode the
// module path and main module, and the rewritten parameter tokens, each
// expanded and in the ANSI code page, to options, and the non-empty "Cmd"
// tokens to arguments. Only the class-path launch needs a class path. Path
// entries go in a form the code page holds (their short form where needed);
// one that has none stops the assembly. A record, when given, receives how
// the class path and the sized options came about.
AssembledVmOptions assembleVmOptions(const VmSettings& settings, const MainSource& main, const Text& launcherPath,
                                     const VmHostFacts& host, VmOptionList& options, ArgumentList& arguments,
                                     VmOptionsRecord* record = nullptr);

// Whether the options ask the VM to leave the process's signals and console
// events alone ("-Xrs", or the flag it sets), the last of them deciding.
bool reducesSignalUse(const VmOptionList& options);
