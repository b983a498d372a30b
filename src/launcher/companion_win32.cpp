#include "launcher/companion_win32.h"

#include <windows.h>

#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

namespace {

constexpr std::uint32_t kFailureExitCode = 0xFFFFFFFF;

} // namespace

std::uint32_t runPairLauncher(const Text& pairProduct, bool takeExitCode, Messages& messages) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    // No command line: the companion is started by its path alone.
    if (!CreateProcessW(wide(pairProduct), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        messages.report(IDS_WINDOWS_EXCEPTION, {pairProduct, static_cast<std::int32_t>(GetLastError())});
        return kFailureExitCode;
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    if (!takeExitCode) return 0;

    DWORD exitCode = kFailureExitCode;
    WaitForSingleObject(process.get(), INFINITE);
    if (!GetExitCodeProcess(process.get(), &exitCode)) return kFailureExitCode;
    return exitCode;
}
