#include "vm/stream_redirection.h"

#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/local_ref.h"
#include "vm/parent_folders.h"

bool setSystemStream(JNIEnv* env, jobject printStream, StandardStream stream) {
    const LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
    if (!system) return false;
    const char* setter = stream == StandardStream::Output ? "setOut" : "setErr";
    const jmethodID set = env->GetStaticMethodID(system.get(), setter, "(Ljava/io/PrintStream;)V");
    if (!set) return false;
    env->CallStaticVoidMethod(system.get(), set, printStream);
    if (exceptionPending(env)) {
        env->ExceptionDescribe();
        return false;
    }
    return true;
}

jobject systemStream(JNIEnv* env, StandardStream stream) {
    const LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
    const char* name = stream == StandardStream::Output ? "out" : "err";
    const jfieldID field = system ? env->GetStaticFieldID(system.get(), name, "Ljava/io/PrintStream;") : nullptr;
    return field ? env->GetStaticObjectField(system.get(), field) : nullptr;
}

bool StreamRedirection::redirect(JNIEnv* env, const Text& path, StandardStream stream) const {
    // Its result is not needed: a folder that is still missing makes the file stream fail.
    ensureParentFolders(path, folders_);
    const LocalRef<jstring> name(env, newJavaString(env, path));
    if (!name) return false;
    const LocalRef<jobject> file(env, newObject(env, "java/io/FileOutputStream", "(Ljava/lang/String;)V", name.get()));
    if (!file) return false;
    const LocalRef<jobject> print(env, newObject(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", file.get()));
    if (!print) return false;
    return setSystemStream(env, print.get(), stream);
}

void redirectStandardStreams(JNIEnv* env, const StandardStreamFiles& files, FolderOperations& folders) {
    const StreamRedirection redirection(folders);
    if (!files.output.empty() && !redirection.redirect(env, files.output, StandardStream::Output)) {
        describePendingException(env);
    }
    if (!files.error.empty() && !redirection.redirect(env, files.error, StandardStream::Error)) {
        describePendingException(env);
    }
}
