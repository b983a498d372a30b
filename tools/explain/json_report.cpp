#include "explain/account_report.h"

#include "explain/account_names.h"
#include "explain/json_writer.h"

namespace {

void jsonSettings(const SettingsAccount& settings, JsonWriter& json) {
    json.key(u"settings").beginObject();
    json.key(u"file").value(settings.file);
    json.key(u"fileFound").value(settings.fileFound);
    json.key(u"embeddedText").value(settings.embeddedText);
    json.key(u"userFile");
    if (settings.userFile) {
        json.beginObject().key(u"path").value(settings.userFile->path);
        json.key(u"inUse").value(settings.userFile->inUse).endObject();
    } else {
        json.null();
    }
    json.key(u"values").beginArray();
    for (const SettingRecord& setting : settings.values) {
        json.beginObject().key(u"section").value(setting.key.section).key(u"key").value(setting.key.key);
        json.key(u"value").value(setting.value);
        json.key(u"origin").value(setting.fromUserFile ? u"userFile" : nameOf(setting.origin).id).endObject();
    }
    json.endArray().endObject();
}

void jsonInstance(const InstanceAccount& instance, JsonWriter& json) {
    json.key(u"singleInstance").beginObject().key(u"configured").value(instance.configured);
    json.key(u"name").valueOrNull(instance.name);
    json.key(u"firstInstance");
    if (instance.first) {
        const InstanceHeader& header = instance.first->header;
        json.beginObject().key(u"processId").value(std::uint64_t{header.processId});
        json.key(u"listenerThreadId").value(std::uint64_t{header.listenerThreadId});
        json.key(u"running").value(instance.first->running).endObject();
    } else {
        json.null();
    }
    json.key(u"argumentsFit").value(instance.argumentsFit).endObject();
}

void jsonRegistryPass(const RegistryPassRecord& pass, JsonWriter& json) {
    json.beginObject().key(u"view").value(nameOf(pass.view).id).key(u"keys").beginArray();
    for (const RegistryKeyRecord& key : pass.keys) {
        json.beginObject().key(u"key").value(key.key).key(u"outcome").value(nameOf(key.outcome).id).endObject();
    }
    json.endArray().key(u"entries").beginArray();
    for (const RegistryEntryRecord& entry : pass.entries) {
        json.beginObject().key(u"key").value(entry.key).key(u"subkey").value(entry.subkey);
        json.key(u"version").value(entry.version.toText()).key(u"home").valueOrNull(entry.home);
        json.key(u"verdict").value(nameOf(entry.outcome).id).endObject();
    }
    json.endArray().key(u"ranked").beginArray();
    for (const RuntimeCandidate& candidate : pass.sorted) {
        json.beginObject().key(u"version").value(candidate.version.toText()).key(u"home").value(candidate.home);
        json.key(u"serverJvm").value(candidate.isServer).key(u"favoured").value(candidate.favoured).endObject();
    }
    json.endArray().key(u"chosen");
    if (pass.chosen) {
        json.value(std::uint64_t{*pass.chosen}).key(u"reason").value(nameOf(pass.reason).id);
    } else {
        json.null();
    }
    json.endObject();
}

void jsonRuntime(const LaunchAccount& account, JsonWriter& json) {
    json.key(u"runtime");
    if (!account.runtime) {
        json.null();
        return;
    }
    const RuntimeAccount& runtime = *account.runtime;
    json.beginObject().key(u"sources").beginArray();
    for (const SourceRecord& source : runtime.record.sources) {
        json.beginObject().key(u"source").value(nameOf(source.source).id);
        json.key(u"outcome").value(nameOf(source.outcome).id);
        json.key(u"folder").valueOrNull(source.folder);
        json.key(u"version").valueOrNull(source.version ? source.version->toText() : Text());
        json.key(u"jvmLibrary").valueOrNull(source.jvmLibraryPath).endObject();
    }
    json.endArray().key(u"registryPasses").beginArray();
    for (const RegistryPassRecord& pass : runtime.record.passes) jsonRegistryPass(pass, json);
    json.endArray();
    json.key(u"jvmLibrary").valueOrNull(runtime.jvmLibraryPath);
    json.key(u"pairLauncher").value(runtime.needsPairLauncher);
    json.key(u"notFoundMessage").valueOrNull(runtime.notFoundMessage).endObject();
}

void jsonLibrary(const VmAccount& vm, JsonWriter& json) {
    json.key(u"library").beginObject().key(u"path").value(vm.jvmLibraryPath);
    json.key(u"readError");
    vm.library.openError ? json.value(std::uint64_t{static_cast<std::uint32_t>(vm.library.openError)}) : json.null();
    json.key(u"machine");
    vm.library.machine ? json.value(std::uint64_t{*vm.library.machine}) : json.null();
    json.key(u"entryPoints").value(vm.library.exportsEntryPoints);
    json.key(u"load").value(nameOf(vm.load.result).id).key(u"error");
    vm.load.error ? json.value(std::uint64_t{static_cast<std::uint32_t>(vm.load.error)}) : json.null();
    json.endObject();
}

void jsonVm(const LaunchAccount& account, JsonWriter& json) {
    json.key(u"vm");
    if (!account.vm) {
        json.null();
        return;
    }
    const VmAccount& vm = *account.vm;
    json.beginObject();
    jsonLibrary(vm, json);
    json.key(u"environment").beginObject();
    json.key(u"JL_JVM_PATH").value(vm.jvmPathVariable).key(u"JL_JVM_HOME").value(vm.jvmHomeVariable);
    json.key(u"Path").value(vm.pathVariable).endObject();
    const SplashAccount& splash = *account.splash;
    json.key(u"splash").beginObject().key(u"suppressed").value(splash.suppressed);
    json.key(u"kind").value(nameOf(splash.kind).id).key(u"image").valueOrNull(splash.settings.image);
    json.key(u"nativeLibrary").valueOrNull(splash.nativeLibrary);
    json.key(u"shadow").value(splash.settings.wantsShadow()).endObject();
    json.key(u"classPath").beginArray();
    for (const ClassPathPieceRecord& piece : vm.record.classPath.pieces) {
        json.beginObject().key(u"written").value(piece.written).key(u"expanded").value(piece.expanded);
        json.key(u"pattern").valueOrNull(piece.pattern).key(u"entries").value(piece.added).endObject();
    }
    json.endArray().key(u"executableOnClassPath").value(vm.record.classPath.executableAdded);
    json.key(u"memory");
    if (vm.record.memory) {
        json.beginObject().key(u"totalPhysical").value(vm.record.memory->totalPhysical);
        json.key(u"availableVirtual").value(vm.record.memory->availableVirtual).endObject();
    } else {
        json.null();
    }
    json.key(u"sizedOptions").beginArray();
    for (const SizedOptionRecord& sized : vm.record.sized) {
        json.beginObject().key(u"written").value(sized.written).key(u"rewritten").value(sized.rewritten).endObject();
    }
    json.endArray().key(u"options").value(vm.options);
    json.key(u"stackSize");
    vm.stackSize ? json.value(vm.stackSize) : json.null();
    json.key(u"threadStack");
    vm.threadStack ? json.value(*vm.threadStack) : json.null();
    json.key(u"outputFile").valueOrNull(vm.outputFile);
    json.key(u"errorFile").valueOrNull(vm.errorFile).endObject();
}

void jsonMain(const LaunchAccount& account, JsonWriter& json) {
    json.key(u"main");
    if (!account.main) {
        json.null();
        return;
    }
    const MainAccount& main = *account.main;
    const MainSource& source = main.source.source;
    const bool isModule = source.mode == LaunchMode::Module;
    json.beginObject().key(u"mode").value(nameOf(source.mode).id);
    json.key(u"problem").value(nameOf(main.source.problem).id);
    json.key(u"jar").valueOrNull(source.jar);
    json.key(u"module").valueOrNull(isModule ? source.module.module : Text());
    json.key(u"moduleClass").valueOrNull(isModule ? source.module.mainClass : Text());
    json.key(u"modulePath").valueOrNull(source.modulePath);
    json.key(u"mainClassFrom");
    const bool looked = account.outcome == LaunchOutcome::StartsVm;
    looked ? json.value(nameOf(mainClassOrigin(main)).id) : json.null();
    json.key(u"modeOptions").value(main.modeOptions).endObject();
}

} // namespace

