#pragma once
// Creating the VM through the JVM library's invocation entry points, and the
// default thread stack size the library reports.

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/text.h"
#include "common/messages.h"
#include "vm/folder_operations.h"
#include "vm/stream_redirection.h"
#include "vm/vm_init_args.h"
#include "vm/vm_settings.h"

using CreateJavaVmFunction = jint(JNICALL*)(JavaVM** vm, void** env, void* args);
using GetDefaultJavaVmInitArgsFunction = jint(JNICALL*)(void* args);

struct JavaVmSlots {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;  // of the thread that created the VM
};

// Creates the VM and then redirects its standard streams. A failure is
// reported (the creation text with the reason for the VM's result) and gives false.
bool createJavaVm(CreateJavaVmFunction create, const VmOptionList& options, const StandardStreamFiles& streams,
                  FolderOperations& folders, JavaVmSlots& slots, Messages& messages);

// The reason text id for a failed creation result (-1 to -6), 0 for any other.
TextId vmCreationReasonId(jint result);

// The VM's default Java thread stack size in bytes, 0 when it reports none.
std::uint64_t defaultJavaStackSize(GetDefaultJavaVmInitArgsFunction getDefaults);
