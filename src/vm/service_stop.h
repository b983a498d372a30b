#pragma once
// Ending the application when its service is asked to stop: the static method
// the settings name, or what System.exit(0) does, so that shutdown hooks run.

#include <jni.h>

#include "common/messages.h"
#include "vm/service_stop_method.h"

// Attaches the calling thread and calls the stop method; without one, or when
// it is missing or throws (reported), calls System.exit(0), which returns
// only when the VM did not exit. Nothing is called when the thread cannot attach.
void stopJavaApplication(JavaVM* vm, const ServiceStopMethod* method, Messages& messages);
