#pragma once
// The method a service stop calls, as the settings name it; plain data, so
// that the settings code needs no JNI.

#include "common/text.h"

// A static method that takes a String[] (given an empty one) or nothing and returns void.
struct ServiceStopMethod {
    Text className;   // slash form: com/example/App
    Text methodName;
    Text written;     // as the settings give it, for messages
};
