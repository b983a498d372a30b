// The libraries the executable loads on first use (the window, shell and OLE
// libraries) come from the system folder: left alone, the delay-load helper
// would search for the bare name, beside the executable first.
#include <windows.h>

#include <delayimp.h>

#include <string>

#include "common/system_library_win32.h"

namespace {

void preloadFor(const std::string& library) {
    const auto is = [&](const char* name) { return lstrcmpiA(library.c_str(), name) == 0; };
    if (is("user32.dll") || is("gdi32.dll")) {
        preloadWindowSystemLibraries();
    } else if (is("comctl32.dll") || is("shell32.dll") || is("ole32.dll") || is("oleaut32.dll")) {
        preloadShellSystemLibraries();
    }
}

FARPROC WINAPI loadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    const std::string ascii(info->szDll);
    const std::wstring name(ascii.begin(), ascii.end());
    // The first window or dialog is near: what the library and its like load by
    // name comes from the system folder first (Wine's user32 loads imm32 as it starts).
    preloadFor(ascii);
    HMODULE library = loadSystemLibrary(name.c_str());
    if (!library) {
        // Returning null would make the helper search for the bare name: fail
        // as the helper itself does when a library cannot be loaded.
        ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(info);
        RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, &argument);
    }
    return reinterpret_cast<FARPROC>(library);
}

} // namespace

// The helper's notification hook, read by it on every first call into a delay-loaded library.
decltype(__pfnDliNotifyHook2) __pfnDliNotifyHook2 = loadFromSystemFolder;
