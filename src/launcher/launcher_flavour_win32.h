#pragma once
// What sets the GUI launcher (jlaunch.exe), its console twin (jlaunchc.exe)
// and a launch that is a Windows service's work apart: how each tells its
// user of a failure, of a missing runtime and of an uncaught exception, and
// what it sets up before the VM. Everything else they share; each
// executable's entry point makes its own flavour, and either runs as a
// service when the service control manager starts it.

#include <jni.h>

#include <optional>

#include "common/messages.h"
#include "common/platform.h"
#include "launcher/launch_settings.h"
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
    // main is called next, on the Java main thread; the VM may be entered from other threads.
    virtual void mainStarting(JavaVM*, const LaunchSettings&) {}
    // DestroyJavaVM has returned: the VM may no longer be entered.
    virtual void vmDestroyed() {}
    // "Restart Exit Codes" apply.
    virtual bool restartsOnExitCodes() const { return true; }
};
