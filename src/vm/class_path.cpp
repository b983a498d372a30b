#include "vm/class_path.h"

#include "common/splitting.h"
#include "common/path_parts.h"

namespace {

// The entries a search entry gives; pattern receives what is searched for.
TextList searchEntries(const Text& entry, bool relative, const Text& launcherPath, const FileProbe& files,
                       Text& pattern) {
    // Relative entries are joined to the folder without a separator, so they
    // are written with a leading backslash (\lib\*.jar).
    pattern = relative ? folderOf(launcherPath) + entry : entry;
    const Text prefix = folderWithSlashOf(pattern);
    TextList entries;
    for (const Text& name : files.findNames(pattern)) entries.push_back(prefix + name);
    return entries;
}

} // namespace

bool isRelativeClassPathEntry(const Text& entry) {
    return entry.length() < 2 || (entry[1] != u':' && !entry.startsWith(u"\\\\"));
}

Text buildClassPath(const ClassPathSources& sources, const Environment& environment, const FileProbe& files,
                    ClassPathRecord* record) {
    Text classPath;
    for (const Text& piece : splitList(sources.classPath, Text(u";"))) {
        const Text entry = environment.expand(piece);
        const bool relative = isRelativeClassPathEntry(entry);
        Text pattern;
        const TextList entries = relative || entry.contains(u'*')
            ? searchEntries(entry, relative, sources.launcherPath, files, pattern) : TextList{entry};
        for (const Text& added : entries) classPath += added + u';';
        if (record) record->pieces.push_back({piece, entry, pattern, entries});
    }
    if (sources.embeddedJar.equalsIgnoreCase(u"Yes")) {
        if (!classPath.empty() && !classPath.endsWith(u";")) classPath += u';';
        classPath += sources.launcherPath;
        if (record) record->executableAdded = true;
    }
    return classPath;
}
