#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "launcher/settings_decoding.h"
#include "runtime/environment_runtimes.h"
#include "runtime/release_file.h"
#include "runtime/runtime_choice.h"
#include "test_support.h"

namespace {

const Text kServer = u"bin\\server\\jvm.dll"_t;

// The first bytes of a 32-bit PE image: "MZ", the header offset, "PE\0\0" and the i386 machine.
std::string x86Headers() {
    std::string image(0x100, '\0');
    image[0] = 'M', image[1] = 'Z', image[0x3C] = 0x40;
    image.replace(0x40, 6, std::string("PE\0\0\x4c\x01", 6));
    return image;
}

struct Machine {
    FakeFiles files;
    FakeEnvironment environment;
    FakeRegistry registry;

    // A runtime home with a server JVM and, when given, its release file's version line.
    void runtime(const Text& home, const char* version = nullptr, bool jdk = false) {
        files.add(home + kServer);
        if (version) files.add(home + u"release", std::string("IMPLEMENTOR=\"X\"\nJAVA_VERSION=\"") + version + "\"\n");
        if (jdk) files.add(home + u"bin\\javac.exe");
    }
    EnvironmentFacts facts() const { return {environment, files}; }
    RuntimeMachine views() const { return {files, registry, environment}; }
};

} // namespace

TEST(ReleaseFile, JavaVersionIsReadFromItsLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"JAVA_VERSION=\"17.0.9\"\n", "17.0.9"},
        {"IMPLEMENTOR=\"Eclipse Adoptium\"\r\nJAVA_VERSION=\"1.8.0_392\"\r\nOS_NAME=\"Windows\"\r\n", "1.8.0_392"},
        {"JAVA_VERSION=21  \n", "21"},
        {"JAVA_VERSION=\"11.0.2", "11.0.2"},  // no closing quote, no line end
        {"XJAVA_VERSION=\"1\"\nJAVA_VERSION_DATE=\"2024\"\n", nullptr},
        {"", nullptr},
        {"\xff\xfe\x00J\x00A\x00V\x00A", nullptr},
    };
    for (const auto& [content, expected] : cases) {
        const auto version = releaseJavaVersion(std::string_view(content, std::char_traits<char>::length(content)));
        EXPECT_EQ(version.has_value(), expected != nullptr) << content;
        if (version && expected) EXPECT_EQ(*version, Text::fromUtf8(expected)) << content;
    }
}

TEST(EnvironmentRuntimes, JavaHomeMustPassTheRulesOfARegistryEntry) {
    struct Row {
        const char* what;
        const char16_t* javaHome;
        std::function<void(Machine&, RuntimeConstraints&)> setUp;
        SourceOutcome outcome;
        const char16_t* library;
    };
    const Text jdk = u"C:\\jdk\\"_t;
    const Row rows[] = {
        {"not set", u"", {}, SourceOutcome::NotConfigured, u""},
        {"relative", u"jdk", {}, SourceOutcome::RelativePath, u""},
        {"quoted, with a trailing backslash", u"\"C:\\jdk\\\"", [&](Machine& m, auto&) { m.runtime(jdk, "17"); },
         SourceOutcome::Chosen, u"C:\\jdk\\bin\\server\\jvm.dll"},
        {"no such folder, or a file", u"C:\\jdk", [&](Machine& m, auto&) { m.files.add(u"C:\\jdk"_t); },
         SourceOutcome::NoFolder, u""},
        {"a folder without a JVM library", u"C:\\jdk", [&](Machine& m, auto&) { m.files.add(u"C:\\jdk\\bin\\java.exe"_t); },
         SourceOutcome::NoJvmLibrary, u""},
        {"only a client JVM when server is asked for", u"C:\\jdk",
         [&](Machine& m, RuntimeConstraints& c) {
             m.files.add(u"C:\\jdk\\bin\\client\\jvm.dll"_t);
             c.jvmType = JvmType::Server;
         },
         SourceOutcome::NoJvmLibrary, u""},
        {"a Java 8 JDK: its jre\\ holds the library", u"C:\\jdk",
         [&](Machine& m, RuntimeConstraints& c) {
             m.runtime(jdk + u"jre\\", nullptr);
             m.files.add(jdk + u"release", "JAVA_VERSION=\"1.8.0_392\"\n");
             c.minimumVersion = decodeMinimumVersion(u"1.8"_t);
         },
         SourceOutcome::Chosen, u"C:\\jdk\\jre\\bin\\server\\jvm.dll"},
        {"outside the limits", u"C:\\jdk",
         [&](Machine& m, RuntimeConstraints& c) {
             m.runtime(jdk, "1.8.0_392");
             c.minimumVersion = decodeMinimumVersion(u"11"_t);
         },
         SourceOutcome::OutsideLimits, u""},
        {"no version, and preferences set", u"C:\\jdk",
         [&](Machine& m, RuntimeConstraints& c) {
             m.runtime(jdk);
             c.preferredVersions = {u"17"_t};
         },
         SourceOutcome::VersionUnknown, u""},
        {"no version, and nothing asked of it", u"C:\\jdk", [&](Machine& m, auto&) { m.runtime(jdk); },
         SourceOutcome::Chosen, u"C:\\jdk\\bin\\server\\jvm.dll"},
        {"a JDK, and only JREs searched", u"C:\\jdk",
         [&](Machine& m, RuntimeConstraints& c) {
             m.runtime(jdk, "17", true);
             decodeJvmSource(u"only_JRE"_t, c);
         },
         SourceOutcome::KindNotSearched, u""},
        {"a JRE, and JDKs favoured: still taken", u"C:\\jdk",
         [&](Machine& m, RuntimeConstraints& c) {
             m.runtime(jdk, "17");
             decodeJvmSource(u"favor_JDK"_t, c);
         },
         SourceOutcome::Chosen, u"C:\\jdk\\bin\\server\\jvm.dll"},
        {"32-bit, and no paired launcher", u"C:\\jdk",
         [&](Machine& m, auto&) {
             m.runtime(jdk, "17");
             m.files.add(jdk + kServer, x86Headers());
         },
         SourceOutcome::X86WithoutPairLauncher, u""},
    };
    for (const Row& row : rows) {
        Machine machine;
        RuntimeConstraints constraints;
        machine.environment.set(u"JAVA_HOME"_t, Text(row.javaHome));
        if (row.setUp) row.setUp(machine, constraints);
        const EnvironmentCandidate candidate = javaHomeRuntime(constraints, false, machine.facts());
        EXPECT_EQ(candidate.outcome, row.outcome) << row.what;
        if (row.outcome == SourceOutcome::Chosen) EXPECT_EQ(candidate.jvmLibraryPath, Text(row.library)) << row.what;
    }
}

