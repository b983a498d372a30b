// The launch plan over a machine described by the input, run once by a host
// that acts as the launcher would and once by jlaunch-explain's host: both
// must end the same way. The input is an INI text, then (after a 0xFF byte)
// the command line. Sections are the settings file's, except registry keys
// ("[HKLM\Software\...]" for the native view, "[HKLM32\...]" for the 32-bit
// one) with their values, "[Files]" whose keys are the paths that exist (a
// value is the file's content), "[Environment]" with the process's variables,
// and "[Libraries]" whose keys are JVM libraries and values what their files
// tell: x86, noEntryPoints, or unreadable (any other value: a good x64 library).

#include "fuzz_support.h"
#include "runtime/pe_image.h"
#include "scripted_host.h"

namespace {

const Text kIni(u"C:\\Apps\\tool.ini");

LibraryFacts libraryFacts(const Text& what) {
    if (what == Text(u"x86")) return {0, false, kMachineI386, true};
    if (what == Text(u"noEntryPoints")) return {0, false, kMachineAmd64, false};
    if (what == Text(u"unreadable")) return {5, false, std::nullopt, false};
    return {0, false, kMachineAmd64, true};
}

void describeMachine(const IniTextDocument& document, const Text& commandLine, ScriptedHost& host,
                     LibraryTable& libraries) {
    host.executable = {Text(u"C:\\Apps\\tool.exe")};
    host.arguments = argumentsFromCommandLine(Text(u"tool.exe ") + commandLine);
    host.messages = IdTexts(true);
    host.environment.set(Text(u"Path"), Text(u"C:\\Windows"));
    IniTextDocument settings;
    for (const auto& section : document.sections()) {
        const Text& name = section.name;
        for (const auto& [key, value] : section.entries) {
            if (name == Text(u"Files")) value.empty() ? host.files.add(key) : host.files.add(key, value.toUtf8());
            if (name == Text(u"Environment")) host.environment.set(key, value);
            if (name == Text(u"Libraries")) libraries.try_emplace(key.units(), libraryFacts(value));
            if (name.startsWith(u"HKLM\\")) host.registry.put(RegistryView::Native, name.mid(5), key, value);
            if (name.startsWith(u"HKLM32\\")) host.registry.put(RegistryView::Bits32, name.mid(7), key, value);
        }
        const bool machine = name == Text(u"Files") || name == Text(u"Libraries") || name == Text(u"Environment");
        if (!name.startsWith(u"HKLM") && !machine) {
            settings.sections().push_back(section);
        }
    }
    putDocument(host.store, kIni, settings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TextList parts = inputTexts({data, size}, 2);
    const IniTextDocument document = parseIniText(parts[0]);
    ScriptedHost launcher, explainer;
    LibraryTable libraries;
    describeMachine(document, parts[1], launcher, libraries);
    describeMachine(document, parts[1], explainer, libraries);
    const LaunchEnding launched = launchWith(launcher, libraries);
    const LaunchEnding explained = explainWith(explainer, libraries);
    FUZZ_CHECK(explained == launched);
    return 0;
}
