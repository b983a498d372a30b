#include "launcher/service_flavour_win32.h"

#include "vm/service_stop.h"

namespace {

// Progress reports while the application stops: often enough that the
// service control manager sees the stop move well within each wait hint.
constexpr DWORD kStopHeartbeatMs = 1000;
constexpr DWORD kStopWaitHintMs = 3 * kStopHeartbeatMs;
// Creating a VM with a large heap, and its first class loading, may take long.
constexpr DWORD kStartWaitHintMs = 30000;
constexpr std::uint32_t kFailureExitCode = 0xFFFFFFFF;

void waitForThread(const UniqueHandle& thread) {
    if (thread) WaitForSingleObject(thread.get(), INFINITE);
}

} // namespace

ServiceFlavour::ServiceFlavour(const Text& executablePath, const ServiceConfiguration& configuration,
                               ServiceStatus& status)
    : status_(status),
      messages_(executablePath, configuration.errorFile), launchEnded_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    status_.startPending(kStartWaitHintMs);
}

ServiceFlavour::~ServiceFlavour() {
    if (launchEnded_) SetEvent(launchEnded_.get());
    waitForThread(stopWatch_);
    waitForThread(stopCall_);
}

std::optional<PickedRuntime> ServiceFlavour::askForRuntime(const Text& message, JvmType, const RuntimeChoiceRecord&,
                                                           const FileProbe&) {
    messages_.showError(message + u" " JAVA_DOWNLOAD_ADDRESS);
    return std::nullopt;
}

ExceptionChoice ServiceFlavour::reportUncaughtException(const Text& report) {
    messages_.showError(report);
    return ExceptionChoice::Stop;
}

void ServiceFlavour::beforeJavaVm(const VmOptionList&) {
    // The application's own System.exit must report the service stopped before the process ends.
    if (!exitWatchScope_) exitWatchScope_.emplace(&exitWatch_);
    status_.startPending(kStartWaitHintMs);
}

void ServiceFlavour::mainStarting(JavaVM* vm, const LaunchSettings& settings) {
    AcquireSRWLockExclusive(&vmLock_);
    stop_ = &settings.serviceStop;
    vm_ = vm;
    ReleaseSRWLockExclusive(&vmLock_);
    // Now, not earlier: the VM has opened the "Error File", emptying it.
    reportUnusableSettings();
    status_.running();
}

void ServiceFlavour::vmDestroyed() {
    AcquireSRWLockExclusive(&vmLock_);
    vm_ = nullptr;
    stop_ = nullptr;
    ReleaseSRWLockExclusive(&vmLock_);
}

void ServiceFlavour::reportUnusableSettings() {
    const ServiceStopSettings& stop = *stop_;
    if (!stop.unusableMethod.empty()) messages_.report(IDS_SERVICE_STOP_METHOD_INVALID, {stop.unusableMethod});
    if (!stop.unusableTimeout.empty()) {
        messages_.report(IDS_SERVICE_STOP_TIMEOUT_INVALID,
                         {stop.unusableTimeout, static_cast<std::int32_t>(kLongestServiceStopSeconds),
                          static_cast<std::int32_t>(stop.timeoutSeconds)});
    }
}

void ServiceFlavour::requestStop() {
    if (stopRequested_.exchange(true)) return;
    status_.stopPending(kStopWaitHintMs);
    stopWatch_.reset(CreateThread(nullptr, 0, watchStopThread, this, 0, nullptr));
}

void ServiceFlavour::ended(std::uint32_t exitCode) {
    status_.stopped(exitCode);
    if (launchEnded_) SetEvent(launchEnded_.get());
}

DWORD WINAPI ServiceFlavour::watchStopThread(LPVOID self) {
    static_cast<ServiceFlavour*>(self)->watchStop();
    return 0;
}

DWORD WINAPI ServiceFlavour::callStopThread(LPVOID self) {
    static_cast<ServiceFlavour*>(self)->callStop();
    return 0;
}

// The stop call may never return (System.exit ends the process in it), so it
// has a thread of its own, and this one keeps the time.
void ServiceFlavour::watchStop() {
    stopCall_.reset(CreateThread(nullptr, 0, callStopThread, this, 0, nullptr));
    AcquireSRWLockShared(&vmLock_);
    const std::uint32_t seconds = stop_ ? stop_->timeoutSeconds : kDefaultServiceStopSeconds;
    ReleaseSRWLockShared(&vmLock_);
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG{seconds} * 1000;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        const DWORD wait = static_cast<DWORD>(deadline - now < kStopHeartbeatMs ? deadline - now : kStopHeartbeatMs);
        if (WaitForSingleObject(launchEnded_.get(), wait) == WAIT_OBJECT_0) return;
        status_.stopPending(kStopWaitHintMs);
    }
    messages_.report(IDS_SERVICE_STOP_TIMED_OUT, {static_cast<std::int32_t>(seconds)});
    status_.failed(ERROR_SERVICE_REQUEST_TIMEOUT);
    // Not ExitProcess: a VM whose threads hang may hang in its library's detach too.
    TerminateProcess(GetCurrentProcess(), kFailureExitCode);
}

void ServiceFlavour::callStop() {
    AcquireSRWLockShared(&vmLock_);
    if (vm_) stopJavaApplication(vm_, stop_->method ? &*stop_->method : nullptr, messages_);
    ReleaseSRWLockShared(&vmLock_);
}
