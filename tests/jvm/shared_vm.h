#pragma once
// The one VM of the jvm_tests process, created by the product's createJavaVm
// before the first test; its creating thread is the tests' main thread.

#include <jni.h>

JavaVM* sharedVm();
// The main thread's environment; tests that detach use an attached thread instead.
JNIEnv* mainEnv();
