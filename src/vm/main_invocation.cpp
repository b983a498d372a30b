#include "vm/main_invocation.h"

#include "vm/exception_report.h"
#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/main_class_lookup.h"
#include "vm/local_ref.h"

namespace {

// A VM reports a missing method with a pending NoSuchMethodError; it is
// described, and the user still gets the message rather than a silent end.
jmethodID findMainMethod(JNIEnv* env, jclass mainClass, Messages& messages) {
    const jmethodID main = env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V");
    if (main) return main;
    describePendingException(env);
    messages.showError(messages.text(IDS_NO_MAIN_METHOD));
    return nullptr;
}

void handleUncaught(JNIEnv* env, jthrowable thrown, bool failureCheck, JavaMainActions& actions) {
    actions.closeSplash();
    // Without the check the exception stays pending; detaching hands it to
    // the thread's uncaught-exception handler.
    if (!failureCheck) return;
    env->ExceptionClear();
    const Text report = buildExceptionReport(env, thrown);
    const ExceptionChoice choice = report.empty() ? ExceptionChoice::Ignore : actions.showExceptionDialog(report);
    if (choice == ExceptionChoice::Stop) callSystemExit(env, -1);
}

// Every local reference is gone when this returns, before the thread detaches.
bool callMain(JNIEnv* env, const MainCall& call, JavaMainActions& actions, Messages& messages) {
    const LocalRef<jclass> mainClass(env, lookUpMainClass(env, call.mainClass, actions, messages));
    if (!mainClass) return false;
    const jmethodID main = findMainMethod(env, mainClass.get(), messages);
    if (!main) return false;
    const LocalRef<jobjectArray> arguments(env, newJavaStringArray(env, call.arguments));
    if (!arguments) {
        describePendingException(env);
        return false;
    }
    actions.signalMainStarted();
    env->CallStaticVoidMethod(mainClass.get(), main, arguments.get());
    const LocalRef<jthrowable> thrown(env, env->ExceptionOccurred());
    if (thrown) handleUncaught(env, thrown.get(), call.failureCheck, actions);
    return true;
}

} // namespace

bool invokeMain(JavaVM* vm, JNIEnv* env, const MainCall& call, JavaMainActions& actions, Messages& messages) {
    const bool called = callMain(env, call, actions, messages);
    if (called && call.ibmAdmitted) {
        actions.sleepForever();
        return true;
    }
    const bool detached = vm->DetachCurrentThread() == JNI_OK;
    return called && detached;
}
