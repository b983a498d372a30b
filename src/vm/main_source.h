#pragma once
// Where the application's main class comes from: the "Main Class" on the
// class path, an executable jar as `java -jar` starts it, or a named module
// as `java -m` starts it.

#include <optional>

#include "common/platform.h"
#include "common/text.h"
#include "vm/vm_settings.h"

enum class LaunchMode { ClassPath, Jar, Module };

// "Main Module" takes precedence over "Main Jar", which takes precedence over
// the class-path launch.
LaunchMode launchModeOf(const VmSettings& settings);

struct ModuleName {
    Text module;
    Text mainClass;  // binary name, dotted; empty when the descriptor is to name it
};

// "module" or "module/class": dot-separated identifiers on each side. Nothing
// for anything else ("/", "a/", "a//b", blanks).
std::optional<ModuleName> parseMainModule(const Text& written);

// "module" or "module/class" again, as `java -m` takes it.
Text moduleArgument(const ModuleName& name);

struct MainSource {
    LaunchMode mode = LaunchMode::ClassPath;
    Text jar;         // Jar: expanded, beside the executable when written relative
    ModuleName module;
    Text modulePath;  // Module: expanded entries joined by ';'
};

enum class MainSourceProblem {
    None,
    JarWithSeparator,  // a ';' cannot be put on the class path
    JarMissing,
    JarUnreadable,     // a folder, or a file that cannot be opened
    ModuleNotParsed,
};

struct ResolvedMainSource {
    MainSource source;
    MainSourceProblem problem = MainSourceProblem::None;
    Text subject;  // the jar path or the written "Main Module" the problem names
};

// Expands and places the jar and the module path as class path entries are
// ("\lib\app.jar" lies beside the executable), without wildcards, and checks
// what can be checked before a VM runs.
ResolvedMainSource resolveMainSource(const VmSettings& settings, const Text& launcherPath,
                                     const Environment& environment, const FileProbe& files);

// Expanded and placed as a "Class Path" entry would be, without a search.
Text placedEntry(const Text& written, const Text& launcherPath, const Environment& environment);

// The runtime holds a module image (lib\modules), as every Java 9 or later does.
bool isModularRuntime(const Text& jvmLibraryPath, const FileProbe& files);
