#include "runtime/registry_search.h"

#include <array>
#include <string_view>
#include <vector>

#include "common/path_parts.h"
#include "runtime/jvm_location.h"

namespace {

enum class Kind { Jdk, Jre, FromName };
enum class Provider { Sun, JRockit, Ibm };

// Where one family of installers registers its runtimes: value <valueName>
// of HKEY_LOCAL_MACHINE\<key>\<version><valueKey>.
struct RegistryLayout {
    std::u16string_view key;
    std::u16string_view valueKey;
    std::u16string_view valueName;
    Kind kind;
    Provider provider;
    // Installers before Java 9 wrote these; a JDK's library is then in its "jre\".
    bool classic;
    // This key's JRE is probed for a Default JVM when "favor_server" is asked.
    bool defaultProbeForFavorServer = false;
};

constexpr std::u16string_view kHotspotMsi = u"\\hotspot\\MSI";

// In the order searched. Runtimes of current installers are the HotSpot family
// of the first two keys, so they count as the same provider.
constexpr std::array<RegistryLayout, 17> kLayouts = {{
    {u"Software\\JavaSoft\\Java Development Kit", u"", u"JavaHome", Kind::Jdk, Provider::Sun, true},
    {u"Software\\JavaSoft\\Java Runtime Environment", u"", u"JavaHome", Kind::Jre, Provider::Sun, true, true},
    {u"Software\\JRockit\\Java Runtime Environment", u"", u"JavaHome", Kind::Jre, Provider::JRockit, true},
    {u"Software\\JRockit\\Java Development Kit", u"", u"JavaHome", Kind::Jdk, Provider::JRockit, true},
    {u"Software\\IBM\\Java2 Runtime Environment", u"", u"JavaHome", Kind::Jre, Provider::Ibm, true},
    {u"Software\\JavaSoft\\JDK", u"", u"JavaHome", Kind::Jdk, Provider::Sun, false},
    {u"Software\\JavaSoft\\JRE", u"", u"JavaHome", Kind::Jre, Provider::Sun, false},
    {u"Software\\Eclipse Adoptium\\JDK", kHotspotMsi, u"Path", Kind::Jdk, Provider::Sun, false},
    {u"Software\\Eclipse Adoptium\\JRE", kHotspotMsi, u"Path", Kind::Jre, Provider::Sun, false},
    {u"Software\\Eclipse Foundation\\JDK", kHotspotMsi, u"Path", Kind::Jdk, Provider::Sun, false},
    {u"Software\\Eclipse Foundation\\JRE", kHotspotMsi, u"Path", Kind::Jre, Provider::Sun, false},
    {u"Software\\AdoptOpenJDK\\JDK", kHotspotMsi, u"Path", Kind::Jdk, Provider::Sun, false},
    {u"Software\\AdoptOpenJDK\\JRE", kHotspotMsi, u"Path", Kind::Jre, Provider::Sun, false},
    {u"Software\\Microsoft\\JDK", kHotspotMsi, u"Path", Kind::Jdk, Provider::Sun, false},
    // Subkeys such as zulu-17 and zulu-8-jre.
    {u"Software\\Azul Systems\\Zulu", u"", u"InstallationPath", Kind::FromName, Provider::Sun, false},
    // Subkeys such as 17.0.9, written by every SapMachine installer.
    {u"Software\\SapMachine\\JDK", u"", u"JavaHome", Kind::Jdk, Provider::Sun, false},
    {u"Software\\SapMachine\\JRE", u"", u"JavaHome", Kind::Jre, Provider::Sun, false},
}};

bool kindIncluded(Kind kind, const RuntimeConstraints& c) {
    switch (kind) {
    case Kind::Jdk: return c.includeJdk;
    case Kind::Jre: return c.includeJre;
    case Kind::FromName: return c.includeJdk || c.includeJre;
    }
    return false;
}

bool providerAllowed(Provider provider, const RuntimeConstraints& c) {
    switch (provider) {
    case Provider::Sun: return c.allowSun || c.favourSun;
    case Provider::JRockit: return c.allowJRockit || c.favourJRockit;
    case Provider::Ibm: return c.allowIbm || c.favourIbm;
    }
    return false;
}

bool providerFavoured(Provider provider, const RuntimeConstraints& c) {
    switch (provider) {
    case Provider::Sun: return c.favourSun;
    case Provider::JRockit: return c.favourJRockit;
    case Provider::Ibm: return c.favourIbm;
    }
    return false;
}

RegistryKeyOutcome keyAdmission(const RegistryLayout& layout, const RuntimeConstraints& c) {
    if (!layout.classic && c.classicKeysOnly) return RegistryKeyOutcome::ClassicKeysOnly;
    if (!(c.favourKind || kindIncluded(layout.kind, c)) || !providerAllowed(layout.provider, c)) {
        return RegistryKeyOutcome::KindOrProviderNotSearched;
    }
    return RegistryKeyOutcome::Searched;
}

Kind entryKind(const RegistryLayout& layout, const Text& subkey) {
    if (layout.kind != Kind::FromName) return layout.kind;
    return subkey.length() >= 4 && subkey.right(4).equalsIgnoreCase(u"-jre") ? Kind::Jre : Kind::Jdk;
}

struct PassState {
    RegistryView view;
    const RuntimeConstraints& constraints;
    const Registry& registry;
    const FileProbe& files;
    RegistryPassRecord* record;
    std::vector<RuntimeCandidate> candidates;

