#include "vm/jni_calls.h"

#include "vm/jni_strings.h"

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
