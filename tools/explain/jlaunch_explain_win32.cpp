// jlaunch-explain: prints what an installed launcher would do with the given
// arguments, and why, without creating a VM.
#include <windows.h>

#include <string>

#include "common/argument_list.h"
#include "common/long_path_win32.h"
#include "common/mapped_file_win32.h"
#include "common/messages_win32.h"
#include "common/path_parts.h"
#include "common/platform_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"
#include "common/console_win32.h"
#include "explain/account_report.h"
#include "launcher/process_facts_win32.h"
#include "launcher/settings_store_win32.h"
#include "runtime/jvm_architecture_win32.h"
#include "runtime/registry_win32.h"

namespace {

const char16_t* const kUsage =
    u"usage: jlaunch-explain [--json] <launcher.exe> [arguments...]\n"
    u"Prints what the launcher would do when started with these arguments, and why, without starting Java.\n"
    u"The arguments are split as the launcher splits its command line. Exit code 0: the launch would go\n"
    u"ahead; 1: the launcher would end it with -1 (the message it shows is printed); 2: no such launcher.\n";

int fail(const Text& message) {
    writeText(STD_ERROR_HANDLE, Text(u"jlaunch-explain: ") + message + u"\n");
    return 2;
}

// The path as a process started from it would see its own.
Text fullPath(const Text& path) {
    const auto full = fullPathName(path);
    return full ? fromWide(full->c_str(), full->size()) : path;
}

// Opens the block of a running first instance read-only: nothing is created,
// so the explained launcher's next start meets the state it would have met.
std::optional<FirstInstance> findFirstInstance(const Text& instanceName) {
    const UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, wide(instanceName)));
    if (!mapping) return std::nullopt;
    const UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, instance_block::kSize));
    if (!view) return std::nullopt;
    FirstInstance first;
    first.header = readInstanceHeader(
        ConstInstanceBlockView(static_cast<const unsigned char*>(view.get()), instance_block::kSize));
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, first.header.processId));
    first.running = process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
    return first;
}

LibraryFacts libraryFacts(const Text& library) {
    const MappedFile file(library);
    LibraryFacts facts = libraryFactsOf(file.bytes());
    facts.openError = file.error();
    return facts;
}

} // namespace

int wmain() {
    // As the launcher does: the option strings are converted in the thread's code page.
    SetThreadLocale(GetSystemDefaultLCID());
    ArgumentList arguments = argumentsFromCommandLine(fromWide(GetCommandLineW()));
    const bool json = !arguments.empty() && arguments.front() == u"--json";
    if (json) arguments.erase(arguments.begin());
    if (arguments.empty() || arguments.front().startsWith(u"-")) {
        writeText(STD_ERROR_HANDLE, Text(kUsage));
        return 2;
    }
    const Text launcher = fullPath(arguments.front());
    arguments.erase(arguments.begin());

    // A trailing '.' keeps the loader from looking for "<name>.dll" when the name has no extension.
    const Text imagePath = fileNameOf(launcher).contains(u'.') ? launcher : launcher + u'.';
    const UniqueModule image(
        LoadLibraryExW(wide(imagePath), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!image) return fail(Text(u"cannot open ") + launcher + Text::fromUtf8(" (error " + std::to_string(GetLastError()) + ")"));

    WindowsSettingsStore settings(image.get());
    const WindowsFileProbe files;
    WindowsEnvironment environment;
    const WindowsMemoryStatus memory;
    const WindowsPathNames paths;
    const WindowsRegistry registry;
    const WindowsMessages messages;
    const MappedFile launcherImage(launcher);
    ExplainPlatform platform{settings, files, environment, memory, paths, registry, messages, isNtPlatform(),
                             stackReserveOf(launcherImage.bytes()), isX86Library, libraryFacts, findFirstInstance,
                             [](const Text& folder) { SetCurrentDirectoryW(wide(folder)); },
                             isConsoleImage(launcherImage.bytes())};
    const LaunchAccount account = explainLaunch(launcher, arguments, platform);
    writeText(STD_OUTPUT_HANDLE, json ? jsonReport(account) : textReport(account));
    return reportExitCode(account);
}
