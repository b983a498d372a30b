#include <gtest/gtest.h>

#include "common/ansi.h"
#include "common/ansi_path.h"
#include "common/path_parts.h"
#include "test_support.h"
#include "vm/class_path.h"
#include "vm/vm_environment.h"
#include "vm/vm_options.h"

namespace {

TextList asTexts(const VmOptionList& options) {
    TextList texts;
    for (const auto& option : options) texts.push_back(fromAnsi(option));
    return texts;
}

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
const Text kLauncher = u"C:\\App\\app.exe"_t;
const Text kJvm = u"C:\\Rt\\bin\\server\\jvm.dll"_t;

class VmOptionAssembly : public ::testing::Test {
protected:
    VmOptionAssembly() {
        environment.set(u"Path"_t, u"C:\\Windows"_t);
        memory.figures = {8 * kGiB, 128 * kGiB};
    }

    TextList assemble() {
        record = {};
        result = assembleVmOptions(settings, main, kLauncher, {environment, files, memory, paths}, options, arguments,
                                   &record);
        return asTexts(options);
    }

    FakeEnvironment environment;
    FakeFiles files;
    FixedMemory memory;
    FakePathNames paths;
    VmSettings settings;
    MainSource main;
    VmOptionList options;
    ArgumentList arguments{u"first"_t};
    AssembledVmOptions result;
    VmOptionsRecord record;
};

} // namespace

TEST(RuntimeFolders, DerivedFromTheLibraryPath) {
    const RuntimeFolders folders = runtimeFoldersOf(kJvm);
    EXPECT_EQ(folders.home, u"C:\\Rt"_t);
    EXPECT_EQ(folders.bin, u"C:\\Rt\\bin"_t);
    EXPECT_EQ(folders.lib, u"C:\\Rt\\lib"_t);
    EXPECT_EQ(withoutLastComponents(u"jvm.dll"_t, 3), u"jvm.dll"_t);
    EXPECT_EQ(withoutLastComponents(u"C:\\jvm.dll"_t, 3), u"C:"_t);
    EXPECT_EQ(folderOf(kLauncher), u"C:\\App"_t);
    EXPECT_EQ(folderWithSlashOf(kLauncher), u"C:\\App\\"_t);
    EXPECT_EQ(folderWithSlashOf(u"jvm.dll"_t), Text());
    EXPECT_EQ(fileNameOf(kLauncher), u"app.exe"_t);
}

TEST(VmEnvironment, SetsRuntimeVariablesPathAndLibraryPathOption) {
    FakeEnvironment environment;
    environment.set(u"Path"_t, u"C:\\Windows"_t);
    VmSettings settings;
    settings.libraryPath = u"%JL_JVM_HOME%\\native"_t;
    settings.systemPath = u"C:\\Tools"_t;
    VmOptionList options;
    prepareVmEnvironment(settings, kJvm, kLauncher, environment, FakePathNames(), options);

    EXPECT_EQ(environment.get(u"JL_JVM_PATH"_t), kJvm);
    EXPECT_EQ(environment.get(u"JL_JVM_HOME"_t), u"C:\\Rt"_t);
    // The library path sees the inherited Path, not the new one.
    EXPECT_EQ(asTexts(options), TextList{u"-Djava.library.path=C:\\Rt\\native;C:\\App\\;.;C:\\Windows;C:\\Rt\\lib"_t});
    EXPECT_EQ(environment.get(u"Path"_t), u"C:\\Tools;C:\\Windows;C:\\Rt\\bin"_t);
}

TEST(VmEnvironment, PathWithoutSettingsAndWithoutLibraryPath) {
    FakeEnvironment environment;
    environment.set(u"Path"_t, u"C:\\Windows"_t);
    VmOptionList options;
    prepareVmEnvironment(VmSettings{}, kJvm, kLauncher, environment, FakePathNames(), options);
    EXPECT_TRUE(options.empty());
    EXPECT_EQ(environment.get(u"Path"_t), u"C:\\Windows;C:\\Rt\\bin"_t);

    VmSettings settings;
    settings.systemPath = u"C:\\Tools;"_t;  // no second separator
    prepareVmEnvironment(settings, kJvm, kLauncher, environment, FakePathNames(), options);
    EXPECT_EQ(environment.get(u"Path"_t), u"C:\\Tools;C:\\Windows;C:\\Rt\\bin;C:\\Rt\\bin"_t);
}

