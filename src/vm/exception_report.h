#pragma once
// The text shown for an uncaught Java exception: what its printStackTrace
// writes, decoded with the VM's default charset.

#include <jni.h>

#include "common/text.h"

// Empty when the report cannot be obtained; no exception is left pending.
Text buildExceptionReport(JNIEnv* env, jthrowable exception);
