// splashscreen.dll test double: records each call of the runtime splash
// library's four entries in splashscreen.log beside the DLL, one line each:
//   SplashInit
//   SplashLoadFile "<path>"
//   SplashSetFileJarName "<path>" "<jar name>"
//   SplashClose vms=<n>|none
// Strings arrive in the ANSI code page and are logged as quoted UTF-8. At
// SplashClose the double asks a loaded jvm.dll how many VMs exist ("none":
// no jvm.dll), which also puts that question into the jvm.dll double's log,
// so a test sees where SplashClose fell among the VM's events.
// Built without SplashSetFileJarName as splashscreen-no-jar-name.dll.
#include <windows.h>

#include <jni.h>

#include <string>

#include "../jvm_double/text_codec.h"

namespace {

std::wstring logPath;

void logLine(const std::string& line) {
    const HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string quoteAnsi(const char* text) {
    if (!text) return "null";
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::u16string units(n > 0 ? static_cast<std::size_t>(n) : 1, u'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(units.data()), n);
    units.pop_back();
    return jvm_double::quote(units);
}

std::string createdVms() {
    const HMODULE jvm = GetModuleHandleW(L"jvm.dll");
    using Count = jint(JNICALL*)(JavaVM**, jsize, jsize*);
    const auto count = jvm ? reinterpret_cast<Count>(reinterpret_cast<void*>(GetProcAddress(jvm, "JNI_GetCreatedJavaVMs")))
                           : nullptr;
    jsize vms = 0;
    return count && count(nullptr, 0, &vms) == JNI_OK ? std::to_string(vms) : "none";
}

}  // namespace

extern "C" __declspec(dllexport) void SplashInit() { logLine("SplashInit"); }

extern "C" __declspec(dllexport) int SplashLoadFile(const char* path) {
    logLine("SplashLoadFile " + quoteAnsi(path));
    return 1;
}

#ifndef WITHOUT_JAR_NAME
extern "C" __declspec(dllexport) void SplashSetFileJarName(const char* path, const char* jarName) {
    logLine("SplashSetFileJarName " + quoteAnsi(path) + " " + quoteAnsi(jarName));
}
#endif

// With a file "hold" beside the double, SplashClose returns only once a file
// "release" exists there (a minute at most): the launcher's process then stays
// in its shutdown after the VM is gone, for as long as a test needs.
void holdWhileAsked() {
    const std::wstring folder = logPath.substr(0, logPath.find_last_of(L'\\') + 1);
    if (GetFileAttributesW((folder + L"hold").c_str()) == INVALID_FILE_ATTRIBUTES) return;
    for (int i = 0; i < 600 && GetFileAttributesW((folder + L"release").c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
}

extern "C" __declspec(dllexport) void SplashClose() {
    logLine("SplashClose vms=" + createdVms());
    holdWhileAsked();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        std::wstring path(MAX_PATH, L'\0');
        path.resize(GetModuleFileNameW(module, path.data(), MAX_PATH));
        logPath = path.substr(0, path.find_last_of(L'\\') + 1) + L"splashscreen.log";
    }
    return TRUE;
}
