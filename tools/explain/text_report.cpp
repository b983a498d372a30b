#include "explain/account_report.h"

#include <string>

#include "explain/account_names.h"
#include "runtime/pe_image.h"

namespace {

Text number(std::uint64_t n) { return Text::fromUtf8(std::to_string(n)); }

Text signedNumber(std::int64_t n) { return Text::fromUtf8(std::to_string(n)); }

Text quoted(const Text& text) { return Text(u"\"") + text + u"\""; }

Text orNone(const Text& text, std::u16string_view none) { return text.empty() ? Text(none) : text; }

Text joined(const TextList& texts, std::u16string_view separator) {
    Text out;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i) out += separator;
        out += texts[i];
    }
    return out;
}

// The text report: headed blocks of indented lines.
class Lines {
public:
    void heading(std::u16string_view title) {
        if (!text_.empty()) text_ += u'\n';
        text_ += title;
        text_ += u'\n';
    }
    void line(const Text& text, int indent = 1) {
        text_ += Text(std::u16string(static_cast<std::size_t>(indent) * 2, u' '));
        text_ += text;
        text_ += u'\n';
    }
    const Text& text() const { return text_; }

private:
    Text text_;
};

Text settingLine(const SettingRecord& setting) {
    Text line = Text(u"[") + setting.key.section + u"] " + setting.key.key + u" = " + setting.value + u"  (";
    return line + (setting.fromUserFile ? Text(u"per-user settings file") : Text(nameOf(setting.origin).phrase)) + u")";
}

void textApplication(const LaunchSettings& decoded, Lines& out) {
    out.heading(u"Taskbar identity and restarts");
    const Text& id = decoded.appUserModelId;
    const AppUserModelIdProblem problem = appUserModelIdProblem(id);
    if (id.empty()) {
        out.line(Text(u"App User Model ID: not set"));
    } else if (problem == AppUserModelIdProblem::None) {
        out.line(Text(u"App User Model ID: ") + id + u", given to the process before any window");
    } else {
        out.line(Text(u"App User Model ID: refused (") + nameOf(problem).phrase + u"), reported, and the launch goes on");
    }
    const RestartExitCodes& restart = decoded.restartExitCodes;
    if (restart.empty()) {
        out.line(Text(u"restart: no exit code asks for one"));
    } else {
        Text codes;
        for (const std::int32_t code : restart.codes) codes += (codes.empty() ? Text() : Text(u", ")) + signedNumber(code);
        out.line(Text(u"restart: the application starts again when it ends with ") + codes +
                 u" (at most 5 times within 60 s)");
    }
    for (const Text& piece : restart.ignored) out.line(Text(u"\"Restart Exit Codes\" piece ignored: ") + quoted(piece));
}

Text stopLine(const ServiceStopSettings& stop) {
    const Text exitLike(u"the application ends as System.exit(0) would (its shutdown hooks run)");
    if (!stop.method) return Text(u"stop request: ") + exitLike;
    return Text(u"stop request: calls the static void method ") + stop.method->written +
           u" (String[] or no arguments); when it is missing or throws, " + exitLike;
}

void textService(const LaunchSettings& decoded, Lines& out) {
    const ServiceStopSettings& stop = decoded.serviceStop;
    out.heading(u"Service");
    if (!decoded.isService) {
        out.line(Text(u"not a service (\"Application Type\" is not \"service\")"));
        if (stop.method || !stop.unusableMethod.empty() || !stop.unusableTimeout.empty() || stop.timeoutSeconds != kDefaultServiceStopSeconds) {
            out.line(Text(u"\"Service Stop Method\" and \"Service Stop Timeout\" are not used"));
        }
        return;
    }
    out.line(Text(u"started by the service control manager, the launch runs as the service's work; "
                  u"started otherwise, as from a desktop"));
    out.line(stopLine(stop));
    out.line(Text(u"stop timeout: ") + number(stop.timeoutSeconds) +
             u" s, then the process ends and the service stops with error 1053");
    if (!stop.unusableMethod.empty()) {
        out.line(Text(u"\"Service Stop Method\" not usable, reported when the service runs: ") +
                 quoted(stop.unusableMethod));
    }
    if (!stop.unusableTimeout.empty()) {
        out.line(Text(u"\"Service Stop Timeout\" not usable, reported when the service runs: ") +
                 quoted(stop.unusableTimeout));
    }
    if (!decoded.restartExitCodes.empty()) {
        out.line(Text(u"as a service, \"Restart Exit Codes\" are not used: the service control manager's recovery "
                      u"settings (sc failure) restart a service"));
    }
}

