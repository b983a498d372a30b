#include <gtest/gtest.h>

#include "common/splitting.h"
#include "launcher/service_settings.h"
#include "test_support.h"

TEST(ServiceSettings, StopMethodIsAClassAndAStaticMethodName) {
    struct Row {
        const char* value;
        const char* className;  // slash form; null: not usable
        const char* methodName;
    };
    const Row rows[] = {
        {"com.example.App.stop", "com/example/App", "stop"},
        {" App.halt ", "App", "halt"},
        {"a.b$Inner._stop2", "a/b$Inner", "_stop2"},
        {"\xc3\xa9t\xc3\xa9.Dienst.halt", "\xc3\xa9t\xc3\xa9/Dienst", "halt"},
        {"stop", nullptr, nullptr},
        {".stop", nullptr, nullptr},
        {"App.", nullptr, nullptr},
        {"com..App.stop", nullptr, nullptr},
        {"App.stop()", nullptr, nullptr},
        {"App.2stop", nullptr, nullptr},
        {"com/example/App.stop", nullptr, nullptr},
        {"App.st op", nullptr, nullptr},
        {"App.<init>", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        const ServiceStopSettings stop = decodeServiceStop(Text::fromUtf8(row.value), Text());
        if (!row.className) {
            EXPECT_FALSE(stop.method) << row.value;
            EXPECT_EQ(stop.unusableMethod.toUtf8(), trimmedWideSpace(Text::fromUtf8(row.value)).toUtf8());
            continue;
        }
        ASSERT_TRUE(stop.method) << row.value;
        EXPECT_TRUE(stop.unusableMethod.empty()) << row.value;
        EXPECT_EQ(stop.method->className.toUtf8(), row.className);
        EXPECT_EQ(stop.method->methodName.toUtf8(), row.methodName);
    }
    // Not set: a stop ends the application as System.exit(0) would, and nothing is reported.
    const ServiceStopSettings unset = decodeServiceStop(Text(u"  "), Text());
    EXPECT_FALSE(unset.method);
    EXPECT_TRUE(unset.unusableMethod.empty());
}

TEST(ServiceSettings, StopTimeoutIsWholeSecondsUpToAnHourElseTwenty) {
    struct Row {
        const char* value;
        std::uint32_t seconds;
        bool usable;
    };
    const Row rows[] = {
        {"", 20, true},      {"1", 1, true},      {" 45 ", 45, true}, {"3600", 3600, true},
        {"0", 20, false},    {"-5", 20, false},   {"ten", 20, false}, {"3601", 20, false},
        {"99999999999999999999", 20, false},      {"1.5", 20, false}, {"+5", 20, false},
    };
    for (const Row& row : rows) {
        const ServiceStopSettings stop = decodeServiceStop(Text(), Text::fromUtf8(row.value));
        EXPECT_EQ(stop.timeoutSeconds, row.seconds) << row.value;
        EXPECT_EQ(stop.unusableTimeout.empty(), row.usable) << row.value;
    }
}

TEST(ServiceSettings, AServiceIsKnownThroughTheLayersBeforeTheLaunch) {
    const Text module = u"C:\\Svc\\daemon.exe"_t;
    const Text ini = u"C:\\Svc\\daemon.ini"_t;
    const Text application = u"Application"_t;
    FakeSettingsStore store;
    store.put(ini, application, u"Error File"_t, u"%TEMP%\\daemon.err"_t);
    EXPECT_FALSE(readServiceConfiguration(store, module)) << "no Application Type";

    store.put(ini, application, u"Application Type"_t, u"Service"_t);
    EXPECT_FALSE(readServiceConfiguration(store, module)) << "compared exactly";

    // The type may come from the embedded text, under the file's values.
    store.files[ini.units()][application.units()].erase(u"Application Type");
    store.put(ini, u"Product Information"_t, u"Upgrade Code"_t, u"{U}"_t);
    store.upgradeCodeForEmbedded = u"{U}"_t;
    store.embedded = u"[Application]\r\nApplication Type=service\r\n"_t;
    const auto configuration = readServiceConfiguration(store, module);
    ASSERT_TRUE(configuration);
    EXPECT_EQ(configuration->errorFile, u"%TEMP%\\daemon.err"_t) << "expanded only when written to";

    EXPECT_FALSE(readServiceConfiguration(store, u"C:\\Svc\\daemon"_t)) << "no settings file without a '.'";
}

TEST(ServiceSettings, ANonZeroExitCodeIsAServiceSpecificError) {
    EXPECT_EQ(serviceExitCodesFor(0).win32, 0u);
    EXPECT_EQ(serviceExitCodesFor(0).serviceSpecific, 0u);
    for (const std::uint32_t code : {1u, 3u, 0xFFFFFFFFu}) {
        EXPECT_EQ(serviceExitCodesFor(code).win32, kServiceSpecificError);
        EXPECT_EQ(serviceExitCodesFor(code).serviceSpecific, code);
    }
}
