#include "vm/java_main_thread_win32.h"

#include <limits>

#include "common/unique_handle_win32.h"
#include "vm/report_file_win32.h"

namespace {

DWORD WINAPI threadRoutine(LPVOID work) {
    return (*static_cast<const std::function<std::uint32_t()>*>(work))();
}

} // namespace

std::uint32_t runOnJavaMainThread(std::uint64_t stackSize, const std::function<std::uint32_t()>& work) {
    if (stackSize > std::numeric_limits<SIZE_T>::max()) return work();
    UniqueHandle thread(CreateThread(nullptr, static_cast<SIZE_T>(stackSize), threadRoutine,
                                     const_cast<std::function<std::uint32_t()>*>(&work), 0, nullptr));
    if (!thread) return work();
    // Alertable: work handed to this thread meanwhile (the splash thread's start) runs here.
    while (WaitForSingleObjectEx(thread.get(), INFINITE, TRUE) == WAIT_IO_COMPLETION) {
    }
    DWORD exitCode = 1;
    GetExitCodeThread(thread.get(), &exitCode);
    return exitCode;
}

std::unique_ptr<ReportFile> WindowsJavaMainActions::newReportFile() { return newTemporaryReportFile(); }

void WindowsJavaMainActions::signalMainStarted() {
    if (mainStarted_) SetEvent(mainStarted_);
    if (mainStarting_) mainStarting_();
}

void WindowsJavaMainActions::closeSplash() {
    if (closeSplash_) closeSplash_();
}

ExceptionChoice WindowsJavaMainActions::showExceptionDialog(const Text& report) { return reportUncaught_(report); }

void WindowsJavaMainActions::sleepForever() {
    for (;;) Sleep(INFINITE);
}