    void note(const RegistryLayout& layout, const Text& subkey, const JavaVersion& version, const Text& home,
              RegistryEntryOutcome outcome) {
        if (record) record->entries.push_back({Text(layout.key), subkey, version, home, outcome});
    }
};

// The home folder and library of one entry. A JDK of a current installer is
// its own runtime from Java 9 on; a Java 8 JDK keeps its library in "jre\".
std::pair<Text, JvmLibrary> locateEntryLibrary(const RegistryLayout& layout, Kind kind, const Text& value,
                                               PassState& pass) {
    const JvmType jvmType = pass.constraints.jvmType;
    const JvmType probeType = layout.defaultProbeForFavorServer && jvmType == JvmType::FavorServer
        ? JvmType::Default : jvmType;
    Text home = withTrailingBackslash(value);
    if (layout.classic && kind == Kind::Jdk) home += u"jre\\";
    JvmLibrary library = locateJvmLibrary(home, probeType, pass.files);
    if (library.path.empty() && !layout.classic && kind == Kind::Jdk) {
        Text jreHome = home + u"jre\\";
        JvmLibrary jreLibrary = locateJvmLibrary(jreHome, probeType, pass.files);
        if (!jreLibrary.path.empty()) return {jreHome, jreLibrary};
    }
    return {home, library};
}

void considerEntry(const RegistryLayout& layout, const Text& subkey, PassState& pass) {
    const RuntimeConstraints& c = pass.constraints;
    JavaVersion version;
    version.parse(subkey, kMinimumFill);
    if (!withinLimits(version, c.minimumVersion, c.maximumVersion)) {
        return pass.note(layout, subkey, version, {}, RegistryEntryOutcome::OutsideLimits);
    }
    const Kind kind = entryKind(layout, subkey);
    if (!(c.favourKind || kindIncluded(kind, c))) {
        return pass.note(layout, subkey, version, {}, RegistryEntryOutcome::KindNotSearched);
    }
    const Text entryKey = Text(layout.key) + u'\\' + subkey + layout.valueKey;
    const auto value = pass.registry.stringValue(entryKey, Text(layout.valueName), pass.view);
    if (!value || value->empty()) return pass.note(layout, subkey, version, {}, RegistryEntryOutcome::NoHome);

    auto [home, library] = locateEntryLibrary(layout, kind, *value, pass);
    if (library.path.empty()) return pass.note(layout, subkey, version, home, RegistryEntryOutcome::NoJvmLibrary);
    pass.note(layout, subkey, version, home, RegistryEntryOutcome::Candidate);
    const bool favoured = kindIncluded(kind, c) && providerFavoured(layout.provider, c);
    pass.candidates.push_back({version, std::move(home), library.isServer, favoured});
}

void searchKey(const RegistryLayout& layout, PassState& pass) {
    RegistryKeyOutcome outcome = keyAdmission(layout, pass.constraints);
    const auto names = outcome == RegistryKeyOutcome::Searched
        ? pass.registry.subkeyNames(Text(layout.key), pass.view) : std::nullopt;
    if (outcome == RegistryKeyOutcome::Searched && !names) outcome = RegistryKeyOutcome::NotOpened;
    if (pass.record) pass.record->keys.push_back({Text(layout.key), outcome});
    if (!names) return;
    for (const Text& name : *names) considerEntry(layout, name, pass);
}

ChoiceReason reasonFor(const std::vector<RuntimeCandidate>& sorted, const CandidateChoice& choice,
                       RankingOptions options) {
    if (choice.preferredEntry) return ChoiceReason::PreferredVersion;
    if (sorted.size() == 1) return ChoiceReason::OnlyCandidate;
    switch (separate(sorted[0], sorted[1], options).rule) {
    case RankingRule::Favoured: return ChoiceReason::Favoured;
    case RankingRule::ServerJvm: return ChoiceReason::ServerJvm;
    case RankingRule::HigherVersion: return ChoiceReason::HigherVersion;
    case RankingRule::SearchOrder: break;
    }
    return ChoiceReason::SearchOrder;
}

} // namespace

std::optional<Text> searchRegistry(RegistryView view, const RuntimeConstraints& constraints, const Registry& registry,
                                   const FileProbe& files, RegistryPassRecord* record) {
    PassState pass{view, constraints, registry, files, record, {}};
    if (record) record->view = view;
    for (const RegistryLayout& layout : kLayouts) searchKey(layout, pass);
    if (pass.candidates.empty()) return std::nullopt;

    const RankingOptions options{constraints.favourKind, constraints.jvmType == JvmType::FavorServer};
    sortCandidates(pass.candidates, options);
    const CandidateChoice choice = chooseCandidate(pass.candidates, constraints.preferredVersions);
    if (record) {
        record->sorted = pass.candidates;
        record->chosen = choice.index;
        record->reason = reasonFor(pass.candidates, choice, options);
        record->preferredEntry = choice.preferredEntry;
    }
    return pass.candidates[choice.index].home;
}