void textSettings(const LaunchAccount& account, Lines& out) {
    const SettingsAccount& settings = account.settings;
    out.heading(u"Settings");
    if (!settings.file) {
        out.line(Text(u"none: the launcher's path has no '.'"));
        return;
    }
    out.line(Text(u"settings file: ") + *settings.file + (settings.fileFound ? u" (found)" : u" (absent)"));
    out.line(Text(u"embedded settings text: ") +
             (settings.embeddedText ? u"carried" : u"none for this \"Upgrade Code\""));
    if (!settings.userFile) {
        out.line(Text(u"per-user settings file: not used (a service)"));
    } else {
        out.line(Text(u"per-user settings file: ") + settings.userFile->path +
                 (settings.userFile->inUse ? u" (found: \"JRE Path\" comes from it alone)" : u" (absent)"));
    }
    for (const SettingRecord& setting : settings.values) {
        if (setting.origin != ValueOrigin::Absent || setting.fromUserFile) out.line(settingLine(setting));
    }
}

void textInstance(const LaunchAccount& account, Lines& out) {
    const InstanceAccount& instance = account.instance;
    out.heading(u"Single instance");
    if (!instance.configured) {
        out.line(Text(u"not configured"));
        return;
    }
    out.line(Text(u"configured; shared block ") + instance.name);
    if (!instance.first) {
        out.line(Text(u"no first instance is running: this start becomes the first instance"));
        return;
    }
    const FirstInstance& first = *instance.first;
    out.line(Text(u"a first instance holds the block: process ") + number(first.header.processId) +
             (first.running ? u" (running)" : u" (ended)") + u", listener thread " +
             number(first.header.listenerThreadId));
    if (!instance.argumentsFit) out.line(Text(u"the arguments do not fit into the block (1040 bytes)"));
    if (first.header.listenerThreadId == 0) out.line(Text(u"the first instance takes no hand-overs"));
}

// Under the line of its source.
void textRegistryPass(const RegistryPassRecord& pass, Lines& out) {
    for (const RegistryKeyRecord& key : pass.keys) {
        if (key.outcome != RegistryKeyOutcome::NotOpened) out.line(key.key + u": " + nameOf(key.outcome).phrase, 2);
    }
    for (const RegistryEntryRecord& entry : pass.entries) {
        Text line = entry.key + u"\\" + entry.subkey + u" (version " + entry.version.toText() + u")";
        if (!entry.home.empty()) line += Text(u", home ") + entry.home;
        out.line(line + u": " + nameOf(entry.outcome).phrase, 2);
    }
    for (std::size_t i = 0; i < pass.sorted.size(); ++i) {
        const RuntimeCandidate& candidate = pass.sorted[i];
        Text line = Text(u"ranked ") + number(i + 1) + u": " + candidate.version.toText() + u" " + candidate.home;
        if (candidate.isServer) line += u", server JVM";
        if (candidate.favoured) line += u", favoured";
        out.line(line, 2);
    }
    if (pass.chosen) {
        out.line(Text(u"chosen: ranked ") + number(*pass.chosen + 1) + u", because " + nameOf(pass.reason).phrase, 2);
    }
}

