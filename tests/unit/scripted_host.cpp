#include "scripted_host.h"

#include "launcher/launch_plan.h"
#include "runtime/pe_image.h"

LaunchMachine ScriptedHost::machine() { return {store, files, environment, memory, paths, registry, messages}; }

InstanceStart ScriptedHost::startSingleInstance(const Text&, const ArgumentList&, const Text& mainClass, bool) {
    note("singleInstance", mainClass);
    return instanceStart;
}

std::optional<PickedRuntime> ScriptedHost::askForRuntime(const Text& message, JvmType,
                                                         const RuntimeChoiceRecord& searched) {
    note("askForRuntime", message);
    searchedBeforeAsking = searched;
    return picked;
}

PairLauncherRun ScriptedHost::runPairLauncher(const Text& pairProduct, bool waitForExit) {
    note(waitForExit ? "pairLauncher, waiting" : "pairLauncher", pairProduct);
    return pairLauncher;
}

std::int32_t ScriptedHost::setAppUserModelId(const Text& id) {
    note("appUserModelId", id);
    return appUserModelIdError;
}

LaterStartEnd ScriptedHost::waitForFirstInstance() {
    note("waitForFirstInstance");
    if (firstInstanceRestarts == 0) return {firstInstanceReply};
    --firstInstanceRestarts;
    instanceStart = InstanceStart::RunsApplication;
    return {0, true};
}

void ScriptedHost::restartOnExitCodes(const RestartExitCodes& codes) {
    std::string listed;
    for (const std::int32_t code : codes.codes) listed += (listed.empty() ? "" : ";") + std::to_string(code);
    note("restartOnExitCodes", Text::fromUtf8(listed));
}

LibraryLoad ScriptedHost::loadJvmLibrary(const Text& library) {
    note("load", library);
    jvmPathWhenLoaded = environment.get(Text(u"JL_JVM_PATH"));
    const auto found = libraries.find(library.units());
    return found == libraries.end() ? LibraryLoad{} : found->second;
}

std::uint32_t ScriptedHost::runJavaMain(JavaMainJob planned, std::uint64_t size) {
    const MainClassSource& main = planned.main.mainClass;
    const Text module = moduleArgument(main.module);
    note("runJavaMain", !main.jar.empty() ? u"jar "_t + main.jar : !module.empty() ? u"module "_t + module : main.className);
    job = std::move(planned);
    stackSize = size;
    return javaMainResult;
}

bool ScriptedHost::LoggedSplash::startNative(const Text& library, const Text&) {
    host_.note("nativeSplash", library);
    return true;
}

void ScriptedHost::LoggedSplash::startOwn(const Text& image, bool) { host_.note("ownSplash", image); }

void ScriptedHost::note(const char* step, const Text& detail) {
    steps.push_back(detail.empty() ? std::string(step) : std::string(step) + " " + detail.toUtf8());
}

std::uint32_t runAsTheLauncherDoes(ScriptedHost& host) {
    LaunchPlan plan(host);
    return plan.initialise() ? plan.run() : 0xFFFFFFFF;
}

std::vector<std::string> utf8(const std::vector<Text>& texts) {
    std::vector<std::string> out;
    for (const Text& text : texts) out.push_back(text.toUtf8());
    return out;
}

void PrintTo(const LaunchEnding& ending, std::ostream* out) {
    *out << "outcome " << static_cast<int>(ending.outcome);
    for (const std::string& message : ending.messages) *out << ", message \"" << message << '"';
    for (const std::string& option : ending.options) *out << ", option " << option;
    for (const Text& argument : ending.mainArguments) *out << ", argument " << argument.toUtf8();
}

namespace {

const LibraryFacts kGoodLibrary{0, false, kMachineAmd64, true};

LibraryFacts factsOf(const LibraryTable& libraries, const Text& library) {
    const auto found = libraries.find(library.units());
    return found == libraries.end() ? kGoodLibrary : found->second;
}

// What a 64-bit process meets when it loads a library with these facts.
LibraryLoad loadedAsWindowsDoes(const LibraryFacts& facts) {
    if (facts.openError) return {LibraryLoad::Result::NotLoaded, facts.openError};
    if (facts.empty) return {LibraryLoad::Result::NotLoaded, 1006};
    if (facts.machine != kMachineAmd64) return {LibraryLoad::Result::NotLoaded, 193};
    if (!facts.exportsEntryPoints) return {LibraryLoad::Result::NoEntryPoints, 127};
    return {};
}

} // namespace

LaunchEnding launchWith(ScriptedHost& host, const LibraryTable& libraries) {
    for (const auto& [library, facts] : libraries) {
        host.libraries[library] = loadedAsWindowsDoes(facts);
        if (facts.machine == kMachineI386) host.x86Libraries.insert(library);
    }
    const bool failed = runAsTheLauncherDoes(host) == 0xFFFFFFFF;
    LaunchEnding ending{failed ? LaunchOutcome::Fails : LaunchOutcome::StartsVm, utf8(host.messages.shown)};
    const std::vector<std::string>& steps = host.steps;
    if (!steps.empty() && steps.front().starts_with("singleInstance") && steps.back() == "waitForFirstInstance") {
        ending.outcome = LaunchOutcome::HandsOver;
    }
    if (!steps.empty() && steps.back().starts_with("pairLauncher")) ending.outcome = LaunchOutcome::RunsPairLauncher;
    if (!steps.empty() && steps.back().starts_with("askForRuntime ")) ending.messages = {steps.back().substr(14)};
    if (ending.outcome == LaunchOutcome::StartsVm && host.job) {
        ending.options = host.job->options;
        ending.options.insert(ending.options.end(), {"abort", "exit"});
        ending.mainArguments = host.job->main.arguments;
    }
    return ending;
}

LaunchEnding explainWith(ScriptedHost& machine, const LibraryTable& libraries) {
    ScriptedHost& m = machine;
    const auto facts = [&](const Text& library) { return factsOf(libraries, library); };
    ExplainPlatform platform{m.store, m.files, m.environment, m.memory, m.paths, m.registry, m.messages, true, {},
                             [&](const Text& library) { return facts(library).machine == kMachineI386; }, facts,
                             [](const Text&) { return std::nullopt; }, [](const Text&) {}};
    const LaunchAccount account = explainLaunch(*m.executable.path, m.arguments, platform);
    LaunchEnding ending{account.outcome};
    if (!account.message.empty()) ending.messages = {account.message.toUtf8()};
    if (account.outcome == LaunchOutcome::StartsVm) {
        for (const Text& option : account.vm->options) ending.options.push_back(option.toUtf8());
        ending.mainArguments = account.mainArguments;
    }
    return ending;
}
