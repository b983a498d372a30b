#include <gtest/gtest.h>

#include <vector>

#include "launcher/settings_decoding.h"
#include "runtime/registry_search.h"
#include "runtime/runtime_choice.h"
#include "test_support.h"

namespace {

// How one family of installers registers a runtime.
struct KeyForm {
    const char16_t* key;
    const char16_t* valueKey;
    const char16_t* valueName;
};
constexpr KeyForm kSunJdk{u"Software\\JavaSoft\\Java Development Kit", u"", u"JavaHome"};
constexpr KeyForm kSunJre{u"Software\\JavaSoft\\Java Runtime Environment", u"", u"JavaHome"};
constexpr KeyForm kJRockitJre{u"Software\\JRockit\\Java Runtime Environment", u"", u"JavaHome"};
constexpr KeyForm kJRockitJdk{u"Software\\JRockit\\Java Development Kit", u"", u"JavaHome"};
constexpr KeyForm kIbmJre{u"Software\\IBM\\Java2 Runtime Environment", u"", u"JavaHome"};
constexpr KeyForm kOracleJdk{u"Software\\JavaSoft\\JDK", u"", u"JavaHome"};
constexpr KeyForm kOracleJre{u"Software\\JavaSoft\\JRE", u"", u"JavaHome"};
constexpr KeyForm kAdoptiumJdk{u"Software\\Eclipse Adoptium\\JDK", u"\\hotspot\\MSI", u"Path"};
constexpr KeyForm kFoundationJre{u"Software\\Eclipse Foundation\\JRE", u"\\hotspot\\MSI", u"Path"};
constexpr KeyForm kAdoptOpenJdk{u"Software\\AdoptOpenJDK\\JDK", u"\\hotspot\\MSI", u"Path"};
constexpr KeyForm kMicrosoftJdk{u"Software\\Microsoft\\JDK", u"\\hotspot\\MSI", u"Path"};
constexpr KeyForm kZulu{u"Software\\Azul Systems\\Zulu", u"", u"InstallationPath"};
constexpr KeyForm kSapMachineJdk{u"Software\\SapMachine\\JDK", u"", u"JavaHome"};
constexpr KeyForm kSapMachineJre{u"Software\\SapMachine\\JRE", u"", u"JavaHome"};

constexpr auto kClient = u"bin\\client\\jvm.dll";
constexpr auto kServer = u"bin\\server\\jvm.dll";
constexpr auto kJreClient = u"jre\\bin\\client\\jvm.dll";
constexpr auto kJreServer = u"jre\\bin\\server\\jvm.dll";

struct Installed {
    KeyForm form;
    const char16_t* subkey;
    const char16_t* home;                    // as registered
    std::vector<const char16_t*> libraries;  // relative to the registered home
    RegistryView view = RegistryView::Native;
};

// The settings of section "Java Runtime Environment" that steer the search.
struct Settings {
    const char16_t* jvmSource = u"";
    const char16_t* vmProvider = u"";
    const char16_t* jvmType = u"";
    const char16_t* minimum = u"";
    const char16_t* maximum = u"";
    const char16_t* preferred = u"";
    const char16_t* registryKeys = u"";
};

RuntimeConstraints constraintsFor(const Settings& s) {
    RuntimeConstraints c;
    c.minimumVersion = decodeMinimumVersion(Text(s.minimum));
    c.maximumVersion = decodeMaximumVersion(Text(s.maximum));
    c.preferredVersions = decodePreferredVersions(Text(s.preferred));
    c.jvmType = decodeJvmType(Text(s.jvmType));
    decodeJvmSource(Text(s.jvmSource), c);
    decodeVmProvider(Text(s.vmProvider), c);
    c.classicKeysOnly = decodeClassicKeysOnly(Text(s.registryKeys));
    return c;
}

Text withBackslash(const char16_t* folder) {
    Text home(folder);
    return home.endsWith(u"\\") ? home : home + u'\\';
}

struct Machine {
    FakeRegistry registry;
    FakeFiles files;
    FakeEnvironment environment;

    RuntimeMachine views() const { return {files, registry, environment}; }