TEST(VmEnvironment, LibraryPathFoldersInTheirShortFormWhereTheCodePageNeedsIt) {
    FakeEnvironment environment;
    // An inherited folder without a short form goes as it always did.
    environment.set(u"Path"_t, u"C:\\Windows;C:\\\u65E5\u672C"_t);
    FakePathNames paths;
    paths.shortForms[u"C:\\\u041F\\"] = u"C:\\PA4F~1\\"_t;
    VmSettings settings;
    settings.libraryPath = u"native"_t;
    VmOptionList options;
    prepareVmEnvironment(settings, kJvm, u"C:\\\u041F\\app.exe"_t, environment, paths, options);
    EXPECT_EQ(asTexts(options),
              TextList{u"-Djava.library.path=native;C:\\PA4F~1\\;.;C:\\Windows;C:\\\u65E5\u672C;C:\\Rt\\lib"_t});
}

TEST(AnsiReadablePath, ItselfItsShortFormOrNone) {
    FakePathNames paths;
    const Text longFolder = u"C:\\"_t + Text(std::u16string(260, u'a'));
    paths.shortForms[u"C:\\\u041F\\a.jar"] = u"C:\\PA4F~1\\a.jar"_t;
    paths.shortForms[u"C:\\\u65E5"] = u"C:\\\u65E5"_t;  // a volume without short names keeps the long one
    paths.shortForms[(longFolder + u"\\x.jar").units()] = u"C:\\AAAAAA~1\\x.jar"_t;
    const struct {
        Text path;
        std::optional<Text> readable;
    } rows[] = {
        {u"C:\\App\\a.jar"_t, u"C:\\App\\a.jar"_t},
        {u"C:\\\u041F\\a.jar"_t, u"C:\\PA4F~1\\a.jar"_t},
        {u"C:\\\u041F\\missing.jar"_t, std::nullopt},
        {u"C:\\\u65E5"_t, std::nullopt},
        {longFolder + u"\\x.jar", u"C:\\AAAAAA~1\\x.jar"_t},
        {longFolder + u"\\y.jar", longFolder + u"\\y.jar"},
    };
    for (const auto& row : rows) EXPECT_EQ(ansiReadablePath(row.path, paths), row.readable) << row.path.toUtf8();

    const AnsiReadablePathList list =
        ansiReadablePathList(u"C:\\\u041F\\a.jar;;C:\\\u65E5;C:\\\u041F\\missing.jar;"_t, paths);
    EXPECT_EQ(list.list, u"C:\\PA4F~1\\a.jar;;C:\\\u65E5;C:\\\u041F\\missing.jar;"_t);
    EXPECT_EQ(list.unreadableEntry, u"C:\\\u65E5"_t);
}

TEST(ClassPath, DirectAndSearchEntries) {
    FakeEnvironment environment;
    environment.set(u"LIBS"_t, u"C:\\Lib"_t);
    FakeFiles files;
    files.add(u"C:\\App\\lib\\b.jar"_t);
    files.add(u"C:\\App\\lib\\c.jar"_t);
    files.add(u"C:\\App\\app.jar"_t);
    files.add(u"C:\\App"_t);
    files.add(u"C:\\Ext\\e.jar"_t);
    const auto build = [&](const char16_t* classPath, const char16_t* embedded = u"") {
        ClassPathRecord record;
        const Text built = buildClassPath({Text(classPath), Text(embedded), kLauncher}, environment, files, &record);
        // What the record says each piece gave adds up to the class path.
        Text recorded;
        for (const ClassPathPieceRecord& piece : record.pieces) {
            for (const Text& entry : piece.added) recorded += entry + u';';
        }
        EXPECT_EQ(recorded, built) << Text(classPath).toUtf8();
        return built;
    };

    EXPECT_EQ(build(u"%LIBS%\\a.jar;\\lib\\*.jar"), u"C:\\Lib\\a.jar;C:\\App\\lib\\b.jar;C:\\App\\lib\\c.jar;"_t);
    EXPECT_EQ(build(u"lib\\x.jar"), Text());  // joined as C:\Applib\x.jar
    EXPECT_EQ(build(u"C:\\a.jar;;C:\\b.jar"), u"C:\\a.jar;C:\\App;C:\\b.jar;"_t);
    EXPECT_EQ(build(u"\\app.jar"), u"C:\\App\\app.jar;"_t);
    EXPECT_EQ(build(u"C:\\Ext\\*.jar;\\\\srv\\share\\s.jar;D:\\missing.jar"),
              u"C:\\Ext\\e.jar;\\\\srv\\share\\s.jar;D:\\missing.jar;"_t);
    EXPECT_EQ(build(u"\\none\\*.jar"), Text());
}

