#include "vm/jni_calls.h"

#include "vm/jni_strings.h"

jclass findClassNamed(JNIEnv* env, const Text& name) {
    const LocalRef<jstring> javaName(env, newJavaString(env, name));
    if (!javaName) return nullptr;
    const JavaUtfChars bytes(env, javaName.get());
    return bytes.bytes() ? env->FindClass(bytes.bytes()) : nullptr;
}

void callVoidMethodQuietly(JNIEnv* env, jobject target, const char* className, const char* name) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    const jmethodID method = type ? env->GetMethodID(type.get(), name, "()V") : nullptr;
    if (method) env->CallVoidMethod(target, method);
    env->ExceptionClear();
}

Text takePendingExceptionText(JNIEnv* env) {
    const LocalRef<jthrowable> thrown(env, env->ExceptionOccurred());
    if (!thrown) return {};
    env->ExceptionClear();
    const LocalRef<jstring> text(env, static_cast<jstring>(callObjectMethod(
                                          env, thrown.get(), "java/lang/Throwable", "toString", "()Ljava/lang/String;")));
    Text result = text ? javaStringText(env, text.get()).value_or(Text()) : Text();
    env->ExceptionClear();
    return result;
}

void callSystemExit(JNIEnv* env, jint code) {
    const LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
    const jmethodID exit = system ? env->GetStaticMethodID(system.get(), "exit", "(I)V") : nullptr;
    if (exit) env->CallStaticVoidMethod(system.get(), exit, code);
    describePendingException(env);
}

void exitFromAnyThread(JavaVM* vm, jint code) {
    JNIEnv* env = nullptr;
    if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return;
    callSystemExit(env, code);
    vm->DetachCurrentThread();
}
