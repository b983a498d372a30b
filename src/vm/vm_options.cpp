#include "vm/vm_options.h"

#include <optional>

#include "common/ansi.h"
#include "common/ansi_path.h"
#include "vm/class_path.h"
#include "vm/memory_sizing.h"
#include "vm/vm_parameters.h"

namespace {

// The parameter tokens as they go to the VM; sets the stack size from -Xss.
TextList rewrittenParameters(const Text& parameters, const MemoryStatus& memory, std::uint64_t& stackSize,
                             VmOptionsRecord* record) {
    std::optional<MemoryFigures> figures;
    TextList options;
    for (const Text& written : splitVmParameters(parameters)) {
        Text token = removeQuotes(written);
        if (isMemorySizedOption(token)) {
            if (!figures) figures = memory.read();
            Text sized = rewriteMemorySizedOption(token, *figures);
            if (record) record->sized.push_back({token, sized});
            token = std::move(sized);
        }
        if (token.startsWith(u"-Xss")) stackSize = stackSizeFromXss(token.mid(4));
        options.push_back(std::move(token));
    }
    if (record) record->memory = figures;
    return options;
}

Text expandedIfSet(const Text& value, const Environment& environment) {
    return value.empty() ? Text() : environment.expand(value);
}

// The option for a ';'-separated path list, each entry in a form the code
// page holds; false (with the entry named) when one has none.
bool addPathOption(std::u16string_view option, const Text& list, const PathNames& paths, TextList& options,
                   AssembledVmOptions& result) {
    const AnsiReadablePathList readable = ansiReadablePathList(list, paths);
    if (!readable.unreadableEntry.empty()) {
        result.unreadableClassPathEntry = readable.unreadableEntry;
        return false;
    }
    options.push_back(Text(option) + readable.list);
    return true;
}

} // namespace

AssembledVmOptions assembleVmOptions(const VmSettings& settings, const MainSource& main, const Text& launcherPath,
                                     const VmHostFacts& host, VmOptionList& options, ArgumentList& arguments,
                                     VmOptionsRecord* record) {
    AssembledVmOptions result;
    Text written = buildClassPath({settings.classPath, settings.embeddedJar, launcherPath}, host.environment,
                                  host.files, record ? &record->classPath : nullptr);
    if (main.mode == LaunchMode::Jar) written = main.jar + u';' + written;
    if (written.empty() && main.mode == LaunchMode::ClassPath) return result;

    TextList newOptions;
    // A mangled entry would start a VM that cannot find the application's classes.
    if (!written.empty() && !addPathOption(u"-Djava.class.path=", written, host.paths, newOptions, result)) {
        return result;
    }
    if (main.mode == LaunchMode::Module) {
        if (!main.modulePath.empty() &&
            !addPathOption(u"--module-path=", main.modulePath, host.paths, newOptions, result)) {
            return result;
        }
        newOptions.push_back(Text(u"-Djdk.module.main=") + main.module.module);
    }
    for (Text& token :
         rewrittenParameters(settings.vmParameters, host.memory, result.mainThreadStackSize, record)) {
        newOptions.push_back(std::move(token));
    }
    for (const Text& option : newOptions) options.push_back(toAnsi(host.environment.expand(option)));

    result.outputFile = expandedIfSet(settings.outputFile, host.environment);
    result.errorFile = expandedIfSet(settings.errorFile, host.environment);
    appendExtraArguments(arguments, settings.extraArguments, host.environment);
    result.ok = true;
    return result;
}

bool reducesSignalUse(const VmOptionList& options) {
    bool reduced = false;
    for (const std::string& option : options) {
        if (option == "-Xrs" || option == "-XX:+ReduceSignalUsage") reduced = true;
        if (option == "-XX:-ReduceSignalUsage") reduced = false;
    }
    return reduced;
}
