#include <gtest/gtest.h>

#include <functional>

#include "launcher/launch_plan.h"
#include "runtime/pe_image.h"
#include "scripted_host.h"

namespace {

const Text kIni = u"C:\\App\\app.ini"_t;
const Text kJvm = u"C:\\rt\\bin\\server\\jvm.dll"_t;
const Text kRuntime = u"Java Runtime Environment"_t;
const Text kApplication = u"Application"_t;
constexpr std::uint32_t kFailure = 0xFFFFFFFF;

// A launcher whose settings name a main class, a runtime and a class path.
struct Launch {
    ScriptedHost host;

    Launch() {
        host.environment.set(u"Path"_t, u"C:\\Windows"_t);
        host.environment.set(u"APPDATA"_t, u"C:\\Roaming"_t);
        put(kRuntime, u"Main Class"_t, u"com.example.App"_t);
        put(kRuntime, u"JRE Path"_t, u"C:\\rt"_t);
        put(u"Class Path"_t, u"Class Path"_t, u"C:\\a.jar"_t);
        host.files.add(kJvm);
    }
    void put(const Text& section, const Text& key, const Text& value) { host.store.put(kIni, section, key, value); }

    std::uint32_t run() { return runAsTheLauncherDoes(host); }
};

using Steps = std::vector<std::string>;

} // namespace

TEST(LaunchPlan, TakesEveryStepInItsOrder) {
    Launch launch;
    launch.put(kApplication, u"Single Instance"_t, u"yes"_t);
    launch.put(kApplication, u"Override WorkingDir"_t, u"Yes"_t);
    launch.put(kApplication, u"Cmd"_t, u"-c"_t);
    launch.put(u"Display"_t, u"Splash Screen"_t, u"C:\\App\\s.bmp"_t);
    launch.put(kRuntime, u"Virtual Machine Parameters"_t, u"-Xss1m"_t);
    launch.host.arguments = {u"a"_t};

    EXPECT_EQ(launch.run(), 0u);
    EXPECT_EQ(launch.host.steps, (Steps{"singleInstance com/example/App", "changeDirectory C:\\App",
                                        "ownSplash C:\\App\\s.bmp", "load " + kJvm.toUtf8(),
                                        "runJavaMain com/example/App"}));
    // The environment is the VM's before its library loads: it finds its own libraries through it.
    EXPECT_EQ(launch.host.jvmPathWhenLoaded, kJvm);
    const JavaMainJob& job = *launch.host.job;
    EXPECT_EQ(job.options, (VmOptionList{"-Djava.class.path=C:\\a.jar;", "-Xss1m"}));
    EXPECT_EQ(job.main.arguments, (ArgumentList{u"a"_t, u"-c"_t}));
    EXPECT_EQ(launch.host.stackSize, 1048576u);
    EXPECT_TRUE(launch.host.messages.shown.empty());
    // The Java main thread's call just before it creates the VM starts the splash's own work.
    job.beforeVmCreation();
    EXPECT_EQ(launch.host.steps.back(), "splash: VM creation begins");
}