    explicit Machine(const std::vector<Installed>& installed) {
        for (const auto& entry : installed) {
            const Text key = Text(entry.form.key) + u'\\' + entry.subkey + entry.form.valueKey;
            registry.put(entry.view, key, Text(entry.form.valueName), Text(entry.home));
            for (const auto* library : entry.libraries) files.add(withBackslash(entry.home) + library);
        }
    }
};

std::string describe(const std::optional<Text>& home) { return home ? home->toUtf8() : "nothing"; }

} // namespace

TEST(RegistrySearch, ChoosesByKindProviderTypeLimitsAndPreferences) {
    struct Case {
        const char* what;
        Settings settings;
        std::vector<Installed> installed;
        const char16_t* expected;  // nullptr: nothing is chosen
    };
    const Case cases[] = {
        {"highest version across keys", {},
         {{kSunJdk, u"1.6", u"C:\\jdk6", {kJreClient}}, {kSunJre, u"1.7", u"C:\\jre7\\", {kClient}}}, u"C:\\jre7\\"},
        {"a JDK's runtime is its jre folder", {},
         {{kSunJdk, u"1.8", u"C:\\jdk8", {kJreClient}}, {kSunJre, u"1.7", u"C:\\jre7", {kClient}}}, u"C:\\jdk8\\jre\\"},
        {"a JDK without a jre folder is no candidate", {},
         {{kSunJdk, u"1.8", u"C:\\jdk8", {kClient}}, {kSunJre, u"1.7", u"C:\\jre7", {kClient}}}, u"C:\\jre7\\"},
        {"favor_JRE", {.jvmSource = u"favor_JRE"},
         {{kSunJdk, u"1.8", u"C:\\jdk8", {kJreClient}}, {kSunJre, u"1.6", u"C:\\jre6", {kClient}}}, u"C:\\jre6\\"},
        {"favor_JDK", {.jvmSource = u"favor_JDK"},
         {{kSunJdk, u"1.6", u"C:\\jdk6", {kJreClient}}, {kSunJre, u"1.8", u"C:\\jre8", {kClient}}}, u"C:\\jdk6\\jre\\"},
        {"only_JRE leaves a JDK out", {.jvmSource = u"only_JRE"},
         {{kSunJdk, u"1.8", u"C:\\jdk8", {kJreClient}}}, nullptr},
        {"unknown JVM Source searches nothing", {.jvmSource = u"jre"},
         {{kSunJre, u"1.8", u"C:\\jre8", {kClient}}}, nullptr},
        {"only Sun by default", {},
         {{kJRockitJre, u"1.8", u"C:\\jr8", {kClient}}, {kSunJre, u"1.6", u"C:\\jre6", {kClient}}}, u"C:\\jre6\\"},
        {"jrockit only", {.vmProvider = u"JRockit"},
         {{kSunJre, u"1.8", u"C:\\jre8", {kClient}}, {kJRockitJre, u"1.6", u"C:\\jr6", {kClient}}}, u"C:\\jr6\\"},
        {"favor_ibm puts IBM first", {.vmProvider = u"favor_ibm"},
         {{kSunJre, u"1.7", u"C:\\jre7", {kClient}}, {kIbmJre, u"1.5", u"C:\\ibm5", {kClient}}}, u"C:\\ibm5\\"},
        {"any: highest of every provider", {.vmProvider = u"any"},
         {{kIbmJre, u"1.5", u"C:\\ibm5", {kClient}}, {kSunJre, u"1.7", u"C:\\jre7", {kClient}},
          {kJRockitJdk, u"1.8", u"C:\\jrd8", {kJreClient}}}, u"C:\\jrd8\\jre\\"},
        {"server refuses a client-only runtime", {.jvmType = u"server"},
         {{kSunJre, u"1.7", u"C:\\jre7", {kClient}}, {kSunJre, u"1.6", u"C:\\jre6", {kServer}}}, u"C:\\jre6\\"},
        {"server with client runtimes only", {.jvmType = u"server"},
         {{kSunJre, u"1.7", u"C:\\jre7", {kClient}}}, nullptr},
        {"favor_server puts a server JVM first", {.jvmType = u"favor_server"},
         {{kSunJdk, u"1.7", u"C:\\jdk7", {kJreClient}}, {kSunJdk, u"1.6", u"C:\\jdk6", {kJreServer}}},
         u"C:\\jdk6\\jre\\"},
        {"favor_server probes the JRE key for a default JVM", {.jvmType = u"favor_server"},
         {{kSunJre, u"1.8", u"C:\\jre8", {kClient, kServer}}, {kSunJdk, u"1.6", u"C:\\jdk6", {kJreServer}}},
         u"C:\\jdk6\\jre\\"},
        {"limits are inclusive and bound the search", {.minimum = u"1.6", .maximum = u"1.6"},
         {{kSunJre, u"1.7", u"C:\\jre7", {kClient}}, {kSunJre, u"1.5.0_22", u"C:\\jre5", {kClient}},
          {kSunJre, u"1.6.0_45", u"C:\\jre6", {kClient}}}, u"C:\\jre6\\"},
        {"a preferred version wins over a higher one", {.preferred = u"1.5"},
         {{kSunJre, u"1.7", u"C:\\jre7", {kClient}}, {kSunJre, u"1.5.0_22", u"C:\\jre5", {kClient}}}, u"C:\\jre5\\"},
        {"an unmatched preference leaves the highest", {.preferred = u"1.4"},
         {{kSunJre, u"1.5.0_22", u"C:\\jre5", {kClient}}, {kSunJre, u"1.7", u"C:\\jre7", {kClient}}}, u"C:\\jre7\\"},
        {"a later entry decides, taking the best match", {.preferred = u"1.4;1.6"},
         {{kSunJre, u"1.7", u"C:\\jre7", {kClient}}, {kSunJre, u"1.6.0_3", u"C:\\a", {kClient}},
          {kSunJre, u"1.6.0_10", u"C:\\b", {kClient}}}, u"C:\\b\\"},
        {"an empty first entry matches anything", {.preferred = u";1.5"},
         {{kSunJre, u"1.5.0_22", u"C:\\jre5", {kClient}}, {kSunJre, u"1.7", u"C:\\jre7", {kClient}}}, u"C:\\jre7\\"},
        {"an entry without a home folder", {},
         {{kSunJre, u"1.8", u"", {}}, {kSunJre, u"1.7", u"C:\\jre7", {kClient}}}, u"C:\\jre7\\"},
        {"Oracle 17 has no jre folder", {},
         {{kSunJre, u"1.8", u"C:\\jre8", {kClient}}, {kOracleJdk, u"17", u"C:\\jdk-17", {kServer}}},
         u"C:\\jdk-17\\"},
        {"Adoptium", {},
         {{kAdoptiumJdk, u"21.0.1.12", u"C:\\Temurin\\jdk-21\\", {kServer}}, {kSunJre, u"1.8", u"C:\\jre8", {kClient}}},
         u"C:\\Temurin\\jdk-21\\"},
        {"a Java 8 JDK of a current installer keeps its library in jre", {},
         {{kAdoptiumJdk, u"8.0.392.8", u"C:\\Temurin\\jdk-8", {kJreServer}}}, u"C:\\Temurin\\jdk-8\\jre\\"},
        {"current installers of every vendor", {},
         {{kAdoptOpenJdk, u"11.0.2", u"C:\\a11", {kServer}}, {kMicrosoftJdk, u"17.0.9", u"C:\\ms17", {kServer}},
          {kFoundationJre, u"16.0.1", u"C:\\f16", {kServer}}}, u"C:\\ms17\\"},
        {"current keys sort after classic ones of the same rank", {},
         {{kOracleJre, u"17", u"C:\\new", {kServer}}, {kSunJre, u"17", u"C:\\old", {kServer}}}, u"C:\\old\\"},
        {"current keys count as the default provider", {.vmProvider = u"ibm"},
         {{kOracleJdk, u"17", u"C:\\jdk-17", {kServer}}}, nullptr},
        {"classic keys only", {.registryKeys = u"classic"},
         {{kAdoptiumJdk, u"21", u"C:\\t21", {kServer}}, {kSunJre, u"1.8", u"C:\\jre8", {kClient}}}, u"C:\\jre8\\"},
        {"Zulu's kind is in its name", {.jvmSource = u"only_JRE"},
         {{kZulu, u"zulu-17", u"C:\\zulu17", {kServer}}, {kZulu, u"zulu-8-jre", u"C:\\zre8", {kServer}}},
         u"C:\\zre8\\"},
        {"Zulu's version is in its name", {.maximum = u"11"},
         {{kZulu, u"zulu-17", u"C:\\zulu17", {kServer}}, {kZulu, u"zulu-11", u"C:\\zulu11", {kServer}}},
         u"C:\\zulu11\\"},
        {"SapMachine, a JDK and a JRE", {.jvmSource = u"only_JRE"},
         {{kSapMachineJdk, u"21.0.1", u"C:\\sm21", {kServer}}, {kSapMachineJre, u"17.0.9", u"C:\\smre17", {kServer}}},
         u"C:\\smre17\\"},
        {"SapMachine's keys are not classic", {.registryKeys = u"classic"},
         {{kSapMachineJdk, u"21.0.1", u"C:\\sm21", {kServer}}}, nullptr},
    };
    for (const auto& c : cases) {
        const Machine machine(c.installed);
        const auto chosen = searchRegistry(RegistryView::Native, constraintsFor(c.settings), machine.registry,
                                           machine.files);
        const std::optional<Text> expected = c.expected ? std::optional(Text(c.expected)) : std::nullopt;
        EXPECT_EQ(describe(chosen), describe(expected)) << c.what;
    }
}

