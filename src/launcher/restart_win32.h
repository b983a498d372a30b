#pragma once
// Starting the executable again when the application ends with an exit code
// that asks for it. The VM's exit hook decides, after the application's
// shutdown hooks have run.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "launcher/restart_rules.h"
#include "vm/vm_hooks.h"

class ApplicationRestart final : public VmEventListener {
public:
    explicit ApplicationRestart(Messages& messages) : messages_(messages) {}
    ApplicationRestart(const ApplicationRestart&) = delete;
    ApplicationRestart& operator=(const ApplicationRestart&) = delete;

    // At the very start: notes the command line and working directory, takes
    // the chain of restarts out of the environment (the application and what
    // it starts do not inherit it) and waits for the process that restarted
    // this one to end, so that what it held is released.
    void takeOverChain();
    // From now on an application that ends with one of the codes is started
    // again; releaseForSuccessor runs first.
    void arm(const RestartExitCodes& codes, std::function<void()> releaseForSuccessor);

    void exit(jint code) override;
    void abort() override {}

private:
    // The error that kept the new process from starting, or 0.
    DWORD startSuccessor(std::uint64_t now);

    Messages& messages_;
    RestartChain chain_;
    std::wstring commandLine_;
    std::wstring workingDirectory_;
    std::vector<std::int32_t> codes_;
    std::function<void()> releaseForSuccessor_;
    std::optional<VmEventListenerScope> scope_;
};
