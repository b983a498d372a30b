#include "vm/secondary_call.h"

#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/local_ref.h"

namespace {

constexpr std::int32_t kFailedReply = -1;

struct SecondaryMain {
    jmethodID method = nullptr;
    bool returnsInt = false;
};

SecondaryMain findSecondaryMain(JNIEnv* env, jclass type) {
    if (const jmethodID method = env->GetStaticMethodID(type, "secondaryMain", "([Ljava/lang/String;)V")) {
        return {method, false};
    }
    // The first lookup's NoSuchMethodError must go before JNI may be called again.
    if (exceptionPending(env)) env->ExceptionClear();
    return {env->GetStaticMethodID(type, "secondaryMain", "([Ljava/lang/String;)I"), true};
}

// Every local reference is gone when this returns, before the thread detaches.
void callWithArguments(JNIEnv* env, const SecondaryCall& call, const SecondaryReply& reply) {
    const LocalRef<jclass> type(env, findClassNamed(env, call.mainClass));
    if (!type) return;
    const SecondaryMain secondary = findSecondaryMain(env, type.get());
    if (!secondary.method) return;
    const LocalRef<jobjectArray> arguments(env, newJavaStringArray(env, call.arguments));
    if (!arguments) return;
    if (!secondary.returnsInt) {
        reply(0);
        env->CallStaticVoidMethod(type.get(), secondary.method, arguments.get());
        return;
    }
    const jint result = env->CallStaticIntMethod(type.get(), secondary.method, arguments.get());
    // A method that threw has no result; the later start ends as a failed launch does.
    reply(exceptionPending(env) ? kFailedReply : static_cast<std::int32_t>(result));
}

} // namespace

void callSecondaryMain(JavaVM* vm, const SecondaryCall& call, const SecondaryReply& reply) {
    JNIEnv* env = nullptr;
    if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return;
    callWithArguments(env, call, reply);
    describePendingException(env);
    if (!call.ibmAdmitted) vm->DetachCurrentThread();
}
