#pragma once
// Small JNI steps the VM code repeats: making objects, calling methods by
// name, and taking a pending exception as text.

#include <jni.h>

#include "common/text.h"
#include "vm/local_ref.h"

// A new object of the class through the constructor of that signature; null
// (with the VM's exception pending) when something is missing or it throws.
template <typename... Arguments>
jobject newObject(JNIEnv* env, const char* className, const char* signature, Arguments... arguments) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    if (!type) return nullptr;
    const jmethodID init = env->GetMethodID(type.get(), "<init>", signature);
    if (!init) return nullptr;
    return env->NewObject(type.get(), init, arguments...);
}

// Calls an instance method declared by (or inherited into) the named class.
// Null when it is missing, throws or returns null.
template <typename... Arguments>
jobject callObjectMethod(JNIEnv* env, jobject target, const char* className, const char* name,
                         const char* signature, Arguments... arguments) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    if (!type) return nullptr;
    const jmethodID method = env->GetMethodID(type.get(), name, signature);
    if (!method) return nullptr;
    return env->CallObjectMethod(target, method, arguments...);
}

// The class of that slash-form name, through modified UTF-8 as main's class
// is found, so that any name works; null with the VM's exception pending.
jclass findClassNamed(JNIEnv* env, const Text& name);

// Calls a no-argument void method such as close(); an exception it leaves is cleared.
void callVoidMethodQuietly(JNIEnv* env, jobject target, const char* className, const char* name);

// The pending exception's toString(), cleared; empty when none is pending.
Text takePendingExceptionText(JNIEnv* env);

// System.exit(code): the shutdown hooks run and the process ends. Returns
// only when that failed; a pending exception is described.
void callSystemExit(JNIEnv* env, jint code);

// The same from a native thread, attached for the call, as java does it for
// Ctrl+C. Returns only when the VM did not exit.
void exitFromAnyThread(JavaVM* vm, jint code);
