#pragma once
// Calling the application's static main on the thread that created the VM,
// and what follows an exception that escapes it.

#include <jni.h>

#include "common/argument_list.h"
#include "common/messages.h"
#include "common/text.h"

enum class ExceptionChoice { Ignore, Stop };

// What invoking main asks of the user interface and the operating system.
class JavaMainActions {
public:
    virtual ~JavaMainActions() = default;
    // Called just before main: lets waiting hand-overs go on (mainStartedEvent).
    virtual void signalMainStarted() = 0;
    // Closes the launcher's own splash window, if one is shown.
    virtual void closeSplash() = 0;
    // The uncaught-exception dialog; Stop also when it cannot be shown.
    virtual ExceptionChoice showExceptionDialog(const Text& report) = 0;
    // Blocks the thread for good; the process then ends only through the VM.
    virtual void sleepForever() = 0;
};

struct MainCall {
    Text mainClass;           // slash form: com/example/App
    ArgumentList arguments;   // command line, then "Cmd"
    bool failureCheck = false;
    bool ibmAdmitted = false;
};

// Finds the class and its main, calls it with the arguments and handles an
// exception it throws. True when main was called (whatever it threw) and the
// thread detached. Failures are reported; the thread detaches after them too,
// as a thread that ends attached keeps DestroyJavaVM waiting for ever.
bool invokeMain(JavaVM* vm, JNIEnv* env, const MainCall& call, JavaMainActions& actions, Messages& messages);
