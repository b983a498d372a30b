#include "launcher/service_status_win32.h"

#include "launcher/service_settings.h"

void ServiceStatus::stopped(std::uint32_t applicationExitCode) {
    const ServiceExitCodes codes = serviceExitCodesFor(applicationExitCode);
    report(SERVICE_STOPPED, 0, codes.win32, codes.serviceSpecific);
}

void ServiceStatus::failed(DWORD win32Error) { report(SERVICE_STOPPED, 0, win32Error); }

void ServiceStatus::report(DWORD state, DWORD waitHintMs, DWORD win32ExitCode, DWORD specificExitCode) {
    AcquireSRWLockExclusive(&lock_);
    if (handle_ && !stopped_) {
        const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
        SERVICE_STATUS status{};
        status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
        status.dwCurrentState = state;
        status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
        status.dwWin32ExitCode = win32ExitCode;
        status.dwServiceSpecificExitCode = specificExitCode;
        status.dwCheckPoint = pending ? ++checkPoint_ : 0;
        status.dwWaitHint = waitHintMs;
        SetServiceStatus(handle_, &status);
        stopped_ = state == SERVICE_STOPPED;
    }
    ReleaseSRWLockExclusive(&lock_);
}