TEST(RegistrySearch, OpensOnlyTheKeysTheSettingsAllow) {
    const Machine machine({});
    const auto opened = [&](const Settings& settings) {
        machine.registry.opened.clear();
        searchRegistry(RegistryView::Bits32, constraintsFor(settings), machine.registry, machine.files);
        std::vector<std::u16string> keys;
        for (const auto& [view, key] : machine.registry.opened) {
            EXPECT_EQ(view, RegistryView::Bits32);
            keys.push_back(key.units());
        }
        return keys;
    };
    EXPECT_EQ(opened({.jvmSource = u"only_JRE", .registryKeys = u"classic"}),
              std::vector<std::u16string>{kSunJre.key});
    EXPECT_EQ(opened({.jvmSource = u"favor_JRE", .registryKeys = u"classic"}),
              (std::vector<std::u16string>{kSunJdk.key, kSunJre.key}));
    EXPECT_EQ(opened({.vmProvider = u"favor_ibm", .registryKeys = u"classic"}),
              (std::vector<std::u16string>{kSunJdk.key, kSunJre.key, kJRockitJre.key, kJRockitJdk.key, kIbmJre.key}));
    const auto all = opened({});
    ASSERT_EQ(all.size(), 14u);
    EXPECT_EQ(all[2], kOracleJdk.key);
    EXPECT_EQ(all[11], kZulu.key);
    EXPECT_EQ(all.back(), kSapMachineJre.key);
    EXPECT_EQ(opened({.vmProvider = u"ibm", .registryKeys = u"classic"}), std::vector<std::u16string>{kIbmJre.key});
}

