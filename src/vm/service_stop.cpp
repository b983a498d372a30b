#include "vm/service_stop.h"

#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/local_ref.h"

namespace {

struct FoundStopMethod {
    jmethodID id = nullptr;
    bool takesArguments = false;
};

FoundStopMethod findStopMethod(JNIEnv* env, jclass type, const Text& name) {
    const std::string utf8 = name.toUtf8();
    if (const jmethodID id = env->GetStaticMethodID(type, utf8.c_str(), "([Ljava/lang/String;)V")) return {id, true};
    // The first lookup's NoSuchMethodError must go before JNI may be called again.
    env->ExceptionClear();
    const jmethodID id = env->GetStaticMethodID(type, utf8.c_str(), "()V");
    env->ExceptionClear();
    return {id, false};
}

void callFound(JNIEnv* env, jclass type, const FoundStopMethod& method) {
    if (!method.takesArguments) {
        env->CallStaticVoidMethod(type, method.id);
        return;
    }
    const LocalRef<jobjectArray> noArguments(env, newJavaStringArray(env, TextList()));
    if (noArguments) env->CallStaticVoidMethod(type, method.id, noArguments.get());
}

// True when the method was called and returned; every local reference is gone on return.
bool callStopMethod(JNIEnv* env, const ServiceStopMethod& method, Messages& messages) {
    const LocalRef<jclass> type(env, findClassNamed(env, method.className));
    if (!type) {
        env->ExceptionClear();
        messages.report(IDS_SERVICE_STOP_CLASS_MISSING, {method.className.replaced(u'/', u'.'), method.written});
        return false;
    }
    const FoundStopMethod found = findStopMethod(env, type.get(), method.methodName);
    if (!found.id) {
        messages.report(IDS_SERVICE_STOP_METHOD_MISSING, {method.written});
        return false;
    }
    callFound(env, type.get(), found);
    if (!exceptionPending(env)) return true;
    messages.report(IDS_SERVICE_STOP_METHOD_FAILED, {method.written, takePendingExceptionText(env)});
    return false;
}

} // namespace

void stopJavaApplication(JavaVM* vm, const ServiceStopMethod* method, Messages& messages) {
    JNIEnv* env = nullptr;
    if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return;
    if (!method || !callStopMethod(env, *method, messages)) callSystemExit(env, 0);
    vm->DetachCurrentThread();
}
