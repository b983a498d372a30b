#include "launcher/pair_launcher_win32.h"

#include <windows.h>

#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

PairLauncherRun runPairLauncher(const Text& pairProduct, bool waitForExit) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    // No command line: the paired launcher is started by its path alone.
    if (!CreateProcessW(wide(pairProduct), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return {false, static_cast<std::int32_t>(GetLastError())};
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    if (!waitForExit) return {true};

    DWORD exitCode = 0xFFFFFFFF;
    WaitForSingleObject(process.get(), INFINITE);
    if (!GetExitCodeProcess(process.get(), &exitCode)) exitCode = 0xFFFFFFFF;
    return {true, 0, exitCode};
}
