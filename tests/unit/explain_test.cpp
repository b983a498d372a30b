#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "explain/account_names.h"
#include "explain/account_report.h"
#include "explain/json_writer.h"
#include "runtime/pe_image.h"
#include "test_support.h"

namespace {

const Text kExe = u"C:\\App\\app.exe"_t;
const Text kIni = u"C:\\App\\app.ini"_t;
const Text kRuntime = u"Java Runtime Environment"_t;
const Text kApplication = u"Application"_t;

class NoMemory final : public MemoryStatus {
public:
    MemoryFigures read() const override { return {}; }
};

// A machine with a launcher whose settings name a main class, a runtime and a class path.
class Machine {
public:
    Machine() {
        environment.set(u"APPDATA"_t, u"C:\\Roaming"_t);
        environment.set(u"Path"_t, u"C:\\Windows"_t);
        put(kRuntime, u"Main Class"_t, u"com.example.App"_t);
        put(kRuntime, u"JRE Path"_t, u"C:\\rt"_t);
        put(u"Class Path"_t, u"Class Path"_t, u"C:\\a.jar"_t);
        files.add(u"C:\\rt\\bin\\server\\jvm.dll"_t);
    }

    void put(const Text& section, const Text& key, const Text& value) { store.put(kIni, section, key, value); }

    LaunchAccount explain(const ArgumentList& arguments = {}) {
        ExplainPlatform platform{store, files, environment, memory, paths, registry, texts, true, 0x200000,
                                 [this](const Text& library) { return x86Library == library; },
                                 [](const Text&) { return LibraryFacts{0, false, kMachineAmd64, true}; },
                                 [this](const Text&) { return firstInstance; },
                                 [this](const Text& folder) { directories.push_back(folder); }};
        return explainLaunch(kExe, arguments, platform);
    }

    FakeSettingsStore store;
    FakeFiles files;
    FakeEnvironment environment;
    NoMemory memory;
    FakePathNames paths;
    FakeRegistry registry;
    IdTexts texts;
    Text x86Library;
    std::optional<FirstInstance> firstInstance;
    TextList directories;
};

const FirstInstance kListeningFirst{{7, 1234, 0xC001}, true};

} // namespace

TEST(Explain, EachWayALaunchEnds) {
    struct Row {
        const char* what;
        std::function<void(Machine&)> setUp;
        ArgumentList arguments;
        LaunchOutcome outcome;
        const char* message;
    };
    const Text single = u"Single Instance"_t;
    const Row rows[] = {
        {"goes ahead", [](Machine&) {}, {}, LaunchOutcome::StartsVm, ""},
        {"no main class", [](Machine& t) { t.put(kRuntime, u"Main Class"_t, Text()); }, {},
         LaunchOutcome::Fails, "#210"},
        {"no runtime", [](Machine& t) { t.put(kRuntime, u"JRE Path"_t, u"C:\\none"_t); }, {},
         LaunchOutcome::Fails, "#207"},
        {"no class path", [](Machine& t) { t.put(u"Class Path"_t, u"Class Path"_t, u"\\lib\\*.jar"_t); }, {},
         LaunchOutcome::Fails, "#209"},
        {"a first instance takes the arguments",
         [&](Machine& t) { t.put(kApplication, single, u"yes"_t); t.firstInstance = kListeningFirst; }, {u"a"_t},
         LaunchOutcome::HandsOver, ""},
        {"a first instance that takes no hand-overs",
         [&](Machine& t) {
             t.put(kApplication, single, u"yes"_t);
             t.firstInstance = FirstInstance{{0, 1234, 0}, true};
         },
         {}, LaunchOutcome::Fails, ""},
        {"arguments too long for the block",
         [&](Machine& t) { t.put(kApplication, single, u"yes"_t); t.firstInstance = kListeningFirst; },
         {Text(std::u16string(519, u'x'))}, LaunchOutcome::Fails, ""},
        {"a service ignores the first instance",
         [&](Machine& t) {
             t.put(kApplication, single, u"yes"_t);
             t.put(kApplication, u"Application Type"_t, u"service"_t);
             t.firstInstance = kListeningFirst;
         },
         {}, LaunchOutcome::StartsVm, ""},
        {"an x86 JRE Path with a paired launcher",
         [](Machine& t) {
             t.put(kApplication, u"Pair Product"_t, u"app32.exe"_t);
             t.x86Library = u"C:\\rt\\bin\\server\\jvm.dll"_t;
         },
         {}, LaunchOutcome::RunsPairLauncher, ""},
        {"an x86 JRE Path without one", [](Machine& t) { t.x86Library = u"C:\\rt\\bin\\server\\jvm.dll"_t; }, {},
         LaunchOutcome::StartsVm, ""},
        {"a 32-bit registry runtime",
         [](Machine& t) {
             t.put(kRuntime, u"JRE Path"_t, Text());
             t.put(kApplication, u"Pair Product"_t, u"app32.exe"_t);
             t.registry.put(RegistryView::Bits32, u"Software\\JavaSoft\\Java Runtime Environment\\1.8"_t,
                            u"JavaHome"_t, u"C:\\rt"_t);
         },
         {}, LaunchOutcome::RunsPairLauncher, ""},
    };
    for (const Row& row : rows) {
        Machine t;
        row.setUp(t);
        const LaunchAccount account = t.explain(row.arguments);
        EXPECT_EQ(account.outcome, row.outcome) << row.what;
        EXPECT_EQ(account.message, Text::fromUtf8(row.message)) << row.what;
        EXPECT_EQ(reportExitCode(account), row.outcome == LaunchOutcome::Fails ? 1 : 0) << row.what;
        // Only a launch that starts a VM gets as far as the VM's environment.
        EXPECT_EQ(account.vm && account.vm->classPathFound, row.outcome == LaunchOutcome::StartsVm) << row.what;
    }
}

