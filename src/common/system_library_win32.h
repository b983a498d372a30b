#pragma once
// The system's own libraries come from the system folder only: a copy planted
// in the current directory or beside the executable is never loaded.

#include <windows.h>

// Takes the current directory out of the process's DLL search order and
// leaves every other place in it (the executable's folder, the system
// folders, the Path) as it was, so that the runtime's and the application's
// libraries load as before.
void removeCurrentDirectoryFromDllSearch();

// The library of that bare name (as "user32.dll") from the system folder, or
// null. A library the manifest redirects (comctl32 version 6) still is.
HMODULE loadSystemLibrary(const wchar_t* name);

// The system's own window, shell and picture code loads further system
// libraries by bare name, which searches the executable's folder first for
// any that is not a known DLL. Loaded from the system folder beforehand, each
// is then found already loaded. They stay loaded, as they would after use.
// For windows: the input method and theme libraries user32 and comctl32 load.
void preloadWindowSystemLibraries();
// For the shell's dialogs and the picture decoders.
void preloadShellSystemLibraries();
