#include "scripted_host.h"

LaunchMachine ScriptedHost::machine() { return {store, files, environment, memory, paths, registry, messages}; }

InstanceStart ScriptedHost::startSingleInstance(const Text&, const ArgumentList&, const Text& mainClass, bool) {
    note("singleInstance", mainClass);
    return instanceStart;
}

std::optional<PickedRuntime> ScriptedHost::askForRuntime(const Text& message, JvmType) {
    note("askForRuntime", message);
    return picked;
}

PairLauncherRun ScriptedHost::runPairLauncher(const Text& pairProduct, bool waitForExit) {
    note(waitForExit ? "pairLauncher, waiting" : "pairLauncher", pairProduct);
    return pairLauncher;
}

std::uint32_t ScriptedHost::waitForFirstInstance() {
    note("waitForFirstInstance");
    return firstInstanceReply;
}

LibraryLoad ScriptedHost::loadJvmLibrary(const Text& library) {
    note("load", library);
    jvmPathWhenLoaded = environment.get(Text(u"JL_JVM_PATH"));
    const auto found = libraries.find(library.units());
    return found == libraries.end() ? LibraryLoad{} : found->second;
}

std::uint32_t ScriptedHost::runJavaMain(JavaMainJob planned, std::uint64_t size) {
    note("runJavaMain", planned.main.mainClass);
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