TEST(ClassPath, EmbeddedJar) {
    FakeEnvironment environment;
    FakeFiles files;
    const auto build = [&](const char16_t* classPath, const char16_t* embedded) {
        return buildClassPath({Text(classPath), Text(embedded), kLauncher}, environment, files);
    };
    EXPECT_EQ(build(u"", u"yes"), kLauncher);
    EXPECT_EQ(build(u"C:\\a.jar", u"YES"), u"C:\\a.jar;C:\\App\\app.exe"_t);
    EXPECT_EQ(build(u"C:\\a.jar", u"no"), u"C:\\a.jar;"_t);
    EXPECT_EQ(build(u"", u"Yes please"), Text());
}

TEST_F(VmOptionAssembly, OptionsInOrderFilesAndExtraArguments) {
    environment.set(u"LOGS"_t, u"D:\\Logs"_t);
    environment.set(u"JL_JVM_HOME"_t, u"C:\\Rt"_t);
    options.push_back(toAnsi(u"-Djava.library.path=x"_t));
    settings.classPath = u"C:\\a.jar"_t;
    settings.vmParameters = u"-Xmx40:128P  -Dx=\"a b\" -Dhome=%JL_JVM_HOME% -Xss512k"_t;
    settings.outputFile = u"%LOGS%\\out.txt"_t;
    settings.errorFile = u"err.txt"_t;
    settings.extraArguments = u" -x \"%LOGS%\\y z\""_t;

    EXPECT_EQ(assemble(), (TextList{u"-Djava.library.path=x"_t, u"-Djava.class.path=C:\\a.jar;"_t,
                                    u"-Xmx3355443K"_t, u"-Dx=a b"_t, u"-Dhome=C:\\Rt"_t, u"-Xss512k"_t}));
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.mainThreadStackSize, 524288u);
    EXPECT_EQ(result.outputFile, u"D:\\Logs\\out.txt"_t);
    EXPECT_EQ(result.errorFile, u"err.txt"_t);
    EXPECT_EQ(arguments, (TextList{u"first"_t, u"-x"_t, u"D:\\Logs\\y z"_t}));
    ASSERT_EQ(record.sized.size(), 1u);
    EXPECT_EQ(record.sized[0].written, u"-Xmx40:128P"_t);
    EXPECT_EQ(record.sized[0].rewritten, u"-Xmx3355443K"_t);
    EXPECT_EQ(record.memory->totalPhysical, 8 * kGiB);
}

TEST_F(VmOptionAssembly, EmptyClassPathStopsBeforeReadingTheRest) {
    settings.vmParameters = u"-Xmx50P"_t;
    settings.outputFile = u"out.txt"_t;
    settings.extraArguments = u"more"_t;
    EXPECT_TRUE(assemble().empty());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.outputFile.empty());
    EXPECT_EQ(arguments, TextList{u"first"_t});
    EXPECT_EQ(memory.reads, 0);
}