TEST(LaunchPlan, EachWayALaunchEnds) {
    struct Row {
        const char* what;
        std::function<void(Launch&)> setUp;
        std::uint32_t exitCode;
        std::vector<std::string> messages;
        Steps steps;
    };
    const std::string load = "load " + kJvm.toUtf8();
    const std::string main = "runJavaMain com/example/App";
    const auto singleInstance = [](Launch& l, InstanceStart start) {
        l.put(kApplication, u"Single Instance"_t, u"yes"_t);
        l.put(kApplication, u"Override WorkingDir"_t, u"Yes"_t);
        l.host.instanceStart = start;
        l.host.firstInstanceReply = 7;
    };
    const auto mainJar = [](Launch& l, const Text& jar) {
        l.put(kRuntime, u"Main Jar"_t, jar);
        l.host.files.add(u"C:\\App\\app.jar"_t, "PK");
        l.host.files.add(u"C:\\App\\locked.jar"_t);
    };
    const auto x86WithPair = [](Launch& l, PairLauncherRun run) {
        l.put(kApplication, u"Pair Product"_t, u"app32.exe"_t);
        l.host.x86Libraries.insert(kJvm.units());
        l.host.pairLauncher = run;
    };
    const Row rows[] = {
        {"the executable's path is not known", [](Launch& l) { l.host.executable = {std::nullopt, 5}; }, kFailure,
         {"#202(#208|5)"}, {}},
        {"the executable's path has no '.'", [](Launch& l) { l.host.executable = {u"C:\\App\\app"_t}; }, kFailure,
         {}, {}},
        {"no main class", [](Launch& l) { l.put(kRuntime, u"Main Class"_t, Text()); }, kFailure, {"#210"}, {}},
        {"a later start hands over",
         [&](Launch& l) { singleInstance(l, InstanceStart::HandedOver); }, 7, {},
         {"singleInstance com/example/App", "waitForFirstInstance"}},
        {"the first instance restarts while a later start waits, which then runs the application",
         [&](Launch& l) {
             singleInstance(l, InstanceStart::HandedOver);
             l.host.firstInstanceRestarts = 1;
         },
         0, {},
         {"singleInstance com/example/App", "waitForFirstInstance", "singleInstance com/example/App",
          "changeDirectory C:\\App", load, main}},
        {"an identity for the taskbar, before any window",
         [](Launch& l) {
             l.put(kApplication, u"App User Model ID"_t, u"Acme.Editor"_t);
             l.put(kRuntime, u"Main Class"_t, Text());
         },
         kFailure, {"#210"}, {"appUserModelId Acme.Editor"}},
        {"an identity Windows refuses is reported and passed over",
         [](Launch& l) {
             l.put(kApplication, u"App User Model ID"_t, u"Acme.Editor"_t);
             l.host.appUserModelIdError = -2147024809;
         },
         0, {"#244(Acme.Editor|-2147024809)"}, {"appUserModelId Acme.Editor", load, main}},
        {"an identity that is too long", [](Launch& l) {
             l.put(kApplication, u"App User Model ID"_t, Text(std::u16string(10000, u'a')));
         },
         0, {"#242(128)"}, {load, main}},
        {"an identity with a space",
         [](Launch& l) { l.put(kApplication, u"App User Model ID"_t, u"Acme Editor"_t); }, 0,
         {"#243(Acme Editor)"}, {load, main}},
        {"restart exit codes are armed before the VM starts",
         [](Launch& l) { l.put(kApplication, u"Restart Exit Codes"_t, u"3; x ;-1"_t); }, 0, {},
         {load, "restartOnExitCodes 3;-1", main}},
        {"a later start cannot hand over",
         [&](Launch& l) { singleInstance(l, InstanceStart::HandOverFailed); }, kFailure, {},
         {"singleInstance com/example/App"}},
        {"no runtime, and the dialog is cancelled", [](Launch& l) { l.put(kRuntime, u"JRE Path"_t, Text()); },
         kFailure, {}, {"askForRuntime #207"}},
        {"no runtime, and the user picks one",
         [](Launch& l) {
             l.put(kRuntime, u"JRE Path"_t, Text());
             l.host.picked = PickedRuntime{u"C:\\p\\"_t, u"C:\\p\\bin\\client\\jvm.dll"_t};
         },
         0, {}, {"askForRuntime #207", "load C:\\p\\bin\\client\\jvm.dll", main}},
        {"the paired launcher runs an x86 runtime",
         [&](Launch& l) {
             x86WithPair(l, {true, 0, 3});
             l.put(kApplication, u"Pair Return Code"_t, u"Yes"_t);
         },
         3, {}, {"pairLauncher, waiting app32.exe"}},
        {"the paired launcher cannot be started", [&](Launch& l) { x86WithPair(l, {false, 2}); }, kFailure,
         {"#202(app32.exe|2)"}, {"pairLauncher app32.exe"}},
        {"the library does not load",
         [](Launch& l) { l.host.libraries[kJvm.units()] = {LibraryLoad::Result::NotLoaded, 193}; }, kFailure,
         {"#222(" + kJvm.toUtf8() + "|193)"}, {load}},
        {"the library lacks its entry points",
         [](Launch& l) { l.host.libraries[kJvm.units()] = {LibraryLoad::Result::NoEntryPoints, 127}; }, kFailure,
         {"#202(#212|127)"}, {load}},
        {"no class path", [](Launch& l) { l.put(u"Class Path"_t, u"Class Path"_t, Text()); }, kFailure, {"#209"},
         {load}},
        {"a class path entry the code page cannot hold",
         [](Launch& l) { l.put(u"Class Path"_t, u"Class Path"_t, u"C:\\\u0416.jar"_t); }, kFailure,
         {"#231(C:\\\u0416.jar)"}, {load}},
        {"the VM or main cannot be run", [](Launch& l) { l.host.javaMainResult = 1; }, kFailure, {},
         {load, main, "closeNativeSplash"}},
        {"main is called and returns", [](Launch&) {}, 0, {}, {load, main}},
        {"a main jar names the class",
         [&](Launch& l) {
             mainJar(l, u"\\app.jar"_t);
             l.put(kRuntime, u"Main Class"_t, Text());
             l.put(u"Class Path"_t, u"Class Path"_t, Text());
         },
         0, {}, {load, "runJavaMain jar C:\\App\\app.jar"}},
        {"a main class beside the main jar", [&](Launch& l) { mainJar(l, u"\\app.jar"_t); }, 0, {}, {load, main}},
        {"a main jar that is missing", [&](Launch& l) { mainJar(l, u"\\gone.jar"_t); }, kFailure,
         {"#232(C:\\App\\gone.jar)"}, {}},
        {"a main jar that cannot be read", [&](Launch& l) { mainJar(l, u"\\locked.jar"_t); }, kFailure,
         {"#233(C:\\App\\locked.jar)"}, {}},
        {"a main jar with a ';'", [&](Launch& l) { mainJar(l, u"C:\\a;b.jar"_t); }, kFailure,
         {"#234(C:\\a;b.jar)"}, {}},
        {"a main module that is no name", [](Launch& l) { l.put(kRuntime, u"Main Module"_t, u"a//b"_t); }, kFailure,
         {"#238(a//b)"}, {}},
        {"a main module on a runtime before Java 9",
         [](Launch& l) { l.put(kRuntime, u"Main Module"_t, u"hello/hello.Main"_t); }, kFailure, {"#239(hello)"}, {}},
        {"a main module on a modular runtime",
         [](Launch& l) {
             l.put(kRuntime, u"Main Module"_t, u"hello/hello.Main"_t);
             l.host.files.add(u"C:\\rt\\lib\\modules"_t);
         },
         0, {}, {load, "runJavaMain module hello/hello.Main"}},
    };
    for (const Row& row : rows) {
        Launch launch;
        row.setUp(launch);
        EXPECT_EQ(launch.run(), row.exitCode) << row.what;
        EXPECT_EQ(utf8(launch.host.messages.shown), row.messages) << row.what;
        EXPECT_EQ(launch.host.steps, row.steps) << row.what;
    }
}

