#pragma once
// The main class as the runtime's own launcher helper finds it for
// `java -jar` and `java -m`; it also applies what the jar's manifest asks
// (Add-Opens, Add-Exports, Enable-Native-Access, Launcher-Agent-Class).

#include <jni.h>

#include "common/messages.h"
#include "common/text.h"
#include "vm/main_invocation.h"

// The helper's own numbers for its launch modes.
enum class HelperMode : jint { Jar = 2, Module = 3 };

struct HelperLookup {
    bool available = false;      // false: the runtime has no such helper (nothing was reported)
    jclass mainClass = nullptr;  // a new local reference; null when the lookup failed (reported)
};

// The helper ends the process with System.exit(1) when it fails; what it
// printed is then shown from the VM's exit hook. Its output goes to a report
// file meanwhile, and on success on to System.err.
HelperLookup loadMainThroughHelper(JNIEnv* env, HelperMode mode, const Text& what, JavaMainActions& actions,
                                   Messages& messages);
