#include "vm/jvm_library_win32.h"

#include <windows.h>

#include "common/entry_point_win32.h"
#include "common/wide_win32.h"

std::optional<JvmEntryPoints> loadJvmLibrary(const Text& libraryPath, Messages& messages) {
    // Never freed: the VM lives in it until the process ends.
    const HMODULE library = LoadLibraryW(wide(libraryPath));
    if (!library) {
        messages.report(IDS_JVM_LOAD_FAILED, {libraryPath, static_cast<std::int32_t>(GetLastError())});
        return std::nullopt;
    }
    JvmEntryPoints entries;
    entries.createJavaVm = entryPoint<decltype(entries.createJavaVm)>(library, "JNI_CreateJavaVM");
    if (entries.createJavaVm) {
        entries.getDefaultJavaVmInitArgs =
            entryPoint<decltype(entries.getDefaultJavaVmInitArgs)>(library, "JNI_GetDefaultJavaVMInitArgs");
    }
    if (!entries.createJavaVm || !entries.getDefaultJavaVmInitArgs) {
        messages.report(IDS_WINDOWS_EXCEPTION,
                        {messages.text(IDS_NO_CREATE_JAVA_VM), static_cast<std::int32_t>(GetLastError())});
        return std::nullopt;
    }
    return entries;
}
