// The baseline of the start-up benchmark: the least a program must do to run
// a Java main: load the JVM library, create the VM with one class path and
// call main with the given arguments.
//
//   direct [--string-constructor] <jvm.dll> <class path> <main class, slashes> [arguments...]
//
// With --string-constructor the arguments become Java strings through
// String(char[]), as the launcher makes them, instead of NewString: a VM that
// compiles each method before its first run pays for that constructor.
#include <windows.h>

#include <jni.h>

#include <cwchar>

namespace {

jstring javaString(JNIEnv* env, const wchar_t* text, bool byConstructor) {
    const auto length = static_cast<jsize>(std::wcslen(text));
    const auto* units = reinterpret_cast<const jchar*>(text);
    if (!byConstructor) return env->NewString(units, length);
    jclass stringClass = env->FindClass("java/lang/String");
    jmethodID init = env->GetMethodID(stringClass, "<init>", "([C)V");
    jcharArray chars = env->NewCharArray(length);
    env->SetCharArrayRegion(chars, 0, length, units);
    return static_cast<jstring>(env->NewObject(stringClass, init, chars));
}

int runMain(JNIEnv* env, int argc, wchar_t** argv, bool stringsByConstructor) {
    char className[512];
    WideCharToMultiByte(CP_UTF8, 0, argv[3], -1, className, sizeof className, nullptr, nullptr);
    jclass mainClass = env->FindClass(className);
    jmethodID main = mainClass ? env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V") : nullptr;
    if (!main) return 5;
    jobjectArray arguments = env->NewObjectArray(argc - 4, env->FindClass("java/lang/String"), nullptr);
    for (int i = 4; i < argc; ++i) env->SetObjectArrayElement(arguments, i - 4, javaString(env, argv[i], stringsByConstructor));
    env->CallStaticVoidMethod(mainClass, main, arguments);
    return env->ExceptionOccurred() ? 6 : 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool stringsByConstructor = argc > 1 && std::wcscmp(argv[1], L"--string-constructor") == 0;
    if (stringsByConstructor) {
        --argc;
        ++argv;
    }
    if (argc < 4) return 2;
    HMODULE library = LoadLibraryW(argv[1]);
    if (!library) return 3;
    auto create = reinterpret_cast<jint(JNICALL*)(JavaVM**, void**, void*)>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    if (!create) return 4;
    char classPath[4096] = "-Djava.class.path=";
    WideCharToMultiByte(CP_ACP, 0, argv[2], -1, classPath + 18, sizeof classPath - 18, nullptr, nullptr);
    JavaVMOption option{classPath, nullptr};
    JavaVMInitArgs args{JNI_VERSION_1_2, 1, &option, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (create(&vm, reinterpret_cast<void**>(&env), &args) != JNI_OK) return 1;
    const int result = runMain(env, argc, argv, stringsByConstructor);
    vm->DestroyJavaVM();
    return result;
}