TEST(RegistrySearch, RecordsEveryEntryTheRankingAndTheRule) {
    const Machine machine({
        {kSunJdk, u"1.9", u"C:\\jdk9", {kJreClient}},
        {kSunJre, u"1.6", u"C:\\jre6", {kClient}},
        {kSunJre, u"1.6.0_21", u"C:\\jre6", {kClient}},
        {kSunJre, u"1.7", u"", {}},
        {kSunJre, u"1.8", u"C:\\empty", {}},
        {kZulu, u"zulu-8-jre", u"C:\\zre8", {kServer}},
        {kAdoptiumJdk, u"17.0.8.101", u"C:\\t17", {kServer}},
    });
    RegistryPassRecord record;
    const auto chosen = searchRegistry(RegistryView::Native, constraintsFor({.maximum = u"1.8", .preferred = u"1.6"}),
                                       machine.registry, machine.files, &record);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, u"C:\\jre6\\"_t);

    struct Expected {
        const char16_t* key;
        const char16_t* subkey;
        const char16_t* home;
        RegistryEntryOutcome outcome;
    };
    const Expected entries[] = {
        {kSunJdk.key, u"1.9", u"", RegistryEntryOutcome::OutsideLimits},
        {kSunJre.key, u"1.6", u"C:\\jre6\\", RegistryEntryOutcome::Candidate},
        {kSunJre.key, u"1.6.0_21", u"C:\\jre6\\", RegistryEntryOutcome::Candidate},
        {kSunJre.key, u"1.7", u"", RegistryEntryOutcome::NoHome},
        {kSunJre.key, u"1.8", u"C:\\empty\\", RegistryEntryOutcome::NoJvmLibrary},
        {kAdoptiumJdk.key, u"17.0.8.101", u"", RegistryEntryOutcome::OutsideLimits},
        {kZulu.key, u"zulu-8-jre", u"", RegistryEntryOutcome::OutsideLimits},
    };
    ASSERT_EQ(record.entries.size(), std::size(entries));
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        const auto& entry = record.entries[i];
        EXPECT_EQ(entry.key, Text(entries[i].key)) << i;
        EXPECT_EQ(entry.subkey, Text(entries[i].subkey)) << i;
        EXPECT_EQ(entry.home, Text(entries[i].home)) << i;
        EXPECT_EQ(entry.outcome, entries[i].outcome) << i;
    }
    EXPECT_EQ(record.entries[2].version.components, (std::array<std::int32_t, 4>{1, 6, 0, 21}));
    EXPECT_EQ(record.keys.size(), 17u);
    EXPECT_EQ(record.keys[2].outcome, RegistryKeyOutcome::KindOrProviderNotSearched);
    EXPECT_EQ(record.keys[5].outcome, RegistryKeyOutcome::NotOpened);

    // Two subkeys for one home are two candidates; the more precise version first.
    ASSERT_EQ(record.sorted.size(), 2u);
    EXPECT_EQ(record.sorted[0].version.components, (std::array<std::int32_t, 4>{1, 6, 0, 21}));
    EXPECT_EQ(record.sorted[1].home, u"C:\\jre6\\"_t);
    EXPECT_EQ(record.chosen, 0u);
    EXPECT_EQ(record.reason, ChoiceReason::PreferredVersion);
    EXPECT_EQ(record.preferredEntry, 0u);

    // A kind left out inside a key that holds both, and the classic keys alone.
    RegistryPassRecord jdkOnly;
    searchRegistry(RegistryView::Native, constraintsFor({.jvmSource = u"only_JDK"}), machine.registry, machine.files,
                   &jdkOnly);
    EXPECT_EQ(jdkOnly.keys[1].outcome, RegistryKeyOutcome::KindOrProviderNotSearched);
    EXPECT_EQ(jdkOnly.entries.back().subkey, u"zulu-8-jre"_t);
    EXPECT_EQ(jdkOnly.entries.back().outcome, RegistryEntryOutcome::KindNotSearched);
    RegistryPassRecord classic;
    searchRegistry(RegistryView::Native, constraintsFor({.registryKeys = u"classic"}), machine.registry, machine.files,
                   &classic);
    EXPECT_EQ(classic.keys[7].outcome, RegistryKeyOutcome::ClassicKeysOnly);
    EXPECT_EQ(classic.keys[1].outcome, RegistryKeyOutcome::Searched);
}