TEST(LaunchPlan, ThePickedRuntimeIsStoredForBothLaunchers) {
    Launch launch;
    launch.put(kRuntime, u"JRE Path"_t, Text());
    launch.put(kApplication, u"Pair Product"_t, u"C:\\App\\app32.exe"_t);
    launch.host.picked = PickedRuntime{u"C:\\p\\"_t, u"C:\\p\\bin\\client\\jvm.dll"_t};
    EXPECT_EQ(launch.run(), 0u);
    const Text userFile = u"C:\\Roaming\\\\\\app32.ini"_t;  // no product name or code
    EXPECT_EQ(launch.host.store.openFile(userFile)->getString(kRuntime, u"JRE Path"_t), u"C:\\p\\"_t);
}

TEST(LaunchPlan, TheRuntimeNotFoundStepLearnsWhereTheSearchLooked) {
    Launch launch;
    launch.put(kRuntime, u"JRE Path"_t, u"C:\\missing"_t);
    EXPECT_EQ(launch.run(), kFailure);
    const RuntimeChoiceRecord& searched = launch.host.searchedBeforeAsking;
    ASSERT_GE(searched.sources.size(), 3u);
    EXPECT_EQ(searched.sources[0].source, RuntimeSource::JrePath);
    EXPECT_EQ(searched.sources[0].folder, u"C:\\missing\\"_t);
    EXPECT_EQ(searched.sources[1].source, RuntimeSource::PrivateRuntime);
    EXPECT_EQ(searched.sources[2].source, RuntimeSource::Registry);
    EXPECT_EQ(searched.passes.size(), 1u);
}

