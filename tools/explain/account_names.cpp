#include "explain/account_names.h"

Name nameOf(ValueOrigin origin) {
    switch (origin) {
    case ValueOrigin::Absent: return {u"absent", u"absent"};
    case ValueOrigin::Embedded: return {u"embedded", u"embedded settings text"};
    case ValueOrigin::File: return {u"file", u"settings file"};
    case ValueOrigin::Extension: return {u"plusSection", u"\"+\" section of the settings file"};
    case ValueOrigin::EmbeddedExtended:
        return {u"embeddedAndPlusSection", u"embedded settings text, extended by the \"+\" section"};
    }
    return {u"?", u"?"};
}

Name nameOf(RuntimeSource source) {
    switch (source) {
    case RuntimeSource::JrePath: return {u"jrePath", u"\"JRE Path\""};
    case RuntimeSource::PrivateRuntime: return {u"privateRuntime", u"private runtime"};
    case RuntimeSource::Registry: return {u"registry", u"registry"};
    case RuntimeSource::Registry32: return {u"registry32", u"registry, 32-bit view"};
    case RuntimeSource::JavaHome: return {u"javaHome", u"JAVA_HOME"};
    case RuntimeSource::PathJava: return {u"path", u"java.exe on PATH"};
    case RuntimeSource::Dialog: return {u"dialog", u"runtime-not-found dialog"};
    }
    return {u"?", u"?"};
}

Name nameOf(SourceOutcome outcome) {
    switch (outcome) {
    case SourceOutcome::NotConfigured: return {u"notConfigured", u"not configured"};
    case SourceOutcome::NoRuntimeFolder:
        return {u"noRuntimeFolder", u"no bin\\java.dll beside the executable or in its jre64 folder"};
    case SourceOutcome::NoJavaOnPath: return {u"noJavaOnPath", u"no folder of PATH holds a java.exe"};
    case SourceOutcome::RelativePath: return {u"relativePath", u"not a full path"};
    case SourceOutcome::NoFolder: return {u"noFolder", u"no such folder"};
    case SourceOutcome::NoJvmLibrary: return {u"noJvmLibrary", u"no JVM library of the \"JVM Type\" there"};
    case SourceOutcome::OutsideLimits:
        return {u"outsideLimits", u"its version lies outside \"Minimum Version\" and \"Maximum Version\""};
    case SourceOutcome::VersionUnknown:
        return {u"versionUnknown", u"its release file names no version, and version limits or \"Preferred versions\" "
                                   u"are set"};
    case SourceOutcome::KindNotSearched: return {u"kindNotSearched", u"its kind is left out by \"JVM Source\""};
    case SourceOutcome::X86WithoutPairLauncher:
        return {u"x86WithoutPairLauncher", u"a 32-bit runtime, and no \"Pair Product\" to run it"};
    case SourceOutcome::NoCandidate: return {u"noCandidate", u"no runtime qualifies"};
    case SourceOutcome::Chosen: return {u"chosen", u"chosen"};
    }
    return {u"?", u"?"};
}

Name nameOf(RegistryKeyOutcome outcome) {
    switch (outcome) {
    case RegistryKeyOutcome::Searched: return {u"searched", u"searched"};
    case RegistryKeyOutcome::NotOpened: return {u"notOpened", u"absent"};
    case RegistryKeyOutcome::KindOrProviderNotSearched:
        return {u"kindOrProviderNotSearched", u"not searched: \"JVM Source\" or \"VM Provider\" leaves it out"};
    case RegistryKeyOutcome::ClassicKeysOnly:
        return {u"classicKeysOnly", u"not searched: \"Registry Keys\" is classic"};
    }
    return {u"?", u"?"};
}

Name nameOf(RegistryEntryOutcome outcome) {
    switch (outcome) {
    case RegistryEntryOutcome::Candidate: return {u"candidate", u"candidate"};
    case RegistryEntryOutcome::OutsideLimits:
        return {u"outsideLimits", u"outside \"Minimum Version\" and \"Maximum Version\""};
    case RegistryEntryOutcome::KindNotSearched: return {u"kindNotSearched", u"its kind is left out by \"JVM Source\""};
    case RegistryEntryOutcome::NoHome: return {u"noHome", u"names no home folder"};
    case RegistryEntryOutcome::NoJvmLibrary:
        return {u"noJvmLibrary", u"no JVM library of the \"JVM Type\" in its home folder"};
    }
    return {u"?", u"?"};
}