TEST(RegistrySearch, RecordNamesTheRuleThatPutTheWinnerFirst) {
    struct Case {
        Settings settings;
        std::vector<Installed> installed;
        ChoiceReason reason;
    };
    const Case cases[] = {
        {{}, {{kSunJre, u"1.7", u"C:\\a", {kClient}}}, ChoiceReason::OnlyCandidate},
        {{}, {{kSunJre, u"1.7", u"C:\\a", {kClient}}, {kSunJre, u"1.8", u"C:\\b", {kClient}}},
         ChoiceReason::HigherVersion},
        {{.jvmSource = u"favor_JRE"}, {{kSunJdk, u"1.8", u"C:\\a", {kJreClient}}, {kSunJre, u"1.6", u"C:\\b", {kClient}}},
         ChoiceReason::Favoured},
        {{.jvmType = u"favor_server"},
         {{kSunJdk, u"1.8", u"C:\\a", {kJreClient}}, {kSunJdk, u"1.6", u"C:\\b", {kJreServer}}},
         ChoiceReason::ServerJvm},
        {{}, {{kSunJre, u"17", u"C:\\a", {kClient}}, {kOracleJre, u"17", u"C:\\b", {kClient}}},
         ChoiceReason::SearchOrder},
    };
    for (const auto& c : cases) {
        const Machine machine(c.installed);
        RegistryPassRecord record;
        ASSERT_TRUE(searchRegistry(RegistryView::Native, constraintsFor(c.settings), machine.registry, machine.files,
                                   &record));
        EXPECT_EQ(record.reason, c.reason) << static_cast<int>(c.reason);
        EXPECT_FALSE(record.preferredEntry.has_value());
    }
}

