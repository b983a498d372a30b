#pragma once
// The scenario: what the miniature Java world holds and how it behaves, read
// from a small text file beside the double. The format is in README.md.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jvm_double {

struct Step {
    enum class Kind { Out, Err, Throw, Exit, Sleep, WaitFile, Touch, Load, Return, Background, Abort };
    Kind kind = Kind::Return;
    // Out, Err: the line; Throw: the stack trace (UTF-8, \n between lines); WaitFile, Touch: the path; Load: the library
    std::string text;
    long long number = 0;  // Exit: the status; Sleep: milliseconds
};

enum class SecondaryMain { None, Void, Int };

struct ClassSpec {
    std::string name;  // slash form, com/example/App
    bool hasMain = true;
    std::vector<Step> mainSteps;
    SecondaryMain secondary = SecondaryMain::None;
    int secondaryResult = 0;
    bool secondaryResultFromArgument = false;  // the first argument read as a number
    std::vector<Step> secondarySteps;
    std::optional<std::string> findClassError;  // stack trace of the error FindClass leaves pending
    std::string staticMethod;                   // one more static method, name and signature: stop()V
    std::vector<Step> staticSteps;
};

// A jar the scenario describes; JarFile opens the file on disk and takes its entries from here.
struct JarSpec {
    std::string name;                      // the file name, matched without regard to case
    std::optional<std::string> manifest;   // META-INF/MANIFEST.MF; none: the jar has no such entry
    std::optional<std::string> readError;  // stack trace that reading the manifest throws
    std::vector<Step> helperSteps;         // run by the launcher helper before it looks the class up
};

// A module the boot layer can resolve.
struct ModuleSpec {
    std::string name;
    std::string mainClass;  // the ModuleMainClass attribute, dotted; empty: none
    std::vector<Step> helperSteps;
};

struct Scenario {
    int createResult = 0;
    std::string createAfter;  // JNI_CreateJavaVM first waits for this file (UTF-8 path)
    int javaStackSize = 1048576;
    int attachResult = 0;
    int detachResult = 0;
    bool methodNotFoundThrows = true;  // a real VM leaves NoSuchMethodError pending
    bool newStringFails = false;       // new String(char[]) throws OutOfMemoryError
    std::string awaitWindow;           // JNI_CreateJavaVM first waits for a window of this class
    bool launcherHelper = true;        // sun/launcher/LauncherHelper exists, as in Java 7 and later
    std::vector<ClassSpec> classes;
    std::vector<JarSpec> jars;
    std::vector<ModuleSpec> modules;
    std::vector<std::string> errors;  // "line N: ..." for every line that was not understood

    const ClassSpec* findClass(std::string_view name) const;
    const JarSpec* findJar(std::string_view fileName) const;
    const ModuleSpec* findModule(std::string_view name) const;
};

Scenario parseScenario(std::string_view text);

// The throwable class named by the first line of a stack trace, in slash
// form: "java.lang.IllegalStateException: boom" gives java/lang/IllegalStateException.
std::string throwableClassOf(std::string_view trace);

// The Main-Class attribute of a manifest's main section (continuation lines
// joined), trimmed; empty when there is none.
std::string manifestMainClass(std::string_view manifest);

}  // namespace jvm_double
