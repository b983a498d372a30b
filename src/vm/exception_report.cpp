#include "vm/exception_report.h"

#include "vm/jni_strings.h"
#include "vm/local_ref.h"

namespace {

jobject newObject(JNIEnv* env, jclass type, const char* signature, jobject argument) {
    const jmethodID init = env->GetMethodID(type, "<init>", signature);
    return init ? env->NewObject(type, init, argument) : nullptr;
}

jobject newByteStream(JNIEnv* env) {
    const LocalRef<jclass> type(env, env->FindClass("java/io/ByteArrayOutputStream"));
    if (!type) return nullptr;
    const jmethodID init = env->GetMethodID(type.get(), "<init>", "()V");
    return init ? env->NewObject(type.get(), init) : nullptr;
}

jobject newPrintStream(JNIEnv* env, jobject target) {
    const LocalRef<jclass> type(env, env->FindClass("java/io/PrintStream"));
    return type ? newObject(env, type.get(), "(Ljava/io/OutputStream;)V", target) : nullptr;
}

bool printStackTrace(JNIEnv* env, jthrowable exception, jobject printStream) {
    const LocalRef<jclass> type(env, env->GetObjectClass(exception));
    if (!type) return false;
    const jmethodID print = env->GetMethodID(type.get(), "printStackTrace", "(Ljava/io/PrintStream;)V");
    if (!print) return false;
    // A void method, so the void call: the object-returning one hands back an undefined reference.
    env->CallVoidMethod(exception, print, printStream);
    describePendingException(env);
    return true;
}

jstring byteStreamText(JNIEnv* env, jobject byteStream) {
    const LocalRef<jclass> type(env, env->GetObjectClass(byteStream));
    if (!type) return nullptr;
    const jmethodID toString = env->GetMethodID(type.get(), "toString", "()Ljava/lang/String;");
    if (!toString) return nullptr;
    auto* const text = static_cast<jstring>(env->CallObjectMethod(byteStream, toString));
    describePendingException(env);
    return text;
}

Text reportOf(JNIEnv* env, jthrowable exception) {
    const LocalRef<jobject> bytes(env, newByteStream(env));
    if (!bytes) return {};
    const LocalRef<jobject> print(env, newPrintStream(env, bytes.get()));
    if (!print || !printStackTrace(env, exception, print.get())) return {};
    const LocalRef<jstring> text(env, byteStreamText(env, bytes.get()));
    if (!text) return {};
    return javaStringText(env, text.get()).value_or(Text());
}

} // namespace

Text buildExceptionReport(JNIEnv* env, jthrowable exception) {
    Text report = reportOf(env, exception);
    describePendingException(env);
    return report;
}
