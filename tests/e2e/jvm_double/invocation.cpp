// The double's exports, its JavaVM table and its DllMain.

#define _JNI_IMPLEMENTATION_  // the JNI_* declarations in jni.h become exports
#include "event_log.h"
#include "text_codec.h"
#include "world.h"

#include "vm/jdk11_init_args.h"

#include <windows.h>

#include <string>

namespace jvm_double {
namespace {

Immortal<std::wstring> folderOfDll;  // with its trailing backslash

std::u16string u16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

void ensureScenario() { world().loadScenario(folderOfDll.value + L"jvm.scenario"); }

std::string hex(jint value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(value));
    return buf;
}

// Option strings are in the ANSI code page, as a real VM reads them.
std::u16string fromAnsi(const char* text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    if (!wide.empty()) wide.pop_back();
    return u16(wide);
}

void logEnvironment(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    std::string shown = utf16ToUtf8(u16(name));
    if (n == 0) {
        logEvent("env " + shown + " unset");
        return;
    }
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, value.data(), n);
    value.resize(n);
    logEvent("env " + shown + " " + quote(u16(value)));
}

// The reserved size of the calling thread's stack: from the allocation base of
// the region that holds a local variable up to the stack's upper end.
std::size_t reservedStackSize() {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(&info, &info, sizeof info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // GCC misreads the gs-relative read of the TEB
    auto* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
#pragma GCC diagnostic pop
    return static_cast<std::size_t>(static_cast<char*>(tib->StackBase) - static_cast<char*>(info.AllocationBase));
}

bool supportedVersion(jint v) {
    return v == JNI_VERSION_1_2 || v == JNI_VERSION_1_4 || v == JNI_VERSION_1_6 || v == JNI_VERSION_1_8 ||
           v == JNI_VERSION_9 || v == JNI_VERSION_10;
}

// --- JavaVM -----------------------------------------------------------------

struct Vm : JavaVM_ {};
Vm theVm;

jint JNICALL DestroyJavaVM(JavaVM*) {
    World& w = world();
    auto lock = w.guard();
    logEvent("DestroyJavaVM");
    if (!w.created()) {
        logEvent("DestroyJavaVM -> -1 (no VM)");
        return JNI_ERR;
    }
    w.destroy(lock);
    logEvent("DestroyJavaVM -> 0");
    return JNI_OK;
}

jint attachThread(void** penv, void* args, bool daemon) {
    const char* function = daemon ? "AttachCurrentThreadAsDaemon" : "AttachCurrentThread";
    World& w = world();
    auto lock = w.guard();
    std::string line = function;
    const char* name = nullptr;
    if (auto* a = static_cast<JavaVMAttachArgs*>(args)) {
        name = a->name;
        line += " args={version=" + hex(a->version) + " name=" + (name ? quoteBytes(name) : "null") + "}";
    } else {
        line += " args=null";
    }
    jint result = w.scenario().attachResult;
    if (!w.created()) result = JNI_ERR;
    ThreadEnv* t = result == JNI_OK ? w.attach(GetCurrentThreadId(), daemon, name) : nullptr;
    if (penv) *penv = static_cast<JNIEnv*>(t);
    logEvent(line + " -> " + std::to_string(result) + (t ? " " + t->name : ""));
    return result;
}

jint JNICALL AttachCurrentThread(JavaVM*, void** penv, void* args) { return attachThread(penv, args, false); }
jint JNICALL AttachCurrentThreadAsDaemon(JavaVM*, void** penv, void* args) { return attachThread(penv, args, true); }

jint JNICALL DetachCurrentThread(JavaVM*) {
    World& w = world();
    auto lock = w.guard();
    ThreadEnv* t = w.current(GetCurrentThreadId());
    jint result = w.scenario().detachResult;
    if (result == JNI_OK && t) w.detach(*t);
    logEvent("DetachCurrentThread -> " + std::to_string(result) + (t ? " " + t->name : " (not attached)"));
    return result;
}

jint JNICALL GetEnv(JavaVM*, void** penv, jint version) {
    World& w = world();
    auto lock = w.guard();
    ThreadEnv* t = w.current(GetCurrentThreadId());
    jint result = !supportedVersion(version) ? JNI_EVERSION : t ? JNI_OK : JNI_EDETACHED;
    if (penv) *penv = result == JNI_OK ? static_cast<JNIEnv*>(t) : nullptr;
    logEvent("GetEnv " + hex(version) + " -> " + std::to_string(result));
    return result;
}

const JNIInvokeInterface_ vmFunctions = {
    nullptr, nullptr, nullptr, &DestroyJavaVM, &AttachCurrentThread, &DetachCurrentThread, &GetEnv,
    &AttachCurrentThreadAsDaemon,
};

}  // namespace
}  // namespace jvm_double

