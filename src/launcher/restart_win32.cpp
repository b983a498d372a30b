#include "launcher/restart_win32.h"

#include <algorithm>
#include <iterator>

#include "common/growing_buffer_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"
#include "launcher/process_facts_win32.h"

namespace {

// Long enough for any shutdown; a process that restarted us has only to end.
constexpr DWORD kPredecessorWait = 10000;

std::uint64_t millisecondsNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
}

void waitForProcessToEnd(std::uint32_t processId) {
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (process) WaitForSingleObject(process.get(), kPredecessorWait);
}

// A console's redirected handles go to the new process as they came to this one.
void inheritStandardHandles(STARTUPINFOW& startup) {
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    if (startup.hStdInput || startup.hStdOutput || startup.hStdError) startup.dwFlags |= STARTF_USESTDHANDLES;
}

} // namespace

void ApplicationRestart::takeOverChain() {
    commandLine_ = GetCommandLineW();
    workingDirectory_ = textOfGrowingBuffer(MAX_PATH, [](wchar_t* buffer, DWORD size) {
                            return lengthOrSizeNeeded(GetCurrentDirectoryW(size, buffer), size);
                        }).value_or(std::wstring());
    const Text name(kRestartChainVariable);
    // A chain holds a process id and at most five times; a longer value is not one.
    wchar_t value[256];
    const DWORD length = GetEnvironmentVariableW(wide(name), value, std::size(value));
    if (length == 0) return;
    SetEnvironmentVariableW(wide(name), nullptr);
    if (length < std::size(value)) chain_ = parseRestartChain(fromWide(value, length));
    if (chain_.previousProcessId != 0) waitForProcessToEnd(chain_.previousProcessId);
}

void ApplicationRestart::arm(const RestartExitCodes& codes, std::function<void()> releaseForSuccessor) {
    codes_ = codes.codes;
    releaseForSuccessor_ = std::move(releaseForSuccessor);
    if (!scope_) scope_.emplace(this);
}

void ApplicationRestart::exit(jint code) {
    const std::uint64_t now = millisecondsNow();
    // Past the limit the exit code goes through, as it would without restarts.
    if (std::find(codes_.begin(), codes_.end(), code) == codes_.end() || !restartAllowed(chain_, now)) return;
    if (releaseForSuccessor_) releaseForSuccessor_();
    if (const DWORD error = startSuccessor(now)) {
        const ExecutablePath self = executablePath();
        messages_.report(IDS_RESTART_FAILED, {self.path.value_or(Text()), static_cast<std::int32_t>(error)});
        return;
    }
    // The VM has run its shutdown; what is left of this process is its exit code.
    ExitProcess(0);
}

DWORD ApplicationRestart::startSuccessor(std::uint64_t now) {
    const ExecutablePath self = executablePath();
    if (!self.path) return static_cast<DWORD>(self.error);
    const Text chain = formatRestartChain(nextRestartChain(chain_, GetCurrentProcessId(), now));
    SetEnvironmentVariableW(wide(Text(kRestartChainVariable)), wide(chain));
    std::wstring commandLine = commandLine_;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    inheritStandardHandles(startup);
    PROCESS_INFORMATION created{};
    const BOOL started = CreateProcessW(wide(*self.path), commandLine.data(), nullptr, nullptr,
                                        (startup.dwFlags & STARTF_USESTDHANDLES) != 0, 0, nullptr,
                                        workingDirectory_.empty() ? nullptr : workingDirectory_.c_str(), &startup,
                                        &created);
    if (!started) return GetLastError();
    const UniqueHandle thread(created.hThread);
    const UniqueHandle process(created.hProcess);
    return 0;
}
