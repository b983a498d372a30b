#pragma once
// The flavour of a launch that is the work of a Windows service: messages to
// the event log, no dialogs, the state reported to the service control
// manager, and a stop request that ends the application.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>

#include "common/unique_handle_win32.h"
#include "launcher/launcher_flavour_win32.h"
#include "launcher/service_messages_win32.h"
#include "launcher/service_settings.h"
#include "launcher/service_status_win32.h"
#include "vm/vm_hooks.h"

class ServiceFlavour final : public LauncherFlavour {
public:
    ServiceFlavour(const Text& executablePath, const ServiceConfiguration& configuration, ServiceStatus& status);
    ServiceFlavour(const ServiceFlavour&) = delete;
    ServiceFlavour& operator=(const ServiceFlavour&) = delete;
    // Waits for the threads a stop request started.
    ~ServiceFlavour() override;

    Messages& messages() override { return messages_; }
    // The message in the event log; picks nothing, and the service stops with a failure.
    std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type, const RuntimeChoiceRecord& searched,
                                               const FileProbe& files) override;
    // The report in the event log; the application stops.
    ExceptionChoice reportUncaughtException(const Text& report) override;
    void beforeJavaVm(const VmOptionList& options) override;
    void beforeApplicationCode() override {}
    // Reports "running"; from now on a stop request ends the application as the settings say.
    void mainStarting(JavaVM* vm, const LaunchSettings& settings) override;
    void vmDestroyed() override;
    // A service is started again by the service control manager's recovery settings.
    bool restartsOnExitCodes() const override { return false; }

    // A stop or shutdown request of the service control manager.
    void requestStop();
    // The application ends through System.exit (or the VM aborts) with this exit code.
    void ended(std::uint32_t exitCode);

private:
    class ExitWatch final : public VmEventListener {
    public:
        explicit ExitWatch(ServiceFlavour& flavour) : flavour_(flavour) {}
        void exit(jint code) override { flavour_.ended(static_cast<std::uint32_t>(code)); }
        void abort() override { flavour_.ended(0xFFFFFFFFu); }

    private:
        ServiceFlavour& flavour_;
    };

    static DWORD WINAPI watchStopThread(LPVOID self);
    static DWORD WINAPI callStopThread(LPVOID self);
    void watchStop();
    void callStop();
    void reportUnusableSettings();

    ServiceStatus& status_;
    ServiceMessages messages_;
    ExitWatch exitWatch_{*this};
    std::optional<VmEventListenerScope> exitWatchScope_;

    // The VM while stop calls may enter it: shutdown takes the lock once
    // DestroyJavaVM has returned, and a stop that comes later finds none.
    // The launch's stop settings go with it.
    SRWLOCK vmLock_ = SRWLOCK_INIT;
    JavaVM* vm_ = nullptr;
    const ServiceStopSettings* stop_ = nullptr;

    std::atomic<bool> stopRequested_{false};
    UniqueHandle launchEnded_;
    UniqueHandle stopWatch_;
    UniqueHandle stopCall_;
};