TEST(Explain, AStartingLaunchIsWorkedOutToTheArgumentsOfMain) {
    Machine m;
    m.store.upgradeCodeForEmbedded = Text();
    m.store.embedded = u"[Application]\r\nCmd=-e\r\n[Java Runtime Environment]\r\nLibrary Path=native\r\n"_t;
    m.put(u"Application+"_t, u"Cmd"_t, u"-x"_t);
    m.put(kApplication, u"Override WorkingDir"_t, u"Yes"_t);
    m.put(kRuntime, u"Virtual Machine Parameters"_t, u"-Xss1m -Dhome=%JL_JVM_HOME%"_t);
    const LaunchAccount account = m.explain({u"a"_t, u"-nosplash"_t});

    ASSERT_EQ(account.outcome, LaunchOutcome::StartsVm);
    EXPECT_EQ(m.directories, TextList{u"C:\\App"_t});
    const VmAccount& vm = *account.vm;
    EXPECT_EQ(vm.options, (TextList{u"-Djava.library.path=native;C:\\App\\;.;C:\\Windows;C:\\rt\\lib"_t,
                                    u"-Djava.class.path=C:\\a.jar;"_t, u"-Xss1m"_t, u"-Dhome=C:\\rt"_t, u"abort"_t,
                                    u"exit"_t}));
    EXPECT_EQ(vm.stackSize, 1048576u);
    EXPECT_EQ(vm.threadStack, std::optional<std::uint64_t>(0x200000));  // the launcher's own reserve is larger
    EXPECT_TRUE(account.splash->suppressed);
    EXPECT_EQ(account.mainArguments, (TextList{u"a"_t, u"-nosplash"_t, u"-e"_t, u"-x"_t}));

    const auto origin = [&](std::u16string_view key) {
        const auto& values = account.settings.values;
        return std::find_if(values.begin(), values.end(), [&](const SettingRecord& r) { return r.key.key == key; })
            ->origin;
    };
    EXPECT_EQ(origin(u"Cmd"), ValueOrigin::EmbeddedExtended);
    EXPECT_EQ(origin(u"Library Path"), ValueOrigin::Embedded);
    EXPECT_EQ(origin(u"Main Class"), ValueOrigin::File);
    EXPECT_EQ(origin(u"Error File"), ValueOrigin::Absent);
}

