// The baseline of the start-up benchmark: the least a program must do to
// reach JNI_CreateJavaVM — load the library and call it.
#include <windows.h>

#include <jni.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HMODULE library = LoadLibraryW(argv[1]);
    if (!library) return 3;
    auto create = reinterpret_cast<jint(JNICALL*)(JavaVM**, void**, void*)>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    if (!create) return 4;
    JavaVMOption option{const_cast<char*>("-Djava.class.path=app.jar"), nullptr};
    JavaVMInitArgs args{JNI_VERSION_1_2, 1, &option, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    return create(&vm, reinterpret_cast<void**>(&env), &args) == JNI_OK ? 0 : 1;
}
