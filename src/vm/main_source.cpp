#include "vm/main_source.h"

#include "common/path_parts.h"
#include "common/splitting.h"
#include "vm/class_path.h"
#include "vm/vm_environment.h"

namespace {

bool isIdentifierUnit(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'$' || c >= 0x80;
}

// Dot-separated Java identifiers; letters beyond ASCII are left to the runtime.
bool isQualifiedName(const Text& name) {
    if (name.empty()) return false;
    bool partStart = true;
    for (std::size_t i = 0; i < name.length(); ++i) {
        const char16_t c = name[i];
        if (c == u'.') {
            if (partStart) return false;
            partStart = true;
            continue;
        }
        if (!isIdentifierUnit(c) || (partStart && c >= u'0' && c <= u'9')) return false;
        partStart = false;
    }
    return !partStart;
}

Text placedModulePath(const Text& written, const Text& launcherPath, const Environment& environment) {
    Text joined;
    for (const Text& piece : splitList(written, Text(u";"))) {
        if (piece.empty()) continue;
        if (!joined.empty()) joined += u';';
        joined += placedEntry(piece, launcherPath, environment);
    }
    return joined;
}

ResolvedMainSource resolveJar(const VmSettings& settings, const Text& launcherPath, const Environment& environment,
                              const FileProbe& files) {
    ResolvedMainSource resolved;
    resolved.source.mode = LaunchMode::Jar;
    const Text jar = placedEntry(settings.mainJar, launcherPath, environment);
    resolved.source.jar = jar;
    resolved.subject = jar;
    if (jar.contains(u';')) {
        resolved.problem = MainSourceProblem::JarWithSeparator;
    } else if (!files.exists(jar)) {
        resolved.problem = MainSourceProblem::JarMissing;
    } else if (!files.readStart(jar, 1)) {
        resolved.problem = MainSourceProblem::JarUnreadable;
    }
    return resolved;
}

} // namespace

LaunchMode launchModeOf(const VmSettings& settings) {
    if (!settings.mainModule.empty()) return LaunchMode::Module;
    if (!settings.mainJar.empty()) return LaunchMode::Jar;
    return LaunchMode::ClassPath;
}

std::optional<ModuleName> parseMainModule(const Text& written) {
    const auto slash = written.findFirst(u'/');
    ModuleName name{slash ? written.left(*slash) : written, slash ? written.mid(*slash + 1) : Text()};
    if (!isQualifiedName(name.module)) return std::nullopt;
    if (slash && !isQualifiedName(name.mainClass)) return std::nullopt;
    return name;
}

Text moduleArgument(const ModuleName& name) {
    return name.mainClass.empty() ? name.module : name.module + u'/' + name.mainClass;
}

Text placedEntry(const Text& written, const Text& launcherPath, const Environment& environment) {
    const Text entry = environment.expand(written);
    // Relative entries are joined to the folder without a separator, so they
    // are written with a leading backslash (\lib\app.jar).
    return isRelativeClassPathEntry(entry) ? folderOf(launcherPath) + entry : entry;
}

ResolvedMainSource resolveMainSource(const VmSettings& settings, const Text& launcherPath,
                                     const Environment& environment, const FileProbe& files) {
    switch (launchModeOf(settings)) {
    case LaunchMode::ClassPath:
        return {};
    case LaunchMode::Jar:
        return resolveJar(settings, launcherPath, environment, files);
    case LaunchMode::Module:
        break;
    }
    ResolvedMainSource resolved;
    resolved.source.mode = LaunchMode::Module;
    const auto module = parseMainModule(settings.mainModule);
    if (!module) {
        resolved.problem = MainSourceProblem::ModuleNotParsed;
        resolved.subject = settings.mainModule;
        return resolved;
    }
    resolved.source.module = *module;
    resolved.source.modulePath = placedModulePath(settings.modulePath, launcherPath, environment);
    return resolved;
}

bool isModularRuntime(const Text& jvmLibraryPath, const FileProbe& files) {
    return files.exists(runtimeFoldersOf(jvmLibraryPath).lib + u"\\modules");
}
