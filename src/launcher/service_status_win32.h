#pragma once
// What a service tells the service control manager of its state. Every
// report after "stopped" is dropped: the exit hook, the stop watch and the
// end of the launch may each be the first to report it.

#include <windows.h>

#include <cstdint>

class ServiceStatus {
public:
    // Reports nothing until it has a handle.
    void attach(SERVICE_STATUS_HANDLE handle) { handle_ = handle; }

    // Each call is a step of progress: the check point goes up.
    void startPending(DWORD waitHintMs) { report(SERVICE_START_PENDING, waitHintMs); }
    void stopPending(DWORD waitHintMs) { report(SERVICE_STOP_PENDING, waitHintMs); }
    // From now on stop and shutdown requests are taken.
    void running() { report(SERVICE_RUNNING, 0); }
    // The application's exit code, as a service-specific error when not 0.
    void stopped(std::uint32_t applicationExitCode);
    // The service's own failure, such as a stop that timed out.
    void failed(DWORD win32Error);

private:
    void report(DWORD state, DWORD waitHintMs, DWORD win32ExitCode = NO_ERROR, DWORD specificExitCode = 0);

    SERVICE_STATUS_HANDLE handle_ = nullptr;
    SRWLOCK lock_ = SRWLOCK_INIT;
    DWORD checkPoint_ = 0;
    bool stopped_ = false;
};