TEST(Explain, JrePathFromThePerUserFileIsShownAsSuch) {
    Machine m;
    const Text userFile = u"C:\\Roaming\\\\\\app.ini"_t;  // no product name or code
    m.files.add(userFile);
    m.store.put(userFile, kRuntime, u"JRE Path"_t, u"C:\\user-rt"_t);
    m.files.add(u"C:\\user-rt\\bin\\client\\jvm.dll"_t);
    const LaunchAccount account = m.explain();

    ASSERT_TRUE(account.settings.userFile && account.settings.userFile->inUse);
    const auto& values = account.settings.values;
    const auto jrePath = std::find_if(values.begin(), values.end(),
                                      [](const SettingRecord& r) { return r.key.key == u"JRE Path"; });
    EXPECT_TRUE(jrePath->fromUserFile);
    EXPECT_EQ(jrePath->value, u"C:\\user-rt"_t);
    EXPECT_EQ(account.vm->jvmLibraryPath, u"C:\\user-rt\\bin\\client\\jvm.dll"_t);
}

TEST(JsonWriter, NestsSeparatesAndEscapes) {
    JsonWriter json;
    json.beginObject().key(u"a").value(u"q\"b\\c\n\x01"_t).key(u"empty").beginArray().endArray();
    json.key(u"list").value(TextList{u"x"_t, u"y"_t}).key(u"n").null().key(u"t").value(true);
    json.key(u"o").beginObject().key(u"k").value(std::uint64_t{4294967295u}).endObject().endObject();
    EXPECT_EQ(json.text().toUtf8(),
              "{\n  \"a\": \"q\\\"b\\\\c\\u000a\\u0001\",\n  \"empty\": [],\n  \"list\": [\n    \"x\",\n    \"y\"\n  ],\n"
              "  \"n\": null,\n  \"t\": true,\n  \"o\": {\n    \"k\": 4294967295\n  }\n}");
}

namespace {

void put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A PE32+ image of one section, whose file offsets are its addresses, that
// exports the names; nameTable is where its export directory says their list is.
std::vector<std::uint8_t> imageExporting(const std::vector<std::string>& names, std::uint32_t nameTable = 0x240) {
    std::vector<std::uint8_t> image(0x400, 0);
    image[0] = 'M';
    image[1] = 'Z';
    put(image, 0x3C, 0x40);
    put(image, 0x40, 0x00004550);
    put(image, 0x44, kMachineAmd64, 2);
    put(image, 0x46, 1, 2);       // sections
    put(image, 0x54, 0xF0, 2);    // optional header size
    put(image, 0x58, 0x20B, 2);   // PE32+
    put(image, 0x58 + 108, 16);   // data directories
    put(image, 0x58 + 112, 0x200);
    put(image, 0x148 + 12, 0x200);  // the section: address, size, file offset
    put(image, 0x148 + 16, 0x200);
    put(image, 0x148 + 20, 0x200);
    put(image, 0x200 + 24, static_cast<std::uint32_t>(names.size()));
    put(image, 0x200 + 32, nameTable);
    std::uint32_t at = 0x280;
    for (std::size_t i = 0; i < names.size(); ++i) {
        put(image, 0x240 + 4 * i, at);
        std::copy(names[i].begin(), names[i].end(), image.begin() + at);
        at += static_cast<std::uint32_t>(names[i].size()) + 1;
    }
    return image;
}

} // namespace

TEST(LibraryFacts, TheEntryPointsAreReadFromTheExportTable) {
    const std::string create = "JNI_CreateJavaVM", defaults = "JNI_GetDefaultJavaVMInitArgs";
    EXPECT_TRUE(libraryFactsOf(imageExporting({"JNI_GetCreatedJavaVMs", create, defaults})).exportsEntryPoints);
    EXPECT_FALSE(libraryFactsOf(imageExporting({create})).exportsEntryPoints);
    EXPECT_FALSE(libraryFactsOf(imageExporting({create + "X", defaults})).exportsEntryPoints);
    // A list of names outside the image is no list.
    EXPECT_FALSE(libraryFactsOf(imageExporting({create, defaults}, 0x3FE)).exportsEntryPoints);
    EXPECT_FALSE(libraryFactsOf(imageExporting({create, defaults}, 0x900)).exportsEntryPoints);
    EXPECT_EQ(libraryFactsOf(imageExporting({})).machine, std::optional<std::uint16_t>(kMachineAmd64));
}