Name nameOf(ChoiceReason reason) {
    switch (reason) {
    case ChoiceReason::PreferredVersion: return {u"preferredVersion", u"it matches \"Preferred versions\""};
    case ChoiceReason::Favoured:
        return {u"favoured", u"its kind and provider are favoured (\"JVM Source\", \"VM Provider\")"};
    case ChoiceReason::ServerJvm: return {u"serverJvm", u"it has a server JVM (\"JVM Type\" favor_server)"};
    case ChoiceReason::HigherVersion: return {u"higherVersion", u"it has the highest version"};
    case ChoiceReason::SearchOrder: return {u"searchOrder", u"it was found first"};
    case ChoiceReason::OnlyCandidate: return {u"onlyCandidate", u"it is the only candidate"};
    }
    return {u"?", u"?"};
}

Name nameOf(RegistryView view) {
    return view == RegistryView::Native ? Name{u"native", u"64-bit view"} : Name{u"32-bit", u"32-bit view"};
}

Name nameOf(LibraryLoad::Result result) {
    switch (result) {
    case LibraryLoad::Result::Loaded:
        return {u"loads", u"an x64 image exporting JNI_CreateJavaVM and JNI_GetDefaultJavaVMInitArgs: it loads when "
                          u"the libraries it needs are found, which only loading tells"};
    case LibraryLoad::Result::NotLoaded: return {u"fails", u"loading it fails"};
    case LibraryLoad::Result::NoEntryPoints:
        return {u"lacksEntryPoints", u"it lacks JNI_CreateJavaVM or JNI_GetDefaultJavaVMInitArgs"};
    case LibraryLoad::Result::NotKnown:
        return {u"notKnown", u"the file is empty: loading fails, with an error number that only loading tells"};
    }
    return {u"?", u"?"};
}

Name nameOf(SplashKind kind) {
    switch (kind) {
    case SplashKind::None: return {u"none", u"none"};
    case SplashKind::Native: return {u"native", u"the runtime's splash library"};
    case SplashKind::Own: return {u"own", u"the launcher's own window"};
    }
    return {u"?", u"?"};
}

Name nameOf(LaunchOutcome outcome) {
    switch (outcome) {
    case LaunchOutcome::StartsVm: return {u"startsVm", u"the VM is created and main is called"};
    case LaunchOutcome::RunsPairLauncher: return {u"runsPairLauncher", u"the paired launcher runs the runtime"};
    case LaunchOutcome::HandsOver:
        return {u"handsOver", u"the arguments go to the first instance, whose reply is the exit code"};
    case LaunchOutcome::Fails: return {u"fails", u"the launch ends with exit code -1"};
    }
    return {u"?", u"?"};
}

Name nameOf(LaunchMode mode) {
    switch (mode) {
    case LaunchMode::ClassPath: return {u"classPath", u"the \"Main Class\" on the class path"};
    case LaunchMode::Jar: return {u"jar", u"an executable jar, as java -jar starts it"};
    case LaunchMode::Module: return {u"module", u"a named module, as java -m starts it"};
    }
    return {u"?", u"?"};
}

Name nameOf(MainSourceProblem problem) {
    switch (problem) {
    case MainSourceProblem::None: return {u"none", u"none"};
    case MainSourceProblem::JarWithSeparator: return {u"jarWithSeparator", u"its path holds a ';'"};
    case MainSourceProblem::JarMissing: return {u"jarMissing", u"not found"};
    case MainSourceProblem::JarUnreadable: return {u"jarUnreadable", u"a folder, or a file that cannot be read"};
    case MainSourceProblem::ModuleNotParsed:
        return {u"moduleNotParsed", u"not a module name with an optional /class"};
    }
    return {u"?", u"?"};
}

Name nameOf(AppUserModelIdProblem problem) {
    switch (problem) {
    case AppUserModelIdProblem::None: return {u"none", u"none"};
    case AppUserModelIdProblem::TooLong: return {u"tooLong", u"longer than 128 characters"};
    case AppUserModelIdProblem::HasSpace: return {u"hasSpace", u"it contains a space"};
    }
    return {u"?", u"?"};
}

MainClassOrigin mainClassOrigin(const MainAccount& main) {
    if (!main.lookup.className.empty()) return MainClassOrigin::Setting;
    if (!main.lookup.jar.empty()) return MainClassOrigin::Manifest;
    return main.source.source.module.mainClass.empty() ? MainClassOrigin::Descriptor : MainClassOrigin::ModuleSetting;
}

Name nameOf(MainClassOrigin origin) {
    switch (origin) {
    case MainClassOrigin::Setting: return {u"mainClass", u"\"Main Class\""};
    case MainClassOrigin::Manifest: return {u"manifest", u"the jar's manifest"};
    case MainClassOrigin::ModuleSetting: return {u"mainModule", u"\"Main Module\""};
    case MainClassOrigin::Descriptor: return {u"descriptor", u"the module's descriptor"};
    }
    return {u"?", u"?"};
}
