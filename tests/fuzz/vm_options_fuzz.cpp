// "Virtual Machine Parameters" split, unquoted and memory-sized, and the
// whole option assembly around them: class path, "Cmd", the folders of
// "Output File" and the environment; "Main Jar", "Main Module" and a jar
// manifest's text.

#include <algorithm>
#include <array>
#include <limits>

#include "common/ansi.h"
#include "common/splitting.h"
#include "fuzz_support.h"
#include "vm/main_source.h"
#include "vm/manifest_text.h"
#include "vm/memory_sizing.h"
#include "vm/parent_folders.h"
#include "vm/vm_environment.h"
#include "vm/vm_options.h"
#include "vm/vm_parameters.h"

namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
constexpr auto kNoLimit = std::numeric_limits<std::uint64_t>::max();
constexpr std::array<MemoryFigures, 3> kMachines = {{{0, 0}, {8 * kGiB, 128 * kGiB}, {kNoLimit, kNoLimit}}};

Text without(const Text& text, char16_t unit) {
    std::u16string kept;
    for (const char16_t c : text.units()) {
        if (c != unit) kept += c;
    }
    return Text(std::move(kept));
}

void checkSplit(const Text& parameters, const TextList& tokens) {
    Text line;
    Text all;
    for (const Text& token : tokens) {
        FUZZ_CHECK(!token.empty() && token.front() != u' ' && token.back() != u' ');
        line += token + u' ';
        all += token;
    }
    // The tokens hold every character but the separating blanks, and split the same way again.
    FUZZ_CHECK(without(all, u' ') == without(parameters, u' '));
    FUZZ_CHECK(splitVmParameters(line) == tokens);
}

// Only quotes go, two for each quoted section.
void checkUnquoted(const Text& token, const Text& unquoted) {
    FUZZ_CHECK(unquoted.length() <= token.length() && (token.length() - unquoted.length()) % 2 == 0);
    FUZZ_CHECK(without(unquoted, u'"') == without(token, u'"'));
}

// The option keeps its name and gets a decimal number of kilobytes.
void checkSized(const Text& option, const Text& sized) {
    FUZZ_CHECK(sized.endsWith(u"K"));
    std::size_t digits = 0;
    while (digits + 1 < sized.length() && sized[sized.length() - 2 - digits] >= u'0' &&
           sized[sized.length() - 2 - digits] <= u'9') {
        ++digits;
    }
    FUZZ_CHECK(digits >= 1 && digits <= 20);
    const Text name = sized.left(sized.length() - 1 - digits);
    FUZZ_CHECK(name.length() >= 4 && option.startsWith(name.units()) && name.startsWith(option.left(4).units()));
}

// Only the folders above the file are made, each up to a backslash of its path.
void checkParentFolders(const Text& file) {
    FakeFolders folders;
    FUZZ_CHECK(ensureParentFolders(file, folders) == 0);
    for (const Text& folder : folders.created) {
        FUZZ_CHECK(folder.length() < file.length() && file.startsWith(folder.units()) && file[folder.length()] == u'\\');
    }
}