TEST(RuntimeChoice, JrePathThenPrivateRuntimeThenTheNativeViewThenThe32BitView) {
    constexpr auto kExe = u"C:\\app\\app.exe";
    struct Case {
        const char* what;
        const char16_t* jrePath;
        std::vector<const char16_t*> files;
        std::vector<Installed> installed;
        bool hasPair;
        Settings settings;
        const char16_t* library;  // nullptr: nothing found
        RuntimeSource source;
    };
    const Installed native18{kSunJre, u"1.8", u"C:\\reg8", {kClient}};
    const Installed wow17{kSunJre, u"1.7", u"C:\\reg7x86", {kClient}, RegistryView::Bits32};
    const Case cases[] = {
        {"JRE Path wins, even outside the limits", u"C:\\jp", {u"C:\\jp\\bin\\server\\jvm.dll",
         u"C:\\app\\bin\\java.dll", u"C:\\app\\bin\\client\\jvm.dll"}, {native18}, true, {.minimum = u"9"},
         u"C:\\jp\\bin\\server\\jvm.dll", RuntimeSource::JrePath},
        {"a JRE Path without a library is passed over", u"C:\\jp\\", {u"C:\\jp\\bin\\java.dll",
         u"C:\\app\\bin\\java.dll", u"C:\\app\\bin\\client\\jvm.dll"}, {native18}, false, {},
         u"C:\\app\\bin\\client\\jvm.dll", RuntimeSource::PrivateRuntime},
        {"a private runtime in jre64", u"", {u"C:\\app\\jre64\\bin\\java.dll", u"C:\\app\\jre64\\bin\\server\\jvm.dll"},
         {native18}, false, {}, u"C:\\app\\jre64\\bin\\server\\jvm.dll", RuntimeSource::PrivateRuntime},
        {"a private runtime without the type's library", u"", {u"C:\\app\\bin\\java.dll",
         u"C:\\app\\bin\\client\\jvm.dll"}, {{kSunJre, u"1.6", u"C:\\reg6", {kServer}}}, false,
         {.jvmType = u"server"}, u"C:\\reg6\\bin\\server\\jvm.dll", RuntimeSource::Registry},
        {"a jvm.dll without java.dll is no private runtime", u"", {u"C:\\app\\bin\\client\\jvm.dll"}, {native18}, false,
         {}, u"C:\\reg8\\bin\\client\\jvm.dll", RuntimeSource::Registry},
        {"the native view first", u"", {}, {native18, wow17}, true, {}, u"C:\\reg8\\bin\\client\\jvm.dll",
         RuntimeSource::Registry},
        {"the 32-bit view for the paired launcher", u"", {}, {wow17}, true, {}, u"C:\\reg7x86\\bin\\client\\jvm.dll",
         RuntimeSource::Registry32},
        {"no 32-bit view without a paired launcher", u"", {}, {wow17}, false, {}, nullptr, RuntimeSource::JrePath},
        {"the 32-bit view only when the native one has no candidate", u"", {},
         {{kSunJre, u"1.9", u"C:\\reg9", {kClient}}, wow17}, true, {.maximum = u"1.8"},
         u"C:\\reg7x86\\bin\\client\\jvm.dll", RuntimeSource::Registry32},
        {"favor_server finally takes the server JVM of a JRE key entry", u"", {},
         {{kSunJre, u"1.8", u"C:\\reg8", {kClient, kServer}}}, false, {.jvmType = u"favor_server"},
         u"C:\\reg8\\bin\\server\\jvm.dll", RuntimeSource::Registry},
    };
    for (const auto& c : cases) {
        Machine machine(c.installed);
        for (const auto* file : c.files) machine.files.add(Text(file));
        const RuntimeConstraints constraints = constraintsFor(c.settings);
        const RuntimeChoice choice =
            chooseRuntime({Text(kExe), Text(c.jrePath), constraints, c.hasPair}, machine.views());
        EXPECT_EQ(choice.jvmLibraryPath, Text(c.library ? c.library : u"")) << c.what;
        if (c.library) EXPECT_EQ(choice.source, c.source) << c.what;
        if (!c.hasPair) {
            for (const auto& [view, key] : machine.registry.opened) EXPECT_EQ(view, RegistryView::Native) << c.what;
        }
    }
}

