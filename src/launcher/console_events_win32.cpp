#include "launcher/console_events_win32.h"

#include <windows.h>

#include <jni.h>

#include "common/entry_point_win32.h"
#include "vm/jni_calls.h"

namespace {

using GetCreatedJavaVmsFunction = jint(JNICALL*)(JavaVM** vms, jsize size, jsize* count);

// 128 plus the signal the event stands for; 0 leaves the event to others
// (Ctrl+Break, and the logoff a service also receives).
jint exitCodeFor(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT: return 130;
    case CTRL_CLOSE_EVENT:
    case CTRL_SHUTDOWN_EVENT: return 143;
    default: return 0;
    }
}

// The handler gets no context and runs on a thread of its own, so it asks the
// loaded JVM library itself whether its VM exists.
JavaVM* createdJavaVm() {
    const HMODULE library = GetModuleHandleW(L"jvm.dll");
    const auto created = library ? entryPoint<GetCreatedJavaVmsFunction>(library, "JNI_GetCreatedJavaVMs") : nullptr;
    JavaVM* vm = nullptr;
    jsize count = 0;
    if (!created || created(&vm, 1, &count) != JNI_OK || count < 1) return nullptr;
    return vm;
}

BOOL WINAPI forwardToJavaVm(DWORD event) {
    const jint code = exitCodeFor(event);
    JavaVM* const vm = code ? createdJavaVm() : nullptr;
    if (vm) exitFromAnyThread(vm, code);
    // Reached only when the VM did not exit.
    return FALSE;
}

} // namespace

ConsoleEventForwarding::ConsoleEventForwarding() : registered_(SetConsoleCtrlHandler(forwardToJavaVm, TRUE)) {}

ConsoleEventForwarding::~ConsoleEventForwarding() {
    if (registered_) SetConsoleCtrlHandler(forwardToJavaVm, FALSE);
}
