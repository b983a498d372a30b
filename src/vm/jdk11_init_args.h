#pragma once
// The JNI 1.1 initialisation record. Current jni.h no longer declares it, yet
// JNI_GetDefaultJavaVMInitArgs still fills javaStackSize when given one of
// version JNI_VERSION_1_1, which is how the VM's default thread stack size is
// learnt. The layout must match the VM's exactly.

#include <jni.h>

#include <cstdio>
#include <cstdarg>

struct JDK1_1InitArgs {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    jint(JNICALL* vfprintf)(FILE* fp, const char* format, va_list args);
    void(JNICALL* exit)(jint code);
    void(JNICALL* abort)(void);
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};