void textRuntime(const RuntimeAccount& runtime, const LaunchAccount& account, Lines& out) {
    out.heading(u"Runtime");
    for (const SourceRecord& source : runtime.record.sources) {
        Text line = Text(nameOf(source.source).phrase) + u": " + nameOf(source.outcome).phrase;
        if (!source.folder.empty()) line += Text(u" (") + source.folder + u")";
        if (source.version) line += Text(u", version ") + source.version->toText();
        out.line(line);
        if (source.source == RuntimeSource::Registry || source.source == RuntimeSource::Registry32) {
            const RegistryView view = source.source == RuntimeSource::Registry ? RegistryView::Native
                                                                                : RegistryView::Bits32;
            for (const RegistryPassRecord& pass : runtime.record.passes) {
                if (pass.view == view) textRegistryPass(pass, out);
            }
        }
    }
    if (runtime.jvmLibraryPath.empty() && account.consoleLauncher) {
        out.line(Text(u"no runtime found: the console launcher writes this message and where it looked to "
                      u"standard error, and ends with -1"));
        out.line(quoted(runtime.notFoundMessage), 2);
        return;
    }
    if (runtime.jvmLibraryPath.empty()) {
        out.line(Text(u"no runtime found: the launcher asks for a runtime folder in its dialog, with the message"));
        out.line(quoted(runtime.notFoundMessage), 2);
        out.line(Text(u"OK, possible for a folder holding a JVM library of the \"JVM Type\", launches that runtime; "
                      u"Cancel ends the launch"));
        return;
    }
    out.line(Text(u"JVM library: ") + runtime.jvmLibraryPath);
    if (runtime.needsPairLauncher) {
        out.line(Text(u"it is a 32-bit runtime: the paired launcher ") + account.decoded.pairProduct + u" runs it");
    }
}

Text machineName(const LibraryFacts& library) {
    if (!library.machine) return Text(u"no PE image");
    if (*library.machine == kMachineI386) return Text(u"an x86 image");
    return Text(u"an image for machine ") + number(*library.machine);
}

Text libraryVerdict(const VmAccount& vm) {
    const LibraryLoad& load = vm.load;
    if (load.result == LibraryLoad::Result::NotLoaded && vm.library.openError) {
        return Text(u"it cannot be read (error ") + number(static_cast<std::uint32_t>(load.error)) +
               u"): loading fails with the same error";
    }
    if (load.result == LibraryLoad::Result::NotLoaded) {
        return machineName(vm.library) + u", not x64: loading fails with error " +
               number(static_cast<std::uint32_t>(load.error));
    }
    Text verdict(nameOf(load.result).phrase);
    if (load.error) verdict += Text(u" (error ") + number(static_cast<std::uint32_t>(load.error)) + u")";
    return verdict;
}

void textVm(const LaunchAccount& account, Lines& out) {
    const VmAccount& vm = *account.vm;
    out.heading(u"Environment of the VM");
    out.line(Text(u"JL_JVM_PATH=") + vm.jvmPathVariable);
    out.line(Text(u"JL_JVM_HOME=") + vm.jvmHomeVariable);
    out.line(Text(u"Path=") + vm.pathVariable);
    if (account.workingDirectory) out.line(Text(u"working directory (\"Override WorkingDir\"): ") + *account.workingDirectory);
    out.heading(u"JVM library as loaded");
    out.line(vm.jvmLibraryPath);
    out.line(libraryVerdict(vm));

    const SplashAccount& splash = *account.splash;
    out.heading(u"Splash");
    if (splash.suppressed) {
        out.line(Text(u"none: \"-nosplash\" or \"/nosplash\" among the arguments"));
    } else if (splash.kind == SplashKind::None) {
        out.line(Text(u"none: no \"Splash Screen\""));
    } else {
        out.line(Text(nameOf(splash.kind).phrase) + u", image " + splash.settings.image);
        if (splash.kind == SplashKind::Native) {
            out.line(splash.nativeLibrary + u" (the own window if it cannot be loaded)");
        } else {
            out.line(Text(u"shadow: ") + (splash.settings.wantsShadow() ? u"yes" : u"no"));
        }
    }

    if (vm.load.result != LibraryLoad::Result::Loaded) return;
    out.heading(u"Class path");
    for (const ClassPathPieceRecord& piece : vm.record.classPath.pieces) {
        Text line = quoted(piece.written);
        if (!piece.pattern.empty()) line += Text(u", searched as ") + piece.pattern;
        out.line(line + u": " + orNone(joined(piece.added, u"; "), u"nothing found"));
    }
    if (vm.record.classPath.executableAdded) out.line(Text(u"the executable itself (\"Embedded Jar\")"));
    if (!vm.classPathFound) {
        out.line(Text(u"empty"));
        return;
    }
    if (vm.record.memory) {
        out.heading(u"Memory sizing");
        out.line(Text(u"physical memory ") + number(vm.record.memory->totalPhysical) +
                 u" bytes, available virtual address space " + number(vm.record.memory->availableVirtual) + u" bytes");
        for (const SizedOptionRecord& sized : vm.record.sized) out.line(sized.written + u" gives " + sized.rewritten);
    }
    out.heading(u"VM options, in order");
    for (const Text& option : vm.options) out.line(option);
    out.line(Text(u"stack of the thread that runs main: ") +
             (vm.stackSize ? number(vm.stackSize) + u" bytes asked (-Xss)" : Text(u"the VM's default")));
    if (vm.threadStack) out.line(Text(u"which reserves ") + number(*vm.threadStack) + u" bytes");
}

