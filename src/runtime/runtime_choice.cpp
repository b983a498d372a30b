#include "runtime/runtime_choice.h"

#include "common/format.h"
#include "common/path_parts.h"
#include "runtime/environment_runtimes.h"
#include "runtime/jvm_location.h"
#include "runtime/registry_search.h"

namespace {

class ChoiceSteps {
public:
    ChoiceSteps(const RuntimeChoiceInput& input, const FileProbe& files, RuntimeChoiceRecord* record)
        : input_(input), files_(files), record_(record) {}

    // The library in the folder, noted as the source's outcome.
    RuntimeChoice tryFolder(RuntimeSource source, const Text& folder) {
        const JvmLibrary library = locateJvmLibrary(folder, input_.constraints.jvmType, files_);
        note(source, library.path.empty() ? SourceOutcome::NoJvmLibrary : SourceOutcome::Chosen, folder, library.path);
        return {library.path, source};
    }

    void note(RuntimeSource source, SourceOutcome outcome, const Text& folder = {}, const Text& library = {},
              std::optional<JavaVersion> version = std::nullopt) {
        if (record_) record_->sources.push_back({source, outcome, folder, library, version});
    }

    RegistryPassRecord* newPass() {
        if (!record_) return nullptr;
        record_->passes.emplace_back();
        return &record_->passes.back();
    }

private:
    const RuntimeChoiceInput& input_;
    const FileProbe& files_;
    RuntimeChoiceRecord* record_;
};

RuntimeChoice tryJrePath(const RuntimeChoiceInput& input, ChoiceSteps& steps) {
    if (input.jrePath.empty()) {
        steps.note(RuntimeSource::JrePath, SourceOutcome::NotConfigured);
        return {};
    }
    return steps.tryFolder(RuntimeSource::JrePath, withTrailingBackslash(input.jrePath));
}

RuntimeChoice tryPrivateRuntime(const RuntimeChoiceInput& input, const FileProbe& files, ChoiceSteps& steps) {
    const auto folder = findPrivateRuntime(input.executablePath, files);
    if (!folder) {
        steps.note(RuntimeSource::PrivateRuntime, SourceOutcome::NoRuntimeFolder);
        return {};
    }
    return steps.tryFolder(RuntimeSource::PrivateRuntime, *folder);
}

RuntimeChoice tryRegistry(const RuntimeChoiceInput& input, const RuntimeMachine& machine, ChoiceSteps& steps) {
    const FileProbe& files = machine.files;
    const Registry& registry = machine.registry;
    auto home = searchRegistry(RegistryView::Native, input.constraints, registry, files, steps.newPass());
    RuntimeSource source = RuntimeSource::Registry;
    if (!home) {
        steps.note(source, SourceOutcome::NoCandidate);
        source = RuntimeSource::Registry32;
        // 32-bit runtimes are of use only to the paired launcher.
        if (!input.hasPairProduct) {
            steps.note(source, SourceOutcome::NotConfigured);
            return {};
        }
        home = searchRegistry(RegistryView::Bits32, input.constraints, registry, files, steps.newPass());
        if (!home) {
            steps.note(source, SourceOutcome::NoCandidate);
            return {};
        }
    }
    return steps.tryFolder(source, *home);
}

RuntimeChoice tryEnvironment(const RuntimeChoiceInput& input, const RuntimeMachine& machine, ChoiceSteps& steps) {
    const EnvironmentFacts facts{machine.environment, machine.files};
    for (const RuntimeSource source : {RuntimeSource::JavaHome, RuntimeSource::PathJava}) {
        const EnvironmentCandidate candidate = source == RuntimeSource::JavaHome
            ? javaHomeRuntime(input.constraints, input.hasPairProduct, facts)
            : pathRuntime(input.constraints, input.hasPairProduct, facts);
        const bool chosen = candidate.outcome == SourceOutcome::Chosen;
        steps.note(source, candidate.outcome, candidate.home, chosen ? candidate.jvmLibraryPath : Text(),
                   candidate.version);
        if (chosen) return {candidate.jvmLibraryPath, source};
    }
    return {};
}

} // namespace

std::optional<Text> findPrivateRuntime(const Text& executablePath, const FileProbe& files) {
    const Text folder = folderWithSlashOf(executablePath);
    if (folder.empty()) return std::nullopt;
    if (isRuntimeFolder(folder, files)) return folder;
    const Text subfolder = folder + u"jre64\\";
    if (isRuntimeFolder(subfolder, files)) return subfolder;
    return std::nullopt;
}

RuntimeChoice chooseRuntime(const RuntimeChoiceInput& input, const RuntimeMachine& machine,
                            RuntimeChoiceRecord* record) {
    ChoiceSteps steps(input, machine.files, record);
    const EnvironmentRuntimes environment = input.constraints.environmentRuntimes;
    if (RuntimeChoice choice = tryJrePath(input, steps); !choice.jvmLibraryPath.empty()) return choice;
    if (RuntimeChoice choice = tryPrivateRuntime(input, machine.files, steps); !choice.jvmLibraryPath.empty()) {
        return choice;
    }
    if (environment == EnvironmentRuntimes::First) {
        if (RuntimeChoice choice = tryEnvironment(input, machine, steps); !choice.jvmLibraryPath.empty()) return choice;
    }
    if (RuntimeChoice choice = tryRegistry(input, machine, steps); !choice.jvmLibraryPath.empty()) return choice;
    if (environment == EnvironmentRuntimes::Last) return tryEnvironment(input, machine, steps);
    return {};
}

bool needsPairLauncher(RuntimeSource source, const Text& jvmLibraryPath, bool hasPairProduct,
                       const std::function<bool(const Text&)>& isX86Library) {
    switch (source) {
    case RuntimeSource::Registry32: return true;
    case RuntimeSource::JrePath:
    case RuntimeSource::JavaHome:
    case RuntimeSource::PathJava:
    case RuntimeSource::Dialog: return hasPairProduct && isX86Library(jvmLibraryPath);
    case RuntimeSource::PrivateRuntime:
    case RuntimeSource::Registry: break;
    }
    return false;
}

Text runtimeNotFoundMessage(const RuntimeConstraints& constraints, const Messages& messages) {
    const TextId format = constraints.jvmType == JvmType::Server ? IDS_JRE_NOT_FOUND_SERVER : IDS_JRE_NOT_FOUND;
    return formatText(messages.text(format),
                      {describeVersionLimits(constraints.minimumVersion, constraints.maximumVersion, messages)});
}

PickedRuntime runtimeInPickedFolder(const Text& path, JvmType type, const FileProbe& files) {
    if (path.empty()) return {};
    const Text folder = withTrailingBackslash(path);
    return {folder, locateJvmLibrary(folder, type, files).path};
}