TEST(LaunchPlan, TheExplainingHostTakesTheLaunchersPath) {
    // One set-up of the machine, made once for each host.
    struct MachineSetUp {
        const char* what;
        std::function<void(Launch&)> machine;
        LibraryTable libraries;
    };
    // Both hosts' texts show what fills them, so that messages compare whole.
    const auto endingOf = [](const MachineSetUp& setUp, bool explained) {
        Launch launch;
        launch.host.messages = IdTexts(true);
        setUp.machine(launch);
        return explained ? explainWith(launch.host, setUp.libraries) : launchWith(launch.host, setUp.libraries);
    };
    const LibraryFacts x86{0, false, kMachineI386, true};
    const LibraryFacts noEntryPoints{0, false, kMachineAmd64, false};
    const LibraryFacts unreadable{5, false, std::nullopt, false};
    const auto inRegistry = [](Launch& l, RegistryView view) {
        l.put(kRuntime, u"JRE Path"_t, Text());
        l.host.registry.put(view, u"Software\\JavaSoft\\Java Runtime Environment\\1.8"_t, u"JavaHome"_t, u"C:\\rt"_t);
    };
    const MachineSetUp setUps[] = {
        {"goes ahead", [](Launch& l) { l.host.arguments = {u"a"_t}; l.put(kApplication, u"Cmd"_t, u"%Path%"_t); }, {}},
        {"no main class", [](Launch& l) { l.put(kRuntime, u"Main Class"_t, Text()); }, {}},
        {"no runtime", [](Launch& l) { l.put(kRuntime, u"JRE Path"_t, u"C:\\none"_t); }, {}},
        {"no class path", [](Launch& l) { l.put(u"Class Path"_t, u"Class Path"_t, u"\\lib\\*.jar"_t); }, {}},
        {"an entry the code page cannot hold",
         [](Launch& l) { l.put(u"Class Path"_t, u"Class Path"_t, u"C:\\\u0416.jar"_t); }, {}},
        {"an x86 library in the registry's native view, no paired launcher",
         [&](Launch& l) { inRegistry(l, RegistryView::Native); }, {{kJvm.units(), x86}}},
        {"an x86 library in the registry's native view, a paired launcher",
         [&](Launch& l) {
             inRegistry(l, RegistryView::Native);
             l.put(kApplication, u"Pair Product"_t, u"app32.exe"_t);
         },
         {{kJvm.units(), x86}}},
        {"a runtime in the registry's 32-bit view",
         [&](Launch& l) {
             inRegistry(l, RegistryView::Bits32);
             l.put(kApplication, u"Pair Product"_t, u"app32.exe"_t);
         },
         {{kJvm.units(), x86}}},
        {"an x86 \"JRE Path\" with a paired launcher",
         [](Launch& l) { l.put(kApplication, u"Pair Product"_t, u"app32.exe"_t); }, {{kJvm.units(), x86}}},
        {"a library without the entry points", [](Launch&) {}, {{kJvm.units(), noEntryPoints}}},
        {"a library that cannot be read", [](Launch&) {}, {{kJvm.units(), unreadable}}},
        {"a main jar that is missing", [](Launch& l) { l.put(kRuntime, u"Main Jar"_t, u"\\gone.jar"_t); }, {}},
        {"a main module on a runtime before Java 9",
         [](Launch& l) { l.put(kRuntime, u"Main Module"_t, u"hello"_t); }, {}},
    };
    for (const MachineSetUp& setUp : setUps) {
        EXPECT_EQ(endingOf(setUp, true), endingOf(setUp, false)) << setUp.what;
    }
}
