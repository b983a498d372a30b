#include "runtime/environment_runtimes.h"

#include "common/path_parts.h"
#include "common/splitting.h"
#include "runtime/jvm_location.h"
#include "runtime/pe_image.h"
#include "runtime/release_file.h"

namespace {

Text withoutQuotes(const Text& value) {
    if (value.length() >= 2 && value.front() == u'"' && value.back() == u'"') return value.mid(1, value.length() - 2);
    return value;
}

// A drive and a backslash (C:\), or a UNC path (\\server\share).
bool isFullPath(const Text& path) {
    return (path.length() >= 3 && path[1] == u':' && path[2] == u'\\') || path.startsWith(u"\\\\");
}

// A Java 8 JDK's own runtime is its jre\ folder; the JDK's release file and
// javac.exe lie in the folder above it.
std::optional<Text> jdkAbove(const Text& home) {
    if (home.length() < 5 || !home.right(5).equalsIgnoreCase(u"\\jre\\")) return std::nullopt;
    return home.left(home.length() - 4);
}

std::optional<JavaVersion> releaseVersion(const Text& home, const FileProbe& files) {
    auto content = files.readStart(home + u"release", kReleaseFileReadLimit);
    if (!content) {
        const auto jdk = jdkAbove(home);
        if (jdk) content = files.readStart(*jdk + u"release", kReleaseFileReadLimit);
    }
    const auto text = content ? releaseJavaVersion(*content) : std::nullopt;
    JavaVersion version;
    if (!text || !version.parse(*text, kMinimumFill)) return std::nullopt;
    return version;
}

bool isJdk(const Text& home, const FileProbe& files) {
    if (files.exists(home + u"bin\\javac.exe")) return true;
    const auto jdk = jdkAbove(home);
    return jdk && files.exists(*jdk + u"bin\\javac.exe");
}

// The headers of a library lie in its first bytes; these are read rather than
// handing the file to the system's image helper, which costs a library load.
constexpr std::size_t kHeaderBytes = 4096;

bool isX86Image(const Text& library, const FileProbe& files) {
    const auto start = files.readStart(library, kHeaderBytes);
    if (!start) return false;
    const std::span<const std::uint8_t> image(reinterpret_cast<const std::uint8_t*>(start->data()), start->size());
    const auto offset = ntHeadersOffset(image);
    return offset && machineAt(image, *offset) == kMachineI386;
}

bool versionLimited(const RuntimeConstraints& c) {
    return !c.minimumVersion.isUnbounded() || !c.maximumVersion.isUnbounded() || !c.preferredVersions.empty();
}

// The rules a runtime named by the environment must pass, in the order they are tried.
SourceOutcome verdict(EnvironmentCandidate& candidate, const RuntimeConstraints& c, bool hasPairProduct,
                      const EnvironmentFacts& facts) {
    const Text& home = candidate.home;
    if (!facts.files.exists(home + u"*")) return SourceOutcome::NoFolder;
    JvmLibrary library = locateJvmLibrary(home, c.jvmType, facts.files);
    if (library.path.empty()) library = locateJvmLibrary(home + u"jre\\", c.jvmType, facts.files);
    if (library.path.empty()) return SourceOutcome::NoJvmLibrary;
    candidate.jvmLibraryPath = library.path;
    candidate.version = releaseVersion(home, facts.files);
    if (!candidate.version && versionLimited(c)) return SourceOutcome::VersionUnknown;
    if (candidate.version && !withinLimits(*candidate.version, c.minimumVersion, c.maximumVersion)) {
        return SourceOutcome::OutsideLimits;
    }
    if (!c.favourKind && !(isJdk(home, facts.files) ? c.includeJdk : c.includeJre)) {
        return SourceOutcome::KindNotSearched;
    }
    if (!hasPairProduct && isX86Image(library.path, facts.files)) return SourceOutcome::X86WithoutPairLauncher;
    return SourceOutcome::Chosen;
}

EnvironmentCandidate candidateAt(const Text& home, const RuntimeConstraints& c, bool hasPairProduct,
                                 const EnvironmentFacts& facts) {
    EnvironmentCandidate candidate;
    candidate.home = home;
    candidate.outcome = verdict(candidate, c, hasPairProduct, facts);
    return candidate;
}

} // namespace

EnvironmentCandidate javaHomeRuntime(const RuntimeConstraints& constraints, bool hasPairProduct,
                                     const EnvironmentFacts& facts) {
    const Text value = withoutQuotes(facts.environment.get(Text(u"JAVA_HOME")));
    if (value.empty()) return {};
    if (!isFullPath(value)) return {SourceOutcome::RelativePath, value, {}, {}};
    return candidateAt(withTrailingBackslash(value), constraints, hasPairProduct, facts);
}

EnvironmentCandidate pathRuntime(const RuntimeConstraints& constraints, bool hasPairProduct,
                                 const EnvironmentFacts& facts) {
    const auto java = firstJavaOnPath(facts.environment.get(Text(u"PATH")), facts.files);
    if (!java) return {SourceOutcome::NoJavaOnPath, {}, {}, {}};
    // Installers put links to the real java.exe into a folder of their own; its
    // runtime is where the link leads, in the folder above its bin.
    const Text real = facts.files.finalPath(*java).value_or(*java);
    return candidateAt(folderWithSlashOf(folderOf(real)), constraints, hasPairProduct, facts);
}

std::optional<Text> firstJavaOnPath(const Text& path, const FileProbe& files) {
    for (const Text& entry : splitList(path, Text(u";"))) {
        const Text folder = withoutQuotes(entry);
        if (folder.empty()) continue;
        const Text java = withTrailingBackslash(folder) + u"java.exe";
        if (files.exists(java)) return java;
    }
    return std::nullopt;
}