// A parsed name gives itself back; only a parsed one reaches the VM.
void checkMainModule(const Text& written, const Text& jar, FakeEnvironment& environment, const FakeFiles& files,
                     const FakePathNames& paths) {
    const auto parsed = parseMainModule(written);
    if (parsed) {
        FUZZ_CHECK(!parsed->module.empty() && !parsed->module.contains(u'/') && !parsed->module.contains(u' '));
        const Text again = parsed->mainClass.empty() ? parsed->module : parsed->module + u'/' + parsed->mainClass;
        FUZZ_CHECK(again == written);
    }
    VmSettings settings;
    settings.mainModule = written;
    settings.mainJar = jar;
    settings.modulePath = jar;
    const ResolvedMainSource resolved = resolveMainSource(settings, Text(u"C:\\Apps\\tool.exe"), environment, files);
    const bool asModule = !written.empty();
    FUZZ_CHECK(resolved.source.mode == (asModule ? LaunchMode::Module : jar.empty() ? LaunchMode::ClassPath : LaunchMode::Jar));
    if (asModule) FUZZ_CHECK((resolved.problem == MainSourceProblem::ModuleNotParsed) == !parsed);
    if (resolved.source.mode == LaunchMode::Jar) {
        FUZZ_CHECK((resolved.problem == MainSourceProblem::JarWithSeparator) == resolved.source.jar.contains(u';'));
    }
    if (resolved.problem != MainSourceProblem::None) return;
    FixedMemory memory;
    VmOptionList options;
    ArgumentList arguments;
    const auto assembled =
        assembleVmOptions(settings, resolved.source, Text(u"C:\\Apps\\tool.exe"), {environment, files, memory, paths},
                          options, arguments);
    if (!assembled.ok || resolved.source.mode != LaunchMode::Module) return;
    const std::string mainModule = "-Djdk.module.main=" + toAnsi(parsed->module);
    FUZZ_CHECK(std::find(options.begin(), options.end(), mainModule) != options.end());
}

// A main class is one trimmed line.
void checkManifest(std::string_view manifest) {
    const auto mainClass = manifestMainClass(manifest);
    if (!mainClass) return;
    FUZZ_CHECK(!mainClass->empty() && mainClass->front() != u' ' && mainClass->back() != u' ');
    FUZZ_CHECK(!mainClass->contains(u'\n') && !mainClass->contains(u'\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TextList parts = inputTexts({data, size}, 5);
    const TextList tokens = splitVmParameters(parts[0]);
    checkSplit(parts[0], tokens);
    for (const Text& token : tokens) {
        const Text unquoted = removeQuotes(token);
        checkUnquoted(token, unquoted);
        if (isMemorySizedOption(unquoted)) {
            for (const auto& machine : kMachines) checkSized(unquoted, rewriteMemorySizedOption(unquoted, machine));
        }
        if (unquoted.startsWith(u"-Xss") && stackSizeFromXss(unquoted.mid(4)) != 0) {
            FUZZ_CHECK(unquoted.length() > 4 && unquoted[4] >= u'0' && unquoted[4] <= u'9');
        }
    }

    FakeEnvironment environment;
    environment.variables[u"APP"] = Text(u"C:\\Apps");
    FakeFiles files;
    files.add(Text(u"C:\\Apps\\lib\\a.jar"));
    files.add(Text(u"C:\\Apps\\lib\\b.jar"));
    FixedMemory memory;
    memory.figures = kMachines[1];
    const VmSettings settings{Text(), Text(), parts[1], parts[2], parts[0], parts[3], parts[3], parts[4], {}, {}, {}};
    FakePathNames paths;
    paths.shortForms[u"C:\\Apps\\lib\\a.jar"] = Text(u"C:\\Apps\\lib\\A~1.JAR");
    VmOptionList options;
    ArgumentList arguments;
    const auto assembled = assembleVmOptions(settings, MainSource{}, Text(u"C:\\Apps\\tool.exe"),
                                             {environment, files, memory, paths}, options, arguments);
    // Only an entry the code page cannot hold is refused, and only when the VM would get it broken.
    if (!assembled.unreadableClassPathEntry.empty()) {
        FUZZ_CHECK(!assembled.ok && !paths.fitsAnsiCodePage(assembled.unreadableClassPathEntry));
    }
    checkMainModule(parts[1], parts[2], environment, files, paths);
    checkManifest(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!assembled.ok) return 0;
    FUZZ_CHECK(options.size() == 1 + tokens.size() && options.front().starts_with("-Djava.class.path="));
    for (const Text& argument : arguments) FUZZ_CHECK(!argument.empty());
    checkParentFolders(assembled.outputFile);
    prepareVmEnvironment(settings, Text(u"C:\\Rt\\bin\\server\\jvm.dll"), Text(u"C:\\Apps\\tool.exe"), environment,
                         paths, options);
    return 0;
}
