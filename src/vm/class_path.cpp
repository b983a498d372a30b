#include "vm/class_path.h"

#include "common/splitting.h"
#include "vm/vm_environment.h"

namespace {

// Relative: shorter than two characters, or neither "X:" nor "\\" at its start.
bool isRelativeClassPathEntry(const Text& entry) {
    return entry.length() < 2 || (entry[1] != u':' && !entry.startsWith(u"\\\\"));
}

void appendSearchEntry(Text& classPath, const Text& entry, bool relative, const Text& launcherPath,
                       const FileProbe& files) {
    // Relative entries are joined to the folder without a separator, so they
    // are written with a leading backslash (\lib\*.jar).
    const Text pattern = relative ? launcherFolder(launcherPath) + entry : entry;
    const auto slash = pattern.findLast(u'\\');
    const Text prefix = slash ? pattern.left(*slash + 1) : Text();
    for (const Text& name : files.findNames(pattern)) {
        classPath += prefix;
        classPath += name;
        classPath += u';';
    }
}

} // namespace

Text buildClassPath(const ClassPathSources& sources, const Environment& environment, const FileProbe& files) {
    Text classPath;
    for (const Text& piece : splitList(sources.classPath, Text(u";"))) {
        const Text entry = environment.expand(piece);
        const bool relative = isRelativeClassPathEntry(entry);
        if (relative || entry.contains(u'*')) {
            appendSearchEntry(classPath, entry, relative, sources.launcherPath, files);
        } else {
            classPath += entry;
            classPath += u';';
        }
    }
    if (sources.embeddedJar.equalsIgnoreCase(u"Yes")) {
        if (!classPath.empty() && !classPath.endsWith(u";")) classPath += u';';
        classPath += sources.launcherPath;
    }
    return classPath;
}
