#pragma once
// What sets the GUI launcher (jlaunch.exe) and its console twin (jlaunchc.exe)
// apart: how each tells its user of a failure, of a missing runtime and of an
// uncaught exception, and what it sets up before the VM. Everything else they
// share; each executable's entry point makes its own flavour.

#include <optional>

#include "common/messages.h"
#include "common/platform.h"
#include "runtime/runtime_choice.h"
#include "runtime/runtime_choice_record.h"
#include "vm/main_invocation.h"
#include "vm/vm_settings.h"

class LauncherFlavour {
public:
    virtual ~LauncherFlavour() = default;

    // The texts, and where a failure is told.
    virtual Messages& messages() = 0;
    // No runtime was found where the search looked: the folder the user picked, or nothing.
    virtual std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type,
                                                       const RuntimeChoiceRecord& searched,
                                                       const FileProbe& files) = 0;
    // An exception escaped main and "Failure Check" is on.
    virtual ExceptionChoice reportUncaughtException(const Text& report) = 0;
    // Just before the VM is created with these options, on the thread that waits for it.
    virtual void beforeJavaVm(const VmOptionList& options) = 0;
    // The VM exists, and the application's own code runs next, on the Java main thread.
    virtual void beforeApplicationCode() = 0;
};
