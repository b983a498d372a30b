#include <gtest/gtest.h>

#include "test_support.h"
#include "vm/main_source.h"
#include "vm/manifest_text.h"

namespace {

const Text kLauncher = u"C:\\App\\app.exe"_t;

} // namespace

TEST(MainModule, ANameWithAnOptionalClass) {
    struct Row {
        std::u16string written;
        std::optional<ModuleName> parsed;
    };
    const std::u16string longName(10000, u'a');
    const Row rows[] = {
        {u"hello", ModuleName{u"hello"_t, Text()}},
        {u"com.example.app/com.example.app.Main", ModuleName{u"com.example.app"_t, u"com.example.app.Main"_t}},
        {u"m$1/Outer$Inner", ModuleName{u"m$1"_t, u"Outer$Inner"_t}},
        {u"gr\u00FC\u00DFe", ModuleName{u"gr\u00FC\u00DFe"_t, Text()}},
        {longName, ModuleName{Text(longName), Text()}},
        {u"", std::nullopt},
        {u"/", std::nullopt},
        {u"a/", std::nullopt},
        {u"/b", std::nullopt},
        {u"a//b", std::nullopt},
        {u"a/b/c", std::nullopt},
        {u"hello world", std::nullopt},
        {u" hello", std::nullopt},
        {u"a..b", std::nullopt},
        {u".a", std::nullopt},
        {u"a.", std::nullopt},
        {u"1a", std::nullopt},
        {u"a.1b", std::nullopt},
        {u"a-b", std::nullopt},
        {u"a;b", std::nullopt},
    };
    for (const Row& row : rows) {
        const auto parsed = parseMainModule(Text(row.written));
        SCOPED_TRACE(Text(row.written).toUtf8().substr(0, 40));
        ASSERT_EQ(parsed.has_value(), row.parsed.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->module, row.parsed->module);
            EXPECT_EQ(parsed->mainClass, row.parsed->mainClass);
        }
    }
}

TEST(ManifestText, MainClassOfTheMainSection) {
    struct Row {
        std::string_view manifest;
        std::optional<std::u16string> mainClass;
    };
    const Row rows[] = {
        {"Manifest-Version: 1.0\r\nMain-Class: com.example.App\r\n\r\n", u"com.example.App"},
        {"main-class:   App  \n", u"App"},
        {"Main-Class: com.exam\r\n ple.LongName\r\nCreated-By: x\r\n", u"com.example.LongName"},
        {"Main-Class: App\rX-Other: y\r", u"App"},
        {"Main-Class: Gr\xC3\xBC\xC3\x9F" "e", u"Gr\u00FC\u00DFe"},
        {"Manifest-Version: 1.0\n\nName: x/\nMain-Class: InAnEntry\n", std::nullopt},
        {"Main-Class:\n", std::nullopt},
        {"Main-Class: \n \n", std::nullopt},
        {"Main-Classes: App\n", std::nullopt},
        {" Main-Class: App\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.manifest));
        const auto mainClass = manifestMainClass(row.manifest);
        ASSERT_EQ(mainClass.has_value(), row.mainClass.has_value());
        if (mainClass) EXPECT_EQ(*mainClass, Text(*row.mainClass));
    }
}

TEST(MainSource, TheJarAndTheModulePathArePlacedAndTheJarChecked) {
    FakeEnvironment environment;
    environment.set(u"LIB"_t, u"D:\\Lib"_t);
    FakeFiles files;
    files.add(u"C:\\App\\app.jar"_t, "PK");
    files.add(u"D:\\Lib\\app.jar"_t, "");
    files.add(u"C:\\App\\folder.jar"_t);  // exists, yet nothing can be read: a folder
    struct Row {
        std::u16string mainJar;
        MainSourceProblem problem;
        std::u16string jar;
    };
    const Row rows[] = {
        {u"\\app.jar", MainSourceProblem::None, u"C:\\App\\app.jar"},
        {u"%LIB%\\app.jar", MainSourceProblem::None, u"D:\\Lib\\app.jar"},
        {u"\\missing.jar", MainSourceProblem::JarMissing, u"C:\\App\\missing.jar"},
        {u"\\*.jar", MainSourceProblem::JarMissing, u"C:\\App\\*.jar"},
        {u"\\folder.jar", MainSourceProblem::JarUnreadable, u"C:\\App\\folder.jar"},
        {u"C:\\a;b.jar", MainSourceProblem::JarWithSeparator, u"C:\\a;b.jar"},
    };
    for (const Row& row : rows) {
        VmSettings settings;
        settings.mainJar = Text(row.mainJar);
        const ResolvedMainSource resolved = resolveMainSource(settings, kLauncher, environment, files);
        EXPECT_EQ(resolved.source.mode, LaunchMode::Jar);
        EXPECT_EQ(resolved.problem, row.problem) << Text(row.mainJar).toUtf8();
        EXPECT_EQ(resolved.source.jar, Text(row.jar));
    }

    // The module wins over the jar; empty module path pieces are dropped.
    VmSettings settings;
    settings.mainJar = u"\\app.jar"_t;
    settings.mainModule = u"hello/hello.Main"_t;
    settings.modulePath = u"\\mods;;%LIB%\\mods;"_t;
    const ResolvedMainSource module = resolveMainSource(settings, kLauncher, environment, files);
    EXPECT_EQ(module.source.mode, LaunchMode::Module);
    EXPECT_EQ(module.problem, MainSourceProblem::None);
    EXPECT_EQ(module.source.module.module, u"hello"_t);
    EXPECT_EQ(module.source.modulePath, u"C:\\App\\mods;D:\\Lib\\mods"_t);

    settings.mainModule = u"a//b"_t;
    const ResolvedMainSource bad = resolveMainSource(settings, kLauncher, environment, files);
    EXPECT_EQ(bad.problem, MainSourceProblem::ModuleNotParsed);
    EXPECT_EQ(bad.subject, u"a//b"_t);

    EXPECT_EQ(resolveMainSource(VmSettings{}, kLauncher, environment, files).source.mode, LaunchMode::ClassPath);
}
