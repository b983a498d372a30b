#include "launcher/launcher_win32.h"

#include "common/wide_win32.h"
#include "launcher/app_user_model_id_win32.h"
#include "launcher/pair_launcher_win32.h"
#include "launcher/process_facts_win32.h"
#include "runtime/jvm_architecture_win32.h"
#include "vm/java_main_thread_win32.h"

void Launcher::shutdown() {
    splash_.closeOwn();
    // Returns once the application's last non-daemon thread has ended.
    if (vm_.vm) {
        vm_.vm->DestroyJavaVM();
        singleInstance_.vmDestroyed();
        flavour_.vmDestroyed();
    }
    singleInstance_.stop();
    splash_.closeNative();
}

LaunchMachine Launcher::machine() {
    return {settingsStore_, files_, environment_, memory_, paths_, registry_, messages_};
}

ArgumentList Launcher::commandLineArguments() { return argumentsFromCommandLine(fromWide(GetCommandLineW())); }

ExecutablePath Launcher::executablePath() { return ::executablePath(); }

bool Launcher::isNtPlatform() { return ::isNtPlatform(); }

bool Launcher::isX86Library(const Text& library) { return ::isX86Library(library); }

InstanceStart Launcher::startSingleInstance(const Text& modulePath, const ArgumentList& arguments,
                                            const Text& mainClass, bool ibmAdmitted) {
    mainClass_ = mainClass;
    if (!singleInstance_.setUp(modulePath, arguments, {&mainClass_, ibmAdmitted, &vm_.vm})) {
        return InstanceStart::HandOverFailed;
    }
    return singleInstance_.isLaterStart() ? InstanceStart::HandedOver : InstanceStart::RunsApplication;
}

std::int32_t Launcher::setAppUserModelId(const Text& id) { return setProcessAppUserModelId(id); }

void Launcher::changeDirectory(const Text& folder) { SetCurrentDirectoryW(wide(folder)); }

std::optional<PickedRuntime> Launcher::askForRuntime(const Text& message, JvmType type,
                                                     const RuntimeChoiceRecord& searched) {
    return flavour_.askForRuntime(message, type, searched, files_);
}

PairLauncherRun Launcher::runPairLauncher(const Text& pairProduct, bool waitForExit) {
    return ::runPairLauncher(pairProduct, waitForExit);
}

LaterStartEnd Launcher::waitForFirstInstance() { return singleInstance_.waitForPrimary(); }

LibraryLoad Launcher::loadJvmLibrary(const Text& library) { return ::loadJvmLibrary(library, jvm_); }

void Launcher::restartOnExitCodes(const RestartExitCodes& codes) {
    if (!flavour_.restartsOnExitCodes()) return;
    // The successor may take this instance's role: later starts must find it ending, not serving.
    restart_.arm(codes, [this] { singleInstance_.withdraw(); });
}

std::uint32_t Launcher::runJavaMain(JavaMainJob job, std::uint64_t stackSize) {
    job.createJavaVm = jvm_.createJavaVm;
    if (stackSize == 0) stackSize = defaultJavaStackSize(jvm_.getDefaultJavaVmInitArgs);
    WindowsJavaMainActions actions(singleInstance_.mainStartedEvent(), mainClass_, [this] { splash_.closeOwn(); },
                                   [this](const Text& report) { return flavour_.reportUncaughtException(report); },
                                   [this] { flavour_.beforeApplicationCode(); },
                                   [this] { flavour_.mainStarting(vm_.vm, plan_.settings()); });
    flavour_.beforeJavaVm(job.options);
    return runOnJavaMainThread(stackSize, [&] { return ::runJavaMain(job, vm_, folders_, actions, messages_); });
}
