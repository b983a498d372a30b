#pragma once
// The work of the thread that runs the application: create the VM, redirect
// its streams, invoke main. The thread itself belongs to the Windows shell.

#include <cstdint>
#include <functional>

#include "vm/folder_operations.h"
#include "vm/main_invocation.h"
#include "vm/stream_redirection.h"
#include "vm/vm_creation.h"
#include "vm/vm_settings.h"

struct JavaMainJob {
    CreateJavaVmFunction createJavaVm = nullptr;  // of the library the host loaded
    VmOptionList options;
    StandardStreamFiles streams;
    MainCall main;
    // Called on the VM's thread just before it creates the VM: work that would
    // hold the creation up (loading libraries) may start beside it from then.
    std::function<void()> beforeVmCreation;
};

// The thread's exit code: 0 when main was called and returned (also after an
// uncaught exception), 1 when the VM or main could not be run (reported).
std::uint32_t runJavaMain(const JavaMainJob& job, JavaVmSlots& slots, FolderOperations& folders,
                          JavaMainActions& actions, Messages& messages);
