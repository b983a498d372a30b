#include "launcher/settings_decoding.h"

#include <array>
#include <string_view>

#include "common/splitting.h"

namespace {

struct JvmSourceRow {
    std::u16string_view value;
    bool includeJdk, includeJre, favourKind;
};

constexpr std::array<JvmSourceRow, 4> kJvmSources = {{
    {u"favor_JRE", false, true, true},
    {u"favor_JDK", true, false, true},
    {u"only_JRE", false, true, false},
    {u"only_JDK", true, false, false},
}};

struct VmProviderRow {
    std::u16string_view value;
    bool allowSun, favourSun, allowJRockit, favourJRockit, allowIbm, favourIbm;
};

// The first row's empty key never matches a non-empty value; its flags are the start values.
constexpr std::array<VmProviderRow, 7> kVmProviders = {{
    {u"", true, true, false, false, false, false},
    {u"jrockit", false, false, true, true, false, false},
    {u"ibm", false, false, false, false, true, true},
    {u"favor_sun", true, true, true, false, true, false},
    {u"favor_jrockit", true, false, true, true, true, false},
    {u"favor_ibm", true, false, true, false, true, true},
    {u"any", true, false, true, false, true, false},
}};

} // namespace

bool isYesAnyCase(const Text& value) { return value.equalsIgnoreCase(u"Yes"); }

bool decodeIsService(const Text& applicationType) { return applicationType == u"service"; }

bool decodeSingleInstance(const Text& singleInstance) { return singleInstance == u"yes"; }

JvmType decodeJvmType(const Text& value) {
    if (value == u"server") return JvmType::Server;
    if (value == u"favor_server") return JvmType::FavorServer;
    return JvmType::Default;
}

JavaVersion decodeMinimumVersion(const Text& value) {
    JavaVersion version;
    if (!(value == u"any")) version.parse(value, kMinimumFill);
    return version;
}

JavaVersion decodeMaximumVersion(const Text& value) {
    JavaVersion version;
    if (value == u"any") {
        version.components = {65535, 65535, 65535, 65535};
    } else {
        version.parse(value, kMaximumFill);
    }
    return version;
}

TextList decodePreferredVersions(const Text& value) { return splitList(value, Text(u";")); }

Text decodeMainClass(const Text& value) { return value.replaced(u'.', u'/'); }

bool decodeClassicKeysOnly(const Text& registryKeys) { return registryKeys == u"classic"; }

EnvironmentRuntimes decodeEnvironmentRuntimes(const Text& value) {
    if (value == u"first") return EnvironmentRuntimes::First;
    if (value == u"no") return EnvironmentRuntimes::No;
    return EnvironmentRuntimes::Last;
}

void decodeJvmSource(const Text& value, RuntimeConstraints& constraints) {
    if (value.empty()) {
        constraints.includeJdk = constraints.includeJre = true;
        return;
    }
    for (const auto& row : kJvmSources) {
        if (value == row.value) {
            constraints.includeJdk = row.includeJdk;
            constraints.includeJre = row.includeJre;
            constraints.favourKind = row.favourKind;
            return;
        }
    }
    constraints.includeJdk = constraints.includeJre = constraints.favourKind = false;
}

void decodeVmProvider(const Text& value, RuntimeConstraints& constraints) {
    if (value.empty()) return;
    for (const auto& row : kVmProviders) {
        if (row.value.empty() || !value.equalsIgnoreCase(row.value)) continue;
        constraints.allowSun = row.allowSun;
        constraints.favourSun = row.favourSun;
        constraints.allowJRockit = row.allowJRockit;
        constraints.favourJRockit = row.favourJRockit;
        constraints.allowIbm = row.allowIbm;
        constraints.favourIbm = row.favourIbm;
        return;
    }
}
