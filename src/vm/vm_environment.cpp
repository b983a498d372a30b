#include "vm/vm_environment.h"

#include "common/ansi.h"
#include "common/ansi_path.h"
#include "common/path_parts.h"

RuntimeFolders runtimeFoldersOf(const Text& jvmLibraryPath) {
    RuntimeFolders folders;
    folders.home = withoutLastComponents(jvmLibraryPath, 3);
    folders.bin = withoutLastComponents(jvmLibraryPath, 2);
    folders.lib = folders.home + u"\\lib";
    return folders;
}

void prepareVmEnvironment(const VmSettings& settings, const Text& jvmLibraryPath, const Text& launcherPath,
                          Environment& environment, const PathNames& paths, VmOptionList& options) {
    const RuntimeFolders runtime = runtimeFoldersOf(jvmLibraryPath);
    environment.set(Text(u"JL_JVM_PATH"), jvmLibraryPath);
    environment.set(Text(u"JL_JVM_HOME"), runtime.home);

    // Expanded before the Path changes below, so %Path% is the inherited one.
    if (!settings.libraryPath.empty()) {
        const Text joined = settings.libraryPath + u";" + folderWithSlashOf(launcherPath) + u";.;%Path%;" +
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