void textMainClass(const LaunchAccount& account, Lines& out) {
    const MainAccount& main = *account.main;
    const MainSource& source = main.source.source;
    out.line(Text(u"mode: ") + nameOf(source.mode).phrase);
    if (source.mode == LaunchMode::Jar) out.line(Text(u"jar ") + source.jar + u" (first on the class path)");
    if (source.mode == LaunchMode::Module) {
        out.line(Text(u"module ") + source.module.module);
        out.line(Text(u"module path: ") + orNone(source.modulePath, u"none (the module is in the runtime's image)"));
        if (!account.decoded.mainClass.empty()) out.line(Text(u"\"Main Class\" is not used in this mode"));
    }
    switch (mainClassOrigin(main)) {
    case MainClassOrigin::Setting:
        out.line(Text(u"class ") + main.lookup.className +
                 (source.mode == LaunchMode::Jar ? u" (\"Main Class\"; the manifest is not read)" : u""));
        break;
    case MainClassOrigin::Manifest:
        out.line(Text(u"class: the Main-Class of the jar's manifest, read by the runtime; its launcher helper "
                      u"applies Add-Opens, Add-Exports, Enable-Native-Access and Launcher-Agent-Class too "
                      u"(a runtime without that helper takes Main-Class alone)"));
        break;
    case MainClassOrigin::ModuleSetting:
        out.line(Text(u"class ") + source.module.mainClass + u" (after the '/' of \"Main Module\")");
        break;
    case MainClassOrigin::Descriptor:
        out.line(Text(u"class: the one the module's descriptor names, found by the runtime's launcher helper"));
        break;
    }
    for (const Text& option : main.modeOptions) out.line(Text(u"option of this mode: ") + option);
}

void textMain(const LaunchAccount& account, Lines& out) {
    out.heading(u"Main");
    textMainClass(account, out);
    const std::size_t fromCommandLine = account.commandLine.size();
    for (std::size_t i = 0; i < account.mainArguments.size(); ++i) {
        out.line(Text(u"argument ") + number(i) + u": " + quoted(account.mainArguments[i]) +
                 (i < fromCommandLine ? u"" : u" (\"Cmd\")"));
    }
    const VmAccount& vm = *account.vm;
    out.line(Text(u"System.out: ") + orNone(vm.outputFile, u"unchanged"));
    out.line(Text(u"System.err: ") + orNone(vm.errorFile, u"unchanged"));
}

void textOutcome(const LaunchAccount& account, Lines& out) {
    out.heading(u"Outcome");
    out.line(Text(nameOf(account.outcome).phrase));
    if (account.outcome == LaunchOutcome::RunsPairLauncher) {
        out.line(Text(u"its exit code is ") +
                 (account.decoded.pairReturnCode ? u"the paired launcher's (\"Pair Return Code\")" : u"0"));
    }
    if (!account.message.empty()) out.line(Text(u"message: ") + quoted(account.message));
}

} // namespace

Text textReport(const LaunchAccount& account) {
    Lines out;
    out.heading(u"Launch");
    out.line(account.launcherPath);
    for (std::size_t i = 0; i < account.commandLine.size(); ++i) {
        out.line(Text(u"argument ") + number(i) + u": " + quoted(account.commandLine[i]));
    }
    textSettings(account, out);
    if (account.settings.file) textInstance(account, out);
    if (account.settings.file) textApplication(account.decoded, out);
    if (account.settings.file) textService(account.decoded, out);
    if (account.runtime) textRuntime(*account.runtime, account, out);
    if (account.vm) textVm(account, out);
    if (account.outcome == LaunchOutcome::StartsVm) textMain(account, out);
    textOutcome(account, out);
    return out.text();
}

int reportExitCode(const LaunchAccount& account) { return account.outcome == LaunchOutcome::Fails ? 1 : 0; }
