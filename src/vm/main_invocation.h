#pragma once
// Calling the application's static main on the thread that created the VM,
// and what follows an exception that escapes it.

#include <jni.h>

#include <memory>

#include "common/argument_list.h"
#include "common/messages.h"
#include "common/text.h"
#include "vm/main_source.h"
#include "vm/report_file.h"

enum class ExceptionChoice { Ignore, Stop };

// What invoking main asks of the user interface and the operating system.
class JavaMainActions {
public:
    virtual ~JavaMainActions() = default;
    // The class a jar's manifest or a module named (slash form), before
    // signalMainStarted, so later starts can reach its secondaryMain.
    virtual void mainClassFound(const Text& className) = 0;
    // A new empty file for the runtime's report; nothing when none can be made.
    virtual std::unique_ptr<ReportFile> newReportFile() = 0;
    // Called just before main: lets waiting hand-overs go on (mainStartedEvent).
    virtual void signalMainStarted() = 0;
    // Closes the launcher's own splash window, if one is shown.
    virtual void closeSplash() = 0;
    // The uncaught-exception dialog; Stop also when it cannot be shown.
    virtual ExceptionChoice showExceptionDialog(const Text& report) = 0;
    // Blocks the thread for good; the process then ends only through the VM.
    virtual void sleepForever() = 0;
    // The VM exists; the application's own code runs next (its main class's
    // initialisers first). What must be ready before it is waited for here.
    virtual void beforeApplicationCode() {}
};

// Where main's class is found; one of the three is set.
struct MainClassSource {
    Text className;     // slash form: com/example/App
    Text jar;           // the jar whose manifest names it
    ModuleName module;  // the module that names it, or whose class it is
};

struct MainCall {
    MainClassSource mainClass;
    ArgumentList arguments;   // command line, then "Cmd"
    bool failureCheck = false;
    bool ibmAdmitted = false;
};

// Finds the class and its main, calls it with the arguments and handles an
// exception it throws. True when main was called (whatever it threw) and the
// thread detached. Failures are reported; the thread detaches after them too,
// as a thread that ends attached keeps DestroyJavaVM waiting for ever.
bool invokeMain(JavaVM* vm, JNIEnv* env, const MainCall& call, JavaMainActions& actions, Messages& messages);
