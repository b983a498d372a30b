#include "vm/jvm_library_win32.h"

#include <windows.h>

#include "common/entry_point_win32.h"
#include "common/wide_win32.h"

LibraryLoad loadJvmLibrary(const Text& libraryPath, JvmEntryPoints& entries) {
    // Never freed: the VM lives in it until the process ends.
    const HMODULE library = LoadLibraryW(wide(libraryPath));
    if (!library) return {LibraryLoad::Result::NotLoaded, static_cast<std::int32_t>(GetLastError())};
    JvmEntryPoints found;
    found.createJavaVm = entryPoint<decltype(found.createJavaVm)>(library, "JNI_CreateJavaVM");
    if (found.createJavaVm) {
        found.getDefaultJavaVmInitArgs =
            entryPoint<decltype(found.getDefaultJavaVmInitArgs)>(library, "JNI_GetDefaultJavaVMInitArgs");
    }
    if (!found.createJavaVm || !found.getDefaultJavaVmInitArgs) {
        return {LibraryLoad::Result::NoEntryPoints, static_cast<std::int32_t>(GetLastError())};
    }
    entries = found;
    return {};
}