TEST_F(VmOptionAssembly, ClassPathEntriesInTheirShortFormAndOneWithoutStopsTheLaunch) {
    paths.shortForms[u"C:\\\u041F\\a.jar"] = u"C:\\PA4F~1\\a.jar"_t;
    settings.classPath = u"C:\\\u041F\\a.jar;C:\\b.jar"_t;
    EXPECT_EQ(assemble(), TextList{u"-Djava.class.path=C:\\PA4F~1\\a.jar;C:\\b.jar;"_t});
    EXPECT_TRUE(result.ok);

    options.clear();
    settings.classPath = u"C:\\\u041F\\a.jar;C:\\\u041F\\missing.jar"_t;
    settings.vmParameters = u"-Xmx50P"_t;
    settings.outputFile = u"out.txt"_t;
    EXPECT_TRUE(assemble().empty());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.unreadableClassPathEntry, u"C:\\\u041F\\missing.jar"_t);
    EXPECT_TRUE(result.outputFile.empty());
    EXPECT_EQ(memory.reads, 0);
}

TEST_F(VmOptionAssembly, StackSizeFollowsTheLastXss) {
    settings.classPath = u"C:\\a.jar"_t;
    settings.vmParameters = u"-Xss1048576"_t;
    assemble();
    EXPECT_EQ(result.mainThreadStackSize, 1048576u);

    // Sized first (10% of 8 GiB, capped at 2 MB), then read as kilobytes.
    settings.vmParameters = u"-Xss1m -Xss10:1:2P"_t;
    options.clear();
    EXPECT_EQ(assemble().back(), u"-Xss2048K"_t);
    EXPECT_EQ(result.mainThreadStackSize, 2097152u);

    settings.vmParameters = u"-Xss2m -XSS4m"_t;
    assemble();
    EXPECT_EQ(result.mainThreadStackSize, 2097152u);

    settings.vmParameters = u"-Xmx1g"_t;
    assemble();
    EXPECT_EQ(result.mainThreadStackSize, 0u);
}

TEST_F(VmOptionAssembly, TheMainJarLeadsTheClassPathAndModulesGetTheirOptions) {
    settings.classPath = u"C:\\a.jar"_t;
    settings.vmParameters = u"--add-modules=javafx.controls"_t;
    main.mode = LaunchMode::Jar;
    main.jar = u"C:\\App\\app.jar"_t;
    EXPECT_EQ(assemble(), (TextList{u"-Djava.class.path=C:\\App\\app.jar;C:\\a.jar;"_t,
                                    u"--add-modules=javafx.controls"_t}));

    // A module launch needs no class path; the user's parameters come after its options.
    options.clear();
    settings.classPath = Text();
    main = {LaunchMode::Module, Text(), {u"hello"_t, u"hello.Main"_t}, u"C:\\App\\mods;D:\\more"_t};
    EXPECT_EQ(assemble(), (TextList{u"--module-path=C:\\App\\mods;D:\\more"_t, u"-Djdk.module.main=hello"_t,
                                    u"--add-modules=javafx.controls"_t}));
    EXPECT_TRUE(result.ok);

    // A module in the runtime's own image needs no module path either.
    options.clear();
    main.modulePath = Text();
    EXPECT_EQ(assemble(), (TextList{u"-Djdk.module.main=hello"_t, u"--add-modules=javafx.controls"_t}));

    options.clear();
    main.modulePath = u"C:\\\u041F\\mods"_t;
    EXPECT_TRUE(assemble().empty());
    EXPECT_EQ(result.unreadableClassPathEntry, u"C:\\\u041F\\mods"_t);
}

TEST(ReducedSignalUse, TheLastOfTheOptionsDecides) {
    EXPECT_FALSE(reducesSignalUse({"-Xmx1g", "-Xrss", "-Dx=-Xrs"}));
    EXPECT_TRUE(reducesSignalUse({"-Xmx1g", "-Xrs"}));
    EXPECT_TRUE(reducesSignalUse({"-XX:+ReduceSignalUsage"}));
    EXPECT_FALSE(reducesSignalUse({"-Xrs", "-XX:-ReduceSignalUsage"}));
    EXPECT_TRUE(reducesSignalUse({"-XX:-ReduceSignalUsage", "-Xrs"}));
}