void jsonApplication(const LaunchSettings& decoded, JsonWriter& json) {
    json.key(u"appUserModelId").beginObject().key(u"value").valueOrNull(decoded.appUserModelId);
    const AppUserModelIdProblem problem = appUserModelIdProblem(decoded.appUserModelId);
    json.key(u"refused").valueOrNull(problem == AppUserModelIdProblem::None ? Text() : Text(nameOf(problem).id));
    json.endObject();
    json.key(u"restartExitCodes").beginObject().key(u"codes").beginArray();
    for (const std::int32_t code : decoded.restartExitCodes.codes) json.signedValue(code);
    json.endArray().key(u"ignored").value(decoded.restartExitCodes.ignored).endObject();
    const ServiceStopSettings& stop = decoded.serviceStop;
    json.key(u"service").beginObject().key(u"configured").value(decoded.isService);
    json.key(u"stopMethod").valueOrNull(stop.method ? stop.method->written : Text());
    json.key(u"stopTimeoutSeconds").value(std::uint64_t{stop.timeoutSeconds});
    json.key(u"unusableStopMethod").valueOrNull(stop.unusableMethod);
    json.key(u"unusableStopTimeout").valueOrNull(stop.unusableTimeout).endObject();
}

Text jsonReport(const LaunchAccount& account) {
    JsonWriter json;
    json.beginObject().key(u"launcher").value(account.launcherPath).key(u"arguments").value(account.commandLine);
    json.key(u"consoleLauncher").value(account.consoleLauncher);
    jsonSettings(account.settings, json);
    jsonInstance(account.instance, json);
    jsonApplication(account.decoded, json);
    json.key(u"workingDirectory").value(account.workingDirectory);
    jsonRuntime(account, json);
    jsonVm(account, json);
    const bool starts = account.outcome == LaunchOutcome::StartsVm;
    jsonMain(account, json);
    json.key(u"mainClass").valueOrNull(starts && account.main ? account.main->lookup.className : Text());
    json.key(u"mainArguments");
    starts ? json.value(account.mainArguments) : json.null();
    json.key(u"outcome").beginObject().key(u"result").value(nameOf(account.outcome).id);
    json.key(u"goesAhead").value(reportExitCode(account) == 0);
    json.key(u"message").valueOrNull(account.message);
    json.key(u"exitCode");
    account.outcome == LaunchOutcome::Fails ? json.value(std::uint64_t{0xFFFFFFFF}) : json.null();
    json.endObject().endObject();
    return json.text() + u"\n";
}