TEST(LibraryFacts, PredictWhatTheLoaderOfA64BitProcessGives) {
    using Result = LibraryLoad::Result;
    const std::pair<LibraryFacts, LibraryLoad> cases[] = {
        {{0, false, kMachineAmd64, true}, {Result::Loaded, 0}},
        {{0, false, kMachineAmd64, false}, {Result::NoEntryPoints, 127}},
        {{0, false, kMachineI386, true}, {Result::NotLoaded, 193}},
        {{0, false, std::nullopt, false}, {Result::NotLoaded, 193}},
        {{5, false, std::nullopt, false}, {Result::NotLoaded, 5}},
        {{0, true, std::nullopt, false}, {Result::NotKnown, 0}},
    };
    for (const auto& [facts, load] : cases) {
        const LibraryLoad predicted = predictLibraryLoad(facts);
        EXPECT_EQ(predicted.result, load.result) << facts.openError << " " << facts.machine.value_or(0);
        EXPECT_EQ(predicted.error, load.error) << facts.openError << " " << facts.machine.value_or(0);
    }
}

TEST(LibraryFacts, AThreadGetsTheLaunchersReserveOrWholeMegabytesAboveIt) {
    constexpr std::uint64_t kMiB = 1 << 20;
    EXPECT_EQ(threadStackFor(kMiB, 2 * kMiB), std::optional<std::uint64_t>(2 * kMiB));
    EXPECT_EQ(threadStackFor(2 * kMiB, 2 * kMiB), std::optional<std::uint64_t>(2 * kMiB));
    EXPECT_EQ(threadStackFor(2 * kMiB + 1, 2 * kMiB), std::optional<std::uint64_t>(3 * kMiB));
    EXPECT_EQ(threadStackFor(UINT64_MAX, 2 * kMiB), std::optional<std::uint64_t>(UINT64_MAX));
    EXPECT_EQ(threadStackFor(kMiB, std::nullopt), std::nullopt);
    std::vector<std::uint8_t> image = imageExporting({});
    put(image, 0x58 + 72, 0x300000);
    EXPECT_EQ(stackReserveOf(image), std::optional<std::uint64_t>(0x300000));
    EXPECT_EQ(stackReserveOf(std::vector<std::uint8_t>(0x40, 0)), std::nullopt);
}

TEST(Explain, TheLaunchModeSaysWhereMainsClassComesFrom) {
    struct Row {
        const char* what;
        std::function<void(Machine&)> setUp;
        MainClassOrigin origin;
        TextList modeOptions;
        const char16_t* textLine;
        const char16_t* jsonPart;
    };
    const auto jar = [](Machine& m) {
        m.put(kRuntime, u"Main Jar"_t, u"\\app.jar"_t);
        m.files.add(u"C:\\App\\app.jar"_t, "PK");
    };
    const auto module = [](Machine& m, const Text& name) {
        m.put(kRuntime, u"Main Module"_t, name);
        m.put(u"Class Path"_t, u"Module Path"_t, u"\\mods"_t);
        m.files.add(u"C:\\rt\\lib\\modules"_t);
    };
    const TextList moduleOptions{u"--module-path=C:\\App\\mods"_t, u"-Djdk.module.main=hello"_t};
    const Row rows[] = {
        {"the class path", [](Machine&) {}, MainClassOrigin::Setting, {}, u"class com/example/App",
         u"\"mainClassFrom\": \"mainClass\""},
        {"a jar and its manifest",
         [&](Machine& m) {
             jar(m);
             m.put(kRuntime, u"Main Class"_t, Text());
         },
         MainClassOrigin::Manifest, {u"-Djava.class.path=C:\\App\\app.jar;C:\\a.jar;"_t},
         u"class: the Main-Class of the jar's manifest", u"\"mainClassFrom\": \"manifest\""},
        {"a jar beside a Main Class", jar, MainClassOrigin::Setting,
         {u"-Djava.class.path=C:\\App\\app.jar;C:\\a.jar;"_t}, u"(\"Main Class\"; the manifest is not read)",
         u"\"jar\": \"C:\\\\App\\\\app.jar\""},
        {"a module's descriptor", [&](Machine& m) { module(m, u"hello"_t); }, MainClassOrigin::Descriptor,
         moduleOptions, u"\"Main Class\" is not used in this mode", u"\"mainClassFrom\": \"descriptor\""},
        {"a module and its class", [&](Machine& m) { module(m, u"hello/hello.Main"_t); },
         MainClassOrigin::ModuleSetting, moduleOptions, u"class hello.Main (after the '/' of \"Main Module\")",
         u"\"moduleClass\": \"hello.Main\""},
    };
    for (const Row& row : rows) {
        Machine m;
        row.setUp(m);
        const LaunchAccount account = m.explain();
        ASSERT_EQ(account.outcome, LaunchOutcome::StartsVm) << row.what;
        ASSERT_TRUE(account.main) << row.what;
        EXPECT_EQ(mainClassOrigin(*account.main), row.origin) << row.what;
        EXPECT_EQ(account.main->modeOptions, row.modeOptions) << row.what;
        EXPECT_TRUE(textReport(account).contains(row.textLine)) << row.what << "\n" << textReport(account).toUtf8();
        EXPECT_TRUE(jsonReport(account).contains(row.jsonPart)) << row.what << "\n" << jsonReport(account).toUtf8();
    }
}

