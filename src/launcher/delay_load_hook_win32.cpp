// The libraries the executable loads on first use (the window, shell and OLE
// libraries) come from the system folder: left alone, the delay-load helper
// would search for the bare name, beside the executable first.
#include <windows.h>

#include <delayimp.h>

#include <string>

#include "common/system_library_win32.h"

namespace {

FARPROC WINAPI loadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    const std::string ascii(info->szDll);
    const std::wstring name(ascii.begin(), ascii.end());
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
