#include "launcher/service_control_win32.h"

#include "common/wide_win32.h"
#include "launcher/process_facts_win32.h"
#include "launcher/service_flavour_win32.h"
#include "launcher/settings_store_win32.h"
#include "launcher/working_directory.h"

namespace {

// The caller keeps the path and the configuration alive until dispatch returns.
class ServiceProcess {
public:
    ServiceProcess(const Text& executablePath, const ServiceConfiguration& configuration, LaunchRun runLaunch)
        : executablePath_(executablePath), configuration_(configuration), runLaunch_(runLaunch),
          runEnded_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    // Returns once the service has stopped; nothing when the manager did not start this process.
    std::optional<int> dispatch();

private:
    static void WINAPI serviceMain(DWORD argumentCount, LPWSTR* arguments);
    static DWORD WINAPI control(DWORD control, DWORD eventType, LPVOID eventData, LPVOID self);
    void run(const wchar_t* serviceName);
    void requestStop();
    void setStoppable(ServiceFlavour* flavour);

    const Text& executablePath_;
    const ServiceConfiguration& configuration_;
    LaunchRun runLaunch_;
    ServiceStatus status_;
    // The flavour while a stop request may reach it; the lock keeps it from going while one does.
    SRWLOCK stoppableLock_ = SRWLOCK_INIT;
    ServiceFlavour* stoppable_ = nullptr;
    std::atomic<bool> started_{false};
    UniqueHandle runEnded_;
    std::uint32_t exitCode_ = 0;
};

// ServiceMain takes no context argument: this is how it finds its process's
// service. Set only while the dispatcher runs, on the main thread.
ServiceProcess* dispatchedService = nullptr;

std::optional<int> ServiceProcess::dispatch() {
    dispatchedService = this;
    // For a service that has its process to itself, the name in the table is not looked at.
    wchar_t anyName[] = L"";
    SERVICE_TABLE_ENTRYW table[] = {{anyName, serviceMain}, {nullptr, nullptr}};
    const BOOL dispatched = StartServiceCtrlDispatcherW(table);
    dispatchedService = nullptr;
    if (!dispatched) return std::nullopt;
    // The service is reported stopped before its launch has returned. When
    // the application ended through System.exit, the VM ends the process and
    // this waits for ever, so that nothing here races the VM's exit.
    if (started_.load() && runEnded_) WaitForSingleObject(runEnded_.get(), INFINITE);
    return static_cast<int>(exitCode_);
}

void WINAPI ServiceProcess::serviceMain(DWORD argumentCount, LPWSTR* arguments) {
    ServiceProcess& service = *dispatchedService;
    service.started_.store(true);
    service.run(argumentCount > 0 ? arguments[0] : L"");
    if (service.runEnded_) SetEvent(service.runEnded_.get());
}

DWORD WINAPI ServiceProcess::control(DWORD control, DWORD, LPVOID, LPVOID self) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        static_cast<ServiceProcess*>(self)->requestStop();
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void ServiceProcess::run(const wchar_t* serviceName) {
    SERVICE_STATUS_HANDLE handle = RegisterServiceCtrlHandlerExW(serviceName, control, this);
    // Without a handle nothing can be told to the manager, which then gives up on the start.
    if (!handle) return;
    status_.attach(handle);
    // A service starts in the system folder; its relative paths mean the executable's.
    if (const auto folder = overriddenWorkingDirectory(executablePath_)) SetCurrentDirectoryW(wide(*folder));
    {
        ServiceFlavour flavour(executablePath_, configuration_, status_);
        setStoppable(&flavour);
        exitCode_ = static_cast<std::uint32_t>(runLaunch_(flavour));
        setStoppable(nullptr);
    }
    status_.stopped(exitCode_);
}

void ServiceProcess::requestStop() {
    AcquireSRWLockShared(&stoppableLock_);
    if (stoppable_) stoppable_->requestStop();
    ReleaseSRWLockShared(&stoppableLock_);
}

void ServiceProcess::setStoppable(ServiceFlavour* flavour) {
    AcquireSRWLockExclusive(&stoppableLock_);
    stoppable_ = flavour;
    ReleaseSRWLockExclusive(&stoppableLock_);
}

} // namespace

std::optional<int> runAsServiceWhenStartedByManager(LaunchRun runLaunch) {
    const ExecutablePath self = executablePath();
    if (!self.path) return std::nullopt;
    const auto configuration = readServiceConfiguration(WindowsSettingsStore(), *self.path);
    if (!configuration) return std::nullopt;
    ServiceProcess service(*self.path, *configuration, runLaunch);
    return service.dispatch();
}
