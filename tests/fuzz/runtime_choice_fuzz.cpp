// The runtime search and ranking over a machine described by the input, an
// INI text: the settings file's runtime keys, registry keys as sections
// ("[HKLM\Software\...]" for the native view, "[HKLM32\...]" for the 32-bit
// one) with their values, and "[Files]" whose keys are the paths that exist.

#include "fuzz_support.h"
#include "launcher/main_settings.h"
#include "runtime/runtime_choice.h"

namespace {

const Text kModule(u"C:\\Apps\\tool.exe");

void describeMachine(const IniTextDocument& document, FakeRegistry& registry, FakeFiles& files) {
    for (const auto& section : document.sections()) {
        const Text& name = section.name;
        for (const auto& [key, value] : section.entries) {
            if (name == Text(u"Files")) files.add(key);
            if (name.startsWith(u"HKLM\\")) registry.put(RegistryView::Native, name.mid(5), key, value);
            if (name.startsWith(u"HKLM32\\")) registry.put(RegistryView::Bits32, name.mid(7), key, value);
        }
    }
}

void checkRanking(const RegistryPassRecord& pass, const RuntimeConstraints& constraints) {
    const RankingOptions options{constraints.favourKind, constraints.jvmType == JvmType::FavorServer};
    const auto& sorted = pass.sorted;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        for (std::size_t j = i + 1; j < sorted.size(); ++j) {
            const Separation forward = separate(sorted[i], sorted[j], options);
            const Separation backward = separate(sorted[j], sorted[i], options);
            FUZZ_CHECK(forward.rule == backward.rule);
            if (forward.rule == RankingRule::SearchOrder) continue;
            FUZZ_CHECK(forward.firstGoesFirst && !backward.firstGoesFirst);
        }
    }
    FUZZ_CHECK(pass.chosen.has_value() == !sorted.empty());
    if (pass.chosen) FUZZ_CHECK(*pass.chosen < sorted.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IniTextDocument document = parseIniText(inputTexts({data, size}, 1).front());
    FakeSettingsStore store;
    FakeFiles files;
    FakeRegistry registry;
    FakeEnvironment environment;
    putDocument(store, Text(u"C:\\Apps\\tool.ini"), document);
    describeMachine(document, registry, files);

    LaunchSettings settings;
    const LayeredSettings layered = openLaunchSettings(store, Text(u"C:\\Apps\\tool.ini"), settings);
    readMainSettings(layered, kModule, {store, files, environment, true}, settings);
    const RuntimeChoiceInput input{kModule, settings.jrePath, settings.runtime, !settings.pairProduct.empty()};
    RuntimeChoiceRecord record;
    const RuntimeChoice choice = chooseRuntime(input, {files, registry, environment}, &record);
    if (!choice.jvmLibraryPath.empty()) FUZZ_CHECK(files.exists(choice.jvmLibraryPath));
    if (choice.source == RuntimeSource::Registry32) FUZZ_CHECK(input.hasPairProduct);
    for (const auto& pass : record.passes) {
        checkRanking(pass, settings.runtime);
        const bool chosenHere = pass.chosen && choice.source == (pass.view == RegistryView::Native
                                                                       ? RuntimeSource::Registry
                                                                       : RuntimeSource::Registry32);
        if (chosenHere) FUZZ_CHECK(choice.jvmLibraryPath.startsWith(pass.sorted[*pass.chosen].home.units()));
    }
    FUZZ_CHECK(!runtimeNotFoundMessage(settings.runtime, IdTexts(true)).empty());
    return 0;
}
