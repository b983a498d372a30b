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
