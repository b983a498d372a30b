#pragma once
// What a launcher would do with its settings, on this machine, now, and why:
// the launcher's own launch plan, run over a host that records each step and
// stops where only running could tell.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "common/argument_list.h"
#include "common/messages.h"
#include "common/platform.h"
#include "explain/library_facts.h"
#include "launcher/instance_block.h"
#include "launcher/launch_settings.h"
#include "launcher/layered_settings.h"
#include "launcher/main_settings.h"
#include "launcher/settings_keys.h"
#include "launcher/settings_store.h"
#include "runtime/registry.h"
#include "runtime/runtime_choice_record.h"
#include "splash/splash_settings.h"
#include "vm/main_invocation.h"
#include "vm/main_source.h"
#include "vm/vm_options_record.h"

struct SettingRecord {
    SettingKey key;
    Text value;  // as the launcher reads it, before any decoding or expansion
    ValueOrigin origin = ValueOrigin::Absent;
    bool fromUserFile = false;  // "JRE Path" from the per-user settings file
};

struct SettingsAccount {
    std::optional<Text> file;  // none when the launcher's path has no '.'
    bool fileFound = false;
    bool embeddedText = false;  // the launcher carries a text for this "Upgrade Code"
    std::optional<UserSettingsFile> userFile;
    std::vector<SettingRecord> values;
};

struct FirstInstance {
    InstanceHeader header;
    bool running = false;  // its process is still there
};

struct InstanceAccount {
    bool configured = false;
    Text name;  // of the shared block
    std::optional<FirstInstance> first;
    bool argumentsFit = true;  // into the block, for a hand-over
};

struct RuntimeAccount {
    RuntimeChoiceRecord record;
    Text jvmLibraryPath;  // empty when no source yielded one
    bool needsPairLauncher = false;
    Text notFoundMessage;  // when no source yielded a library
};

enum class SplashKind { None, Native, Own };

struct SplashAccount {
    bool suppressed = false;  // "-nosplash" or "/nosplash"
    SplashSettings settings;
    SplashKind kind = SplashKind::None;
    Text nativeLibrary;  // the runtime's splash library, when it exists
};

struct VmAccount {
    Text jvmLibraryPath;  // as loaded
    LibraryFacts library;
    LibraryLoad load;     // as the file tells it
    Text jvmPathVariable, jvmHomeVariable, pathVariable;  // as the VM inherits them
    bool classPathFound = false;
    TextList options;  // as the VM receives them, the hooks last
    VmOptionsRecord record;
    std::uint64_t stackSize = 0;  // asked by -Xss; 0: the VM's default
    std::optional<std::uint64_t> threadStack;  // what the thread that runs main gets, where that is known
    Text outputFile, errorFile;
};

// Where main's class comes from, and how the launch mode reaches the VM.
struct MainAccount {
    ResolvedMainSource source;  // the mode and what "Main Jar" or "Main Module" named
    MainClassSource lookup;     // what the launcher looks main's class up by, once the VM runs
    TextList modeOptions;       // the options the mode adds, as the VM receives them
};

enum class LaunchOutcome { StartsVm, RunsPairLauncher, HandsOver, Fails };

struct LaunchAccount {
    Text launcherPath;
    bool consoleLauncher = false;
    ArgumentList commandLine;  // the arguments as the launcher splits them
    SettingsAccount settings;
    LaunchSettings decoded;    // what the settings step decoded
    InstanceAccount instance;
    std::optional<Text> workingDirectory;  // set by "Override WorkingDir"
    std::optional<RuntimeAccount> runtime;
    std::optional<SplashAccount> splash;
    std::optional<VmAccount> vm;
    std::optional<MainAccount> main;  // worked out when the application starts
    ArgumentList mainArguments;  // the command line's, then those of "Cmd"

    LaunchOutcome outcome = LaunchOutcome::Fails;
    // What the launcher shows when it fails; may be empty (also when only
    // loading the JVM library would tell the error number in it).
    Text message;
};

// The machine as the launcher would see it.
struct ExplainPlatform {
    SettingsStore& settings;  // with the embedded text of the launcher explained; never written
    const FileProbe& files;
    // The explaining process's own: the variables the launcher sets for its VM are set in it.
    Environment& environment;
    const MemoryStatus& memory;
    const PathNames& paths;
    const Registry& registry;
    const Messages& texts;  // the launcher's texts in the user's language
    bool isNtPlatform = true;
    // The launcher's default stack reserve, which a thread asked for less gets.
    std::optional<std::uint64_t> launcherStackReserve;
    std::function<bool(const Text& library)> isX86Library;
    std::function<LibraryFacts(const Text& library)> libraryFacts;
    std::function<std::optional<FirstInstance>(const Text& instanceName)> findFirstInstance;
    // "Override WorkingDir" makes the folder current before the runtime is
    // chosen; relative folders resolve against it.
    std::function<void(const Text& folder)> changeDirectory;
    // The launcher is the console one: it writes what the GUI one shows.
    bool consoleLauncher = false;
};

LaunchAccount explainLaunch(const Text& launcherPath, const ArgumentList& arguments, ExplainPlatform& platform);
