#include "explain/account_report.h"

#include <string>

#include "explain/account_names.h"
#include "explain/json_writer.h"

namespace {

Text number(std::uint64_t n) { return Text::fromUtf8(std::to_string(n)); }

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
        out.line(line);
        if (source.source == RuntimeSource::Registry || source.source == RuntimeSource::Registry32) {
            const RegistryView view = source.source == RuntimeSource::Registry ? RegistryView::Native
                                                                                : RegistryView::Bits32;
            for (const RegistryPassRecord& pass : runtime.record.passes) {
                if (pass.view == view) textRegistryPass(pass, out);
            }
        }
    }
    if (runtime.choice.jvmLibraryPath.empty()) {
        out.line(Text(u"no runtime found: the launcher asks for a runtime folder in its dialog, with the message"));
        out.line(quoted(runtime.notFoundMessage), 2);
        out.line(Text(u"OK, possible for a folder holding a JVM library of the \"JVM Type\", launches that runtime; "
                      u"Cancel ends the launch"));
        return;
    }
    out.line(Text(u"JVM library: ") + runtime.choice.jvmLibraryPath);
    if (runtime.needsPairLauncher) {
        out.line(Text(u"it is a 32-bit runtime: the paired launcher ") + account.decoded.pairProduct + u" runs it");
    }
}

void textVm(const LaunchAccount& account, Lines& out) {
    const VmAccount& vm = *account.vm;
    out.heading(u"Environment of the VM");
    out.line(Text(u"JL_JVM_PATH=") + vm.jvmPathVariable);
    out.line(Text(u"JL_JVM_HOME=") + vm.jvmHomeVariable);
    out.line(Text(u"Path=") + vm.pathVariable);
    if (account.workingDirectory) out.line(Text(u"working directory (\"Override WorkingDir\"): ") + *account.workingDirectory);

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
             (vm.stackSize ? number(vm.stackSize) + u" bytes (-Xss)" : Text(u"the VM's default")));
}