using namespace jvm_double;

#ifndef JVM_DOUBLE_WITHOUT_DEFAULT_INIT_ARGS
// As a current VM does: JNI 1.1 is no longer supported (JNI_ERR), yet the
// record's javaStackSize is filled and its version raised to 1.2.
extern "C" JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    ensureScenario();
    if (!args) {
        logEvent("JNI_GetDefaultJavaVMInitArgs args=null -> -1");
        return JNI_ERR;
    }
    auto* old = static_cast<JDK1_1InitArgs*>(args);
    jint asked = old->version;
    jint result = supportedVersion(asked) ? JNI_OK : JNI_ERR;
    std::string line = "JNI_GetDefaultJavaVMInitArgs version=" + hex(asked);
    if (asked == JNI_VERSION_1_1) {
        old->version = JNI_VERSION_1_2;
        old->javaStackSize = world().scenario().javaStackSize;
        line += " javaStackSize=" + std::to_string(old->javaStackSize);
    }
    logEvent(line + " -> " + std::to_string(result));
    return result;
}
#endif

// Microseconds from the creation of this process until now, for start-up benchmarks.
static long long microsecondsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(now) - ticks(created)) / 10;
}

// Waits up to 20 s for a visible window of the class in this process. A
// window needs the process's user32, which the launcher loads from the
// system folder: waited for and taken as loaded, never loaded here, so that
// the double adds nothing to a start that does not ask for this and cannot
// pick a copy planted beside the executable (as a VM's load of a known
// library never does on Windows).
static void awaitWindow(const std::string& windowClass) {
    const ULONGLONG started = GetTickCount64();
    HMODULE user32 = nullptr;
    while (!(user32 = GetModuleHandleW(L"user32.dll")) && GetTickCount64() - started < 20000) Sleep(1);
    if (!user32) {
        logEvent("awaitWindow " + windowClass + " -> timeout");
        return;
    }
    auto entry = [user32](auto* type, const char* name) {
        return reinterpret_cast<decltype(type)>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
    };
    const auto findWindow = entry(static_cast<HWND(WINAPI*)(HWND, HWND, LPCSTR, LPCSTR)>(nullptr), "FindWindowExA");
    const auto processOf = entry(static_cast<DWORD(WINAPI*)(HWND, LPDWORD)>(nullptr), "GetWindowThreadProcessId");
    const auto visible = entry(static_cast<BOOL(WINAPI*)(HWND)>(nullptr), "IsWindowVisible");
    while (GetTickCount64() - started < 20000) {
        for (HWND window = nullptr; (window = findWindow(nullptr, window, windowClass.c_str(), nullptr));) {
            DWORD process = 0;
            processOf(window, &process);
            if (process == GetCurrentProcessId() && visible(window)) {
                logEvent("awaitWindow " + windowClass + " -> present after " +
                         std::to_string(GetTickCount64() - started) + " ms");
                return;
            }
        }
        Sleep(10);
    }
    logEvent("awaitWindow " + windowClass + " -> timeout");
}

// Which of the libraries a launcher needs only for windows are in the process.
static std::string loadedWindowLibraries() {
    std::string loaded;
    for (const char* name : {"user32", "gdi32", "comctl32", "shell32", "ole32"}) {
        if (GetModuleHandleA(name)) loaded += std::string(" ") + name;
    }
    return loaded.empty() ? " none" : loaded;
}

extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* args) {
    const long long sinceStart = microsecondsSinceProcessStart();
    ensureScenario();
    World& w = world();
    if (!w.scenario().awaitWindow.empty()) awaitWindow(w.scenario().awaitWindow);
    auto* init = static_cast<JavaVMInitArgs*>(args);
    if (!init) {
        logEvent("JNI_CreateJavaVM args=null -> -6");
        return JNI_EINVAL;
    }
    logEvent("JNI_CreateJavaVM version=" + hex(init->version) + " nOptions=" + std::to_string(init->nOptions) +
             " ignoreUnrecognized=" + std::to_string(init->ignoreUnrecognized));
    void* exitHook = nullptr;
    void* abortHook = nullptr;
    constexpr std::u16string_view mainModuleOption = u"-Djdk.module.main=";
    std::string mainModule;
    for (jint i = 0; i < init->nOptions && init->options; ++i) {
        const JavaVMOption& o = init->options[i];
        const std::u16string text = o.optionString ? fromAnsi(o.optionString) : u"";
        logEvent("option " + std::to_string(i) + " " + (o.optionString ? quote(text) : "null") +
                 " extraInfo=" + (o.extraInfo ? "set" : "null"));
        if (text == u"exit") exitHook = o.extraInfo;
        if (text == u"abort") abortHook = o.extraInfo;
        if (text.starts_with(mainModuleOption)) mainModule = utf16ToUtf8(text.substr(mainModuleOption.size()));
    }
    for (const wchar_t* name : {L"JL_JVM_PATH", L"JL_JVM_HOME", L"Path"}) logEnvironment(name);
    if (const std::string& gate = w.scenario().createAfter; !gate.empty()) {
        logEvent("JNI_CreateJavaVM waitfile " + quoteUtf8(gate));
        if (!waitForFile(gate)) logEvent("JNI_CreateJavaVM waitfile timed out");
    }
    logEvent("since process start " + std::to_string(sinceStart) + " us");
    logEvent("thread " + std::to_string(GetCurrentThreadId()) + " stack=" + std::to_string(reservedStackSize()));
    logEvent("window libraries loaded:" + loadedWindowLibraries());

    auto lock = w.guard();
    jint result = w.scenario().createResult;
    if (w.created() || w.destroyed()) result = w.created() ? JNI_EEXIST : JNI_ERR;  // one VM per process
    else if (!supportedVersion(init->version)) result = JNI_EVERSION;
    if (result == JNI_OK && !mainModule.empty() && !w.scenario().findModule(mainModule)) {
        // As a real VM: the boot layer is resolved inside the creation, and a missing module aborts it.
        w.setHooks(exitHook, abortHook);
        lock.unlock();
        w.failBootLayer(mainModule);
    }
    if (result == JNI_OK) {
        ThreadEnv& main = w.createMainThread(GetCurrentThreadId());
        w.setHooks(exitHook, abortHook);
        theVm.functions = &vmFunctions;
        if (pvm) *pvm = &theVm;
        if (penv) *penv = static_cast<JNIEnv*>(&main);
    } else {
        if (pvm) *pvm = nullptr;
        if (penv) *penv = nullptr;
    }
    logEvent("JNI_CreateJavaVM -> " + std::to_string(result));
    return result;
}

extern "C" JNIEXPORT jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize length, jsize* count) {
    ensureScenario();
    World& w = world();
    auto lock = w.guard();
    jsize n = w.created() ? 1 : 0;
    if (count) *count = n;
    if (n && vms && length > 0) vms[0] = &theVm;
    logEvent("JNI_GetCreatedJavaVMs -> " + std::to_string(n));
    return JNI_OK;
}

#ifdef JVM_DOUBLE_IMPORTS_DEPENDENCY
extern "C" __declspec(dllimport) int jldep_answer();
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        std::wstring path(MAX_PATH, L'\0');
        DWORD n;
        while ((n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()))) == path.size())
            path.resize(path.size() * 2);
        path.resize(n);
        folderOfDll.value = path.substr(0, path.find_last_of(L'\\') + 1);
        eventLog().open(folderOfDll.value + L"jvm.log");
        logEvent("loaded " + quote(u16(path)));
        logEvent("attached " + std::to_string(microsecondsSinceProcessStart()) + " us after process start");
#ifdef JVM_DOUBLE_IMPORTS_DEPENDENCY
        logEvent("dependency answers " + std::to_string(jldep_answer()));
#endif
    }
    return TRUE;
}