TEST(EnvironmentRuntimes, AnX86RuntimeGoesToThePairedLauncher) {
    Machine machine;
    machine.runtime(u"C:\\jdk\\"_t, "17");
    machine.files.add(u"C:\\jdk\\bin\\server\\jvm.dll"_t, x86Headers());
    machine.environment.set(u"JAVA_HOME"_t, u"C:\\jdk"_t);
    const RuntimeChoice choice = chooseRuntime({u"C:\\app\\app.exe"_t, Text(), RuntimeConstraints{}, true},
                                               machine.views());
    EXPECT_EQ(choice.source, RuntimeSource::JavaHome);
    EXPECT_EQ(choice.jvmLibraryPath, u"C:\\jdk\\bin\\server\\jvm.dll"_t);
}

TEST(EnvironmentRuntimes, PathGivesTheRuntimeOfItsFirstJavaExeThroughLinks) {
    Machine machine;
    machine.runtime(u"C:\\jdk17\\"_t, "17.0.9");
    machine.files.add(u"C:\\jdk17\\bin\\java.exe"_t);
    machine.files.link(u"C:\\javapath\\java.exe"_t, u"C:\\jdk17\\bin\\java.exe"_t);
    machine.files.add(u"C:\\later\\java.exe"_t);
    machine.environment.set(u"PATH"_t, u";C:\\Windows;\"C:\\javapath\";;C:\\later"_t);
    EXPECT_EQ(firstJavaOnPath(machine.environment.get(u"PATH"_t), machine.files),
              std::optional<Text>(u"C:\\javapath\\java.exe"_t));
    const EnvironmentCandidate candidate = pathRuntime(RuntimeConstraints{}, false, machine.facts());
    EXPECT_EQ(candidate.outcome, SourceOutcome::Chosen);
    EXPECT_EQ(candidate.home, u"C:\\jdk17\\"_t);
    EXPECT_EQ(candidate.version->toText(), u"17.0.9"_t);

    machine.environment.set(u"PATH"_t, Text(std::u16string(32767, u';')));
    EXPECT_EQ(pathRuntime(RuntimeConstraints{}, false, machine.facts()).outcome, SourceOutcome::NoJavaOnPath);
}

TEST(EnvironmentRuntimes, EnvironmentRuntimesSaysWhereTheyStand) {
    struct Row {
        const char16_t* setting;
        bool registered;
        RuntimeSource chosen;
        std::vector<RuntimeSource> tried;
    };
    using S = RuntimeSource;
    const Row rows[] = {
        {u"", true, S::Registry, {S::JrePath, S::PrivateRuntime, S::Registry}},
        {u"last", false, S::JavaHome, {S::JrePath, S::PrivateRuntime, S::Registry, S::Registry32, S::JavaHome}},
        {u"First", false, S::JavaHome, {S::JrePath, S::PrivateRuntime, S::Registry, S::Registry32, S::JavaHome}},
        {u"first", true, S::JavaHome, {S::JrePath, S::PrivateRuntime, S::JavaHome}},
        {u"no", true, S::Registry, {S::JrePath, S::PrivateRuntime, S::Registry}},
        {u"no", false, S::JrePath, {S::JrePath, S::PrivateRuntime, S::Registry, S::Registry32}},
    };
    for (const Row& row : rows) {
        Machine machine;
        machine.runtime(u"C:\\home\\"_t, "17");
        machine.environment.set(u"JAVA_HOME"_t, u"C:\\home"_t);
        if (row.registered) {
            machine.runtime(u"C:\\reg\\"_t);
            machine.registry.put(RegistryView::Native, u"Software\\JavaSoft\\JDK\\21"_t, u"JavaHome"_t, u"C:\\reg"_t);
        }
        RuntimeConstraints constraints;
        constraints.environmentRuntimes = decodeEnvironmentRuntimes(Text(row.setting));
        RuntimeChoiceRecord record;
        const RuntimeChoice choice =
            chooseRuntime({u"C:\\app\\app.exe"_t, Text(), constraints, false}, machine.views(), &record);
        const auto what = Text(row.setting).toUtf8() + (row.registered ? ", registered" : "");
        EXPECT_EQ(choice.source, row.chosen) << what;
        std::vector<RuntimeSource> tried;
        for (const SourceRecord& source : record.sources) tried.push_back(source.source);
        EXPECT_EQ(tried, row.tried) << what;
    }
}
