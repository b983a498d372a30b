#pragma once
// Calling the application's secondaryMain for a later start of the
// executable, on a thread of its own that attaches to the running VM.

#include <jni.h>

#include <cstdint>
#include <functional>

#include "common/text.h"

struct SecondaryCall {
    Text mainClass;      // slash form: com/example/App
    TextList arguments;  // as the later start handed them over
    bool ibmAdmitted = false;
};

// The value that becomes the later start's exit code.
using SecondaryReply = std::function<void(std::int32_t)>;

// Attaches the calling thread, calls secondaryMain(String[]) and replies: the
// void variant with 0 before the call, the int variant with its result after
// it (-1 when it throws). Without the class or the method nothing is replied,
// and the later start waits for the first instance to end. An exception is
// described by the VM. The thread detaches unless IBM runtimes are admitted.
void callSecondaryMain(JavaVM* vm, const SecondaryCall& call, const SecondaryReply& reply);