void textMain(const LaunchAccount& account, Lines& out) {
    out.heading(u"Main");
    out.line(Text(u"class ") + account.decoded.mainClass);
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

// ---- JSON ----

void jsonSettings(const SettingsAccount& settings, JsonWriter& json) {
    json.key(u"settings").beginObject();
    json.key(u"file").value(settings.file);
    json.key(u"fileFound").value(settings.fileFound);
    json.key(u"embeddedText").value(settings.embeddedText);
    json.key(u"userFile");
    if (settings.userFile) {
        json.beginObject().key(u"path").value(settings.userFile->path);
        json.key(u"inUse").value(settings.userFile->inUse).endObject();
    } else {
        json.null();
    }
    json.key(u"values").beginArray();
    for (const SettingRecord& setting : settings.values) {
        json.beginObject().key(u"section").value(setting.key.section).key(u"key").value(setting.key.key);
        json.key(u"value").value(setting.value);
        json.key(u"origin").value(setting.fromUserFile ? u"userFile" : nameOf(setting.origin).id).endObject();
    }
    json.endArray().endObject();
}

void jsonInstance(const InstanceAccount& instance, JsonWriter& json) {
    json.key(u"singleInstance").beginObject().key(u"configured").value(instance.configured);
    json.key(u"name").valueOrNull(instance.name);
    json.key(u"firstInstance");
    if (instance.first) {
        const InstanceHeader& header = instance.first->header;
        json.beginObject().key(u"processId").value(std::uint64_t{header.processId});
        json.key(u"listenerThreadId").value(std::uint64_t{header.listenerThreadId});
        json.key(u"running").value(instance.first->running).endObject();
    } else {
        json.null();
    }
    json.key(u"argumentsFit").value(instance.argumentsFit).endObject();
}

void jsonRegistryPass(const RegistryPassRecord& pass, JsonWriter& json) {
    json.beginObject().key(u"view").value(nameOf(pass.view).id).key(u"keys").beginArray();
    for (const RegistryKeyRecord& key : pass.keys) {
        json.beginObject().key(u"key").value(key.key).key(u"outcome").value(nameOf(key.outcome).id).endObject();
    }
    json.endArray().key(u"entries").beginArray();
    for (const RegistryEntryRecord& entry : pass.entries) {
        json.beginObject().key(u"key").value(entry.key).key(u"subkey").value(entry.subkey);
        json.key(u"version").value(entry.version.toText()).key(u"home").valueOrNull(entry.home);
        json.key(u"verdict").value(nameOf(entry.outcome).id).endObject();
    }
    json.endArray().key(u"ranked").beginArray();
    for (const RuntimeCandidate& candidate : pass.sorted) {
        json.beginObject().key(u"version").value(candidate.version.toText()).key(u"home").value(candidate.home);
        json.key(u"serverJvm").value(candidate.isServer).key(u"favoured").value(candidate.favoured).endObject();
    }
    json.endArray().key(u"chosen");
    if (pass.chosen) {
        json.value(std::uint64_t{*pass.chosen}).key(u"reason").value(nameOf(pass.reason).id);
    } else {
        json.null();
    }
    json.endObject();
}

void jsonRuntime(const LaunchAccount& account, JsonWriter& json) {
    json.key(u"runtime");
    if (!account.runtime) {
        json.null();
        return;
    }
    const RuntimeAccount& runtime = *account.runtime;
    json.beginObject().key(u"sources").beginArray();
    for (const SourceRecord& source : runtime.record.sources) {
        json.beginObject().key(u"source").value(nameOf(source.source).id);
        json.key(u"outcome").value(nameOf(source.outcome).id);
        json.key(u"folder").valueOrNull(source.folder);
        json.key(u"jvmLibrary").valueOrNull(source.jvmLibraryPath).endObject();
    }
    json.endArray().key(u"registryPasses").beginArray();
    for (const RegistryPassRecord& pass : runtime.record.passes) jsonRegistryPass(pass, json);
    json.endArray();
    json.key(u"jvmLibrary").valueOrNull(runtime.choice.jvmLibraryPath);
    json.key(u"pairLauncher").value(runtime.needsPairLauncher);
    json.key(u"notFoundMessage").valueOrNull(runtime.notFoundMessage).endObject();
}

void jsonVm(const LaunchAccount& account, JsonWriter& json) {
    json.key(u"vm");
    if (!account.vm) {
        json.null();
        return;
    }
    const VmAccount& vm = *account.vm;
    json.beginObject().key(u"environment").beginObject();
    json.key(u"JL_JVM_PATH").value(vm.jvmPathVariable).key(u"JL_JVM_HOME").value(vm.jvmHomeVariable);
    json.key(u"Path").value(vm.pathVariable).endObject();
    const SplashAccount& splash = *account.splash;
    json.key(u"splash").beginObject().key(u"suppressed").value(splash.suppressed);
    json.key(u"kind").value(nameOf(splash.kind).id).key(u"image").valueOrNull(splash.settings.image);
    json.key(u"nativeLibrary").valueOrNull(splash.nativeLibrary);
    json.key(u"shadow").value(splash.settings.wantsShadow()).endObject();
    json.key(u"classPath").beginArray();
    for (const ClassPathPieceRecord& piece : vm.record.classPath.pieces) {
        json.beginObject().key(u"written").value(piece.written).key(u"expanded").value(piece.expanded);
        json.key(u"pattern").valueOrNull(piece.pattern).key(u"entries").value(piece.added).endObject();
    }
    json.endArray().key(u"executableOnClassPath").value(vm.record.classPath.executableAdded);
    json.key(u"memory");
    if (vm.record.memory) {
        json.beginObject().key(u"totalPhysical").value(vm.record.memory->totalPhysical);
        json.key(u"availableVirtual").value(vm.record.memory->availableVirtual).endObject();
    } else {
        json.null();
    }
    json.key(u"sizedOptions").beginArray();
    for (const SizedOptionRecord& sized : vm.record.sized) {
        json.beginObject().key(u"written").value(sized.written).key(u"rewritten").value(sized.rewritten).endObject();
    }
    json.endArray().key(u"options").value(vm.options);
    json.key(u"stackSize");
    vm.stackSize ? json.value(vm.stackSize) : json.null();
    json.key(u"outputFile").valueOrNull(vm.outputFile);
    json.key(u"errorFile").valueOrNull(vm.errorFile).endObject();
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
    if (account.runtime) textRuntime(*account.runtime, account, out);
    if (account.vm) textVm(account, out);
    if (account.outcome == LaunchOutcome::StartsVm) textMain(account, out);
    textOutcome(account, out);
    return out.text();
}

Text jsonReport(const LaunchAccount& account) {
    JsonWriter json;
    json.beginObject().key(u"launcher").value(account.launcherPath).key(u"arguments").value(account.commandLine);
    jsonSettings(account.settings, json);
    jsonInstance(account.instance, json);
    json.key(u"workingDirectory").value(account.workingDirectory);
    jsonRuntime(account, json);
    jsonVm(account, json);
    const bool starts = account.outcome == LaunchOutcome::StartsVm;
    json.key(u"mainClass").valueOrNull(starts ? account.decoded.mainClass : Text());
    json.key(u"mainArguments");
    starts ? json.value(account.mainArguments) : json.null();
    json.key(u"outcome").beginObject().key(u"result").value(nameOf(account.outcome).id);
    json.key(u"goesAhead").value(reportExitCode(account) == 0);
    json.key(u"message").valueOrNull(account.message);
    json.key(u"exitCode");
    account.outcome == LaunchOutcome::Fails ? json.value(std::uint64_t{0xFFFFFFFF}) : json.null();
    json.endObject().endObject();
    return json.text() + u"\n";
}

int reportExitCode(const LaunchAccount& account) { return account.outcome == LaunchOutcome::Fails ? 1 : 0; }
