#include "explain/explaining_host.h"

#include <array>

#include "common/ansi.h"
#include "launcher/single_instance.h"
#include "vm/vm_init_args.h"

ExplainingHost::ExplainingHost(const Text& launcherPath, const ArgumentList& arguments, ExplainPlatform& platform)
    : platform_(platform) {
    account_.launcherPath = launcherPath;
    account_.commandLine = arguments;
}

LaunchMachine ExplainingHost::machine() {
    return {platform_.settings, platform_.files, platform_.environment, platform_.memory,
            platform_.paths,    platform_.registry, *this};
}

InstanceStart ExplainingHost::startSingleInstance(const Text& modulePath, const ArgumentList& arguments,
                                                  const Text&, bool) {
    InstanceAccount& instance = account_.instance;
    instance.configured = true;
    instance.name = instanceName(modulePath);
    instance.first = platform_.findFirstInstance(instance.name);
    if (!instance.first) return InstanceStart::RunsApplication;
    std::array<unsigned char, instance_block::kSize> scratch{};
    instance.argumentsFit = writeHandOverArguments(InstanceBlockView(scratch), arguments);
    // A block that names no listener is left by a first instance that runs on its own.
    if (!instance.argumentsFit || instance.first->header.listenerThreadId == 0) return InstanceStart::HandOverFailed;
    account_.outcome = LaunchOutcome::HandsOver;
    return InstanceStart::HandedOver;
}

void ExplainingHost::changeDirectory(const Text& folder) {
    account_.workingDirectory = folder;
    platform_.changeDirectory(folder);
}

std::optional<PickedRuntime> ExplainingHost::askForRuntime(const Text& message, JvmType, const RuntimeChoiceRecord&) {
    // What the user picks is theirs to say; the account goes as far as the dialog.
    account_.runtime.emplace().notFoundMessage = message;
    account_.message = message;
    return std::nullopt;
}

PairLauncherRun ExplainingHost::runPairLauncher(const Text&, bool) {
    account_.outcome = LaunchOutcome::RunsPairLauncher;
    return {true};
}

LibraryLoad ExplainingHost::loadJvmLibrary(const Text& library) {
    VmAccount& vm = account_.vm.emplace();
    vm.jvmLibraryPath = library;
    vm.jvmPathVariable = platform_.environment.get(Text(u"JL_JVM_PATH"));
    vm.jvmHomeVariable = platform_.environment.get(Text(u"JL_JVM_HOME"));
    vm.pathVariable = platform_.environment.get(Text(u"Path"));
    vm.library = platform_.libraryFacts(library);
    vm.load = predictLibraryLoad(vm.library);
    return vm.load;
}

std::uint32_t ExplainingHost::runJavaMain(JavaMainJob job, std::uint64_t stackSize) {
    VmAccount& vm = *account_.vm;
    vm.classPathFound = true;
    const VmOptionRecords records(job.options);
    for (const JavaVMOption& option : records.records()) vm.options.push_back(fromAnsi(option.optionString));
    vm.stackSize = stackSize;
    // Without -Xss the launcher asks the VM for its default, which only the loaded VM tells.
    if (stackSize) vm.threadStack = threadStackFor(stackSize, platform_.launcherStackReserve);
    vm.outputFile = job.streams.output;
    vm.errorFile = job.streams.error;
    account_.mainArguments = job.main.arguments;
    mainLookup_ = job.main.mainClass;
    account_.outcome = LaunchOutcome::StartsVm;
    // What Java does only running tells; a main that returns is taken.
    return 0;
}