TEST(Explain, TheReportsNameTheIdentityAndTheRestartCodes) {
    Machine m;
    m.put(kApplication, u"App User Model ID"_t, u"Acme Editor"_t);
    m.put(kApplication, u"Restart Exit Codes"_t, u"3;x;-1"_t);
    const LaunchAccount account = m.explain();

    const std::string text = textReport(account).toUtf8();
    EXPECT_NE(text.find("App User Model ID: refused (it contains a space)"), std::string::npos) << text;
    EXPECT_NE(text.find("starts again when it ends with 3, -1 "), std::string::npos) << text;
    EXPECT_NE(text.find("piece ignored: \"x\""), std::string::npos) << text;
    std::string json = jsonReport(account).toUtf8();
    std::erase_if(json, [](char c) { return c == ' ' || c == '\n'; });
    EXPECT_NE(json.find(R"("appUserModelId":{"value":"AcmeEditor","refused":"hasSpace"})"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("restartExitCodes":{"codes":[3,-1],"ignored":["x"]})"), std::string::npos) << json;
}

TEST(Explain, TheReportsSayHowAServiceStopsAndWhichStopValuesAreUnusable) {
    struct Row {
        const char* what;
        std::u16string type, method, timeout;
        std::vector<std::string> textLines;
        std::string jsonPart;
    };
    const Row rows[] = {
        {"desktop", u"", u"App.stop", u"", {"not a service", "are not used"},
         R"("service":{"configured":false,"stopMethod":"App.stop","stopTimeoutSeconds":20,)"},
        {"exit-like", u"service", u"", u"",
         {"runs as the service's work", "System.exit(0) would (its shutdown hooks run)", "stop timeout: 20 s"},
         R"("service":{"configured":true,"stopMethod":null,"stopTimeoutSeconds":20,"unusableStopMethod":null,"unusableStopTimeout":null})"},
        {"method", u"service", u"com.example.App.halt", u"45",
         {"calls the static void method com.example.App.halt", "stop timeout: 45 s"},
         R"("stopMethod":"com.example.App.halt","stopTimeoutSeconds":45,)"},
        {"unusable", u"service", u"halt()", u"0",
         {"\"Service Stop Method\" not usable, reported when the service runs: \"halt()\"",
          "\"Service Stop Timeout\" not usable, reported when the service runs: \"0\"", "stop timeout: 20 s"},
         R"x("unusableStopMethod":"halt()","unusableStopTimeout":"0"})x"},
    };
    for (const Row& row : rows) {
        Machine m;
        m.put(kApplication, u"Application Type"_t, Text(row.type));
        m.put(kApplication, u"Service Stop Method"_t, Text(row.method));
        m.put(kApplication, u"Service Stop Timeout"_t, Text(row.timeout));
        const LaunchAccount account = m.explain();
        const std::string text = textReport(account).toUtf8();
        for (const std::string& line : row.textLines) EXPECT_NE(text.find(line), std::string::npos) << row.what << "\n" << text;
        std::string json = jsonReport(account).toUtf8();
        std::erase_if(json, [](char c) { return c == ' ' || c == '\n'; });
        std::string part = row.jsonPart;
        std::erase_if(part, [](char c) { return c == ' '; });
        EXPECT_NE(json.find(part), std::string::npos) << row.what << "\n" << json;
    }
}