TEST(RuntimeChoice, RecordsEachSourceInTurn) {
    Machine machine({{kSunJre, u"1.7", u"C:\\x86", {kClient}, RegistryView::Bits32}});
    machine.files.add(u"C:\\app\\bin\\java.dll"_t);
    RuntimeChoiceRecord record;
    const RuntimeConstraints constraints;
    const RuntimeChoice choice =
        chooseRuntime({u"C:\\app\\app.exe"_t, u"C:\\jp"_t, constraints, true}, machine.views(), &record);
    EXPECT_EQ(choice.source, RuntimeSource::Registry32);
    const std::tuple<RuntimeSource, SourceOutcome, const char16_t*> expected[] = {
        {RuntimeSource::JrePath, SourceOutcome::NoJvmLibrary, u"C:\\jp\\"},
        {RuntimeSource::PrivateRuntime, SourceOutcome::NoJvmLibrary, u"C:\\app\\"},
        {RuntimeSource::Registry, SourceOutcome::NoCandidate, u""},
        {RuntimeSource::Registry32, SourceOutcome::Chosen, u"C:\\x86\\"},
    };
    ASSERT_EQ(record.sources.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& [source, outcome, folder] = expected[i];
        EXPECT_EQ(record.sources[i].source, source) << i;
        EXPECT_EQ(record.sources[i].outcome, outcome) << i;
        EXPECT_EQ(record.sources[i].folder, Text(folder)) << i;
    }
    EXPECT_EQ(record.sources.back().jvmLibraryPath, u"C:\\x86\\bin\\client\\jvm.dll"_t);
    ASSERT_EQ(record.passes.size(), 2u);
    EXPECT_EQ(record.passes[1].view, RegistryView::Bits32);
    EXPECT_EQ(record.passes[1].sorted.size(), 1u);
}

TEST(RuntimeChoice, AFolderPickedByTheUserEndsInABackslashAndHoldsTheLibrary) {
    FakeFiles files;
    files.add(u"C:\\jdk17\\bin\\server\\jvm.dll"_t);
    files.add(u"C:\\bin\\client\\jvm.dll"_t);
    files.add(u"bin\\client\\jvm.dll"_t);  // relative to the working folder, which an empty path must not name
    struct Case {
        const char16_t* path;
        const char16_t* folder;
        const char16_t* library;
    };
    const Case cases[] = {
        {u"C:\\jdk17", u"C:\\jdk17\\", u"C:\\jdk17\\bin\\server\\jvm.dll"},
        {u"C:\\", u"C:\\", u"C:\\bin\\client\\jvm.dll"},
        {u"C:\\jdk8", u"C:\\jdk8\\", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        const PickedRuntime picked = runtimeInPickedFolder(Text(c.path), JvmType::Default, files);
        EXPECT_EQ(picked.folder, Text(c.folder)) << Text(c.path).toUtf8();
        EXPECT_EQ(picked.jvmLibraryPath, Text(c.library)) << Text(c.path).toUtf8();
    }
}
