#include "vm/vm_environment.h"

#include "common/ansi.h"
#include "common/ansi_path.h"

Text withoutLastComponents(Text path, int count) {
    for (int i = 0; i < count; ++i) {
        const auto slash = path.findLast(u'\\');
        if (!slash) break;
        path = path.left(*slash);
    }
    return path;
}

RuntimeFolders runtimeFoldersOf(const Text& jvmLibraryPath) {
    RuntimeFolders folders;
    folders.home = withoutLastComponents(jvmLibraryPath, 3);
    folders.bin = withoutLastComponents(jvmLibraryPath, 2);
    folders.lib = folders.home + u"\\lib";
    return folders;
}

Text launcherFolder(const Text& launcherPath) {
    return withoutLastComponents(launcherPath, 1);
}

Text launcherFolderWithSlash(const Text& launcherPath) {
    const auto slash = launcherPath.findLast(u'\\');
    return slash ? launcherPath.left(*slash + 1) : Text();
}

void prepareVmEnvironment(const VmSettings& settings, const Text& jvmLibraryPath, const Text& launcherPath,
                          Environment& environment, const PathNames& paths, VmOptionList& options) {
    const RuntimeFolders runtime = runtimeFoldersOf(jvmLibraryPath);
    environment.set(Text(u"JL_JVM_PATH"), jvmLibraryPath);
    environment.set(Text(u"JL_JVM_HOME"), runtime.home);

    // Expanded before the Path changes below, so %Path% is the inherited one.
    if (!settings.libraryPath.empty()) {
        const Text joined = settings.libraryPath + u";" + launcherFolderWithSlash(launcherPath) + u";.;%Path%;" +
                            runtime.lib;
        // A folder without a readable form (one inherited from the Path, say) goes as it is, as it always did.
        const Text folders = ansiReadablePathList(environment.expand(joined), paths).list;
        options.push_back(toAnsi(Text(u"-Djava.library.path=") + folders));
    }

    Text path = settings.systemPath;
    if (!path.empty() && !path.endsWith(u";")) path += u';';
    path += u"%Path%;";
    path += runtime.bin;
    environment.set(Text(u"Path"), environment.expand(path));
}
