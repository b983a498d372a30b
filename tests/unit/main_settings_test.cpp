#include <gtest/gtest.h>

#include "launcher/main_settings.h"
#include "test_support.h"

namespace {

const Text kProduct = u"Product Information"_t;
const Text kApplication = u"Application"_t;
const Text kRuntime = u"Java Runtime Environment"_t;
const Text kJrePath = u"JRE Path"_t;

class MainSettings : public ::testing::Test {
protected:
    const Text module = u"C:\\Apps\\tool.exe"_t;
    const Text ini = u"C:\\Apps\\tool.ini"_t;
    const Text userFolder = u"C:\\Roaming\\My App"_t;
    const Text userIni = u"C:\\Roaming\\My App\\{P-1}\\tool.ini"_t;
    FakeSettingsStore store;
    FakeFiles files;
    FakeEnvironment environment;
    bool isNt = true;
    LaunchSettings settings;

    void SetUp() override {
        environment.variables[u"APPDATA"] = u"C:\\Roaming"_t;
        put(kProduct, u"Product Name"_t, u"My: App"_t);
        put(kProduct, u"Product Code"_t, u"{P-1}"_t);
        put(kProduct, u"Upgrade Code"_t, u"{U-1}"_t);
        put(kRuntime, u"Main Class"_t, u"com.example.Main"_t);
        store.upgradeCodeForEmbedded = u"{U-1}"_t;
    }
    void put(const Text& section, const Text& key, const Text& value) { store.put(ini, section, key, value); }
    SettingsContext context() { return {store, files, environment, isNt}; }
    MainSettingsOutcome read() {
        const LayeredSettings layered = openLaunchSettings(store, ini, settings);
        return readMainSettings(layered, module, context(), settings);
    }
    Text stored(const Text& path) { return store.openFile(path)->getString(kRuntime, kJrePath); }
};

} // namespace

TEST_F(MainSettings, DecodesEveryKeyItReads) {
    put(kRuntime, u"Minimum Version"_t, u"1.6"_t);
    put(kRuntime, u"Maximum Version"_t, u"1.8"_t);
    put(kApplication, u"Application Type"_t, u"service"_t);
    put(kRuntime, u"Preferred versions"_t, u"1.7;1.6"_t);
    put(kRuntime, kJrePath, u"%JAVA_HOME%\\"_t);
    put(kRuntime, u"JVM Type"_t, u"favor_server"_t);
    put(kRuntime, u"JVM Source"_t, u"only_JRE"_t);
    put(kRuntime, u"VM Provider"_t, u"IBM"_t);
    put(kRuntime, u"Registry Keys"_t, u"classic"_t);
    put(kApplication, u"Failure Check"_t, u"YES"_t);
    put(kApplication, u"Override WorkingDir"_t, u"yes"_t);
    put(kApplication, u"Pair Product"_t, u"tool32.exe"_t);
    put(kApplication, u"Pair Return Code"_t, u"Yes"_t);
    environment.variables[u"JAVA_HOME"] = u"C:\\jdk"_t;

    ASSERT_EQ(read(), MainSettingsOutcome::Read);
    EXPECT_EQ(settings.productName, u"My: App"_t);
    EXPECT_EQ(settings.productCode, u"{P-1}"_t);
    EXPECT_EQ(settings.upgradeCode, u"{U-1}"_t);
    const RuntimeConstraints& runtime = settings.runtime;
    EXPECT_EQ(runtime.minimumVersion.components, (std::array<std::int32_t, 4>{1, 6, 0, 0}));
    EXPECT_EQ(runtime.maximumVersion.components, (std::array<std::int32_t, 4>{1, 8, 65535, 65535}));
    EXPECT_TRUE(settings.isService);
    EXPECT_EQ(runtime.preferredVersions, (TextList{u"1.7"_t, u"1.6"_t}));
    EXPECT_EQ(settings.jrePath, u"%JAVA_HOME%\\"_t);  // used as written
    EXPECT_EQ(runtime.jvmType, JvmType::FavorServer);
    EXPECT_FALSE(runtime.includeJdk);
    EXPECT_TRUE(runtime.includeJre);
    EXPECT_FALSE(runtime.favourKind);
    EXPECT_FALSE(runtime.allowSun);
    EXPECT_TRUE(runtime.allowIbm && runtime.favourIbm);
    EXPECT_TRUE(runtime.classicKeysOnly);
    EXPECT_EQ(settings.mainClass, u"com/example/Main"_t);
    EXPECT_TRUE(settings.failureCheck);
    EXPECT_TRUE(settings.overrideWorkingDir);
    EXPECT_EQ(settings.pairProduct, u"tool32.exe"_t);
    EXPECT_TRUE(settings.pairReturnCode);
}

TEST_F(MainSettings, EachSwitchSetsItsOwnFlag) {
    const std::tuple<Text, Text, bool LaunchSettings::*> switches[] = {
        {kApplication, u"Failure Check"_t, &LaunchSettings::failureCheck},
        {kApplication, u"Override WorkingDir"_t, &LaunchSettings::overrideWorkingDir},
        {kApplication, u"Pair Return Code"_t, &LaunchSettings::pairReturnCode},
    };
    for (const auto& [section, key, flag] : switches) {
        store.files.erase(ini.units());
        SetUp();
        put(section, key, u"yes"_t);
        settings = {};
        ASSERT_EQ(read(), MainSettingsOutcome::Read);
        for (const auto& [otherSection, otherKey, other] : switches) {
            EXPECT_EQ(settings.*other, other == flag) << key.toUtf8() << " set, checking " << otherKey.toUtf8();
        }
    }
}

TEST_F(MainSettings, AbsentKeysGiveTheDefaults) {
    ASSERT_EQ(read(), MainSettingsOutcome::Read);
    const RuntimeConstraints& runtime = settings.runtime;
    EXPECT_TRUE(runtime.minimumVersion.isUnbounded() && runtime.maximumVersion.isUnbounded());
    EXPECT_TRUE(runtime.preferredVersions.empty());
    EXPECT_EQ(runtime.jvmType, JvmType::Default);
    EXPECT_TRUE(runtime.includeJdk && runtime.includeJre && runtime.favourKind);
    EXPECT_TRUE(runtime.allowSun && runtime.favourSun);
    EXPECT_FALSE(runtime.allowJRockit || runtime.favourJRockit || runtime.allowIbm || runtime.favourIbm);
    EXPECT_FALSE(runtime.classicKeysOnly);
    EXPECT_FALSE(settings.isService || settings.failureCheck || settings.overrideWorkingDir || settings.pairReturnCode);
    EXPECT_TRUE(settings.jrePath.empty());
    EXPECT_TRUE(store.createdFolders.empty());
}

TEST_F(MainSettings, NoMainClass) {
    put(kRuntime, u"Main Class"_t, Text());
    EXPECT_EQ(read(), MainSettingsOutcome::NoMainClass);
}

TEST_F(MainSettings, ProductKeysComeFromTheFileAndSelectTheEmbeddedText) {
    store.files.clear();
    put(kProduct, u"Upgrade Code"_t, u"{U-1}"_t);
    store.put(ini, u"Product Information+"_t, u"Product Code"_t, u"plus"_t);
    store.embedded = u"[Product Information]\r\nProduct Name=Embedded\r\nProduct Code=E\r\n"
                     u"[Java Runtime Environment]\r\nMain Class=emb.Main\r\nJVM Type=server"_t;
    ASSERT_EQ(read(), MainSettingsOutcome::Read);
    EXPECT_TRUE(settings.productName.empty());
    EXPECT_TRUE(settings.productCode.empty());
    EXPECT_EQ(settings.mainClass, u"emb/Main"_t);
    EXPECT_EQ(settings.runtime.jvmType, JvmType::Server);

    // Another upgrade code: the embedded text is not deciphered, so no main class.
    put(kProduct, u"Upgrade Code"_t, u"{U-2}"_t);
    settings = {};
    EXPECT_EQ(read(), MainSettingsOutcome::NoMainClass);
}

TEST_F(MainSettings, PerUserJrePathWinsOnNtUnlessService) {
    struct Case {
        bool nt, service, userFileExists;
        const char16_t* userValue;
        const char16_t* fileValue;
        const char16_t* expected;
    };
    const Case cases[] = {
        {true, false, true, u"C:\\UserJre\\", u"C:\\FileJre\\", u"C:\\UserJre\\"},
        {true, false, true, u"", u"C:\\FileJre\\", u""},  // an existing per-user file wins even when empty
        {true, false, false, u"C:\\UserJre\\", u"", u"C:\\EmbeddedJre\\ plus"},
        {true, true, true, u"C:\\UserJre\\", u"C:\\FileJre\\", u"C:\\FileJre\\"},
        {false, false, true, u"C:\\UserJre\\", u"", u"C:\\EmbeddedJre\\ plus"},
    };
    for (const auto& c : cases) {
        SetUp();
        files = {};
        settings = {};
        isNt = c.nt;
        put(kApplication, u"Application Type"_t, c.service ? u"service"_t : Text());
        store.embedded = u"[Java Runtime Environment]\r\nJRE Path=C:\\EmbeddedJre\\"_t;
        put(kRuntime, kJrePath, Text(c.fileValue));
        store.put(ini, u"Java Runtime Environment+"_t, kJrePath, u"plus"_t);
        store.put(userIni, kRuntime, kJrePath, Text(c.userValue));
        if (c.userFileExists) files.add(userIni);

        ASSERT_EQ(read(), MainSettingsOutcome::Read);
        EXPECT_EQ(settings.jrePath, Text(c.expected)) << c.nt << c.service << c.userFileExists;
    }
    EXPECT_TRUE(store.createdFolders.empty());
}

TEST_F(MainSettings, WriteBackNeedsAPairProductWithADot) {
    ASSERT_EQ(read(), MainSettingsOutcome::Read);
    const auto before = store.files;
    for (const auto pair : {u"", u"tool32"}) {
        settings.pairProduct = Text(pair);
        writeBackJrePath(u"C:\\Chosen\\"_t, module, settings, context());
    }
    EXPECT_EQ(store.files, before);
    EXPECT_TRUE(store.createdFolders.empty());
}

TEST_F(MainSettings, WriteBackOnNtGoesToBothPerUserFiles) {
    ASSERT_EQ(read(), MainSettingsOutcome::Read);
    settings.pairProduct = u"C:\\Apps\\x86\\tool32.exe"_t;
    writeBackJrePath(u"C:\\Chosen\\"_t, module, settings, context());
    EXPECT_EQ(stored(userIni), u"C:\\Chosen\\"_t);
    // Named after the paired launcher but filed under this product's name and code.
    EXPECT_EQ(stored(u"C:\\Roaming\\My App\\{P-1}\\tool32.ini"_t), u"C:\\Chosen\\"_t);
    EXPECT_EQ(store.files.count(u"C:\\Apps\\x86\\tool32.ini"), 0u);
    const Text codeFolder = userFolder + u"\\{P-1}";
    EXPECT_EQ(store.createdFolders, (std::vector<Text>{userFolder, codeFolder, userFolder, codeFolder}));
}

TEST_F(MainSettings, WriteBackForServicesOrOldPlatformsGoesToThePairSettingsFile) {
    for (const bool service : {true, false}) {
        store.files.clear();
        isNt = service;
        settings.isService = service;
        settings.pairProduct = u"C:\\x86.d\\tool32"_t;
        writeBackJrePath(u"C:\\Chosen\\"_t, module, settings, context());
        EXPECT_EQ(stored(u"C:\\x86.ini"_t), u"C:\\Chosen\\"_t);
        EXPECT_EQ(store.files.size(), 1u);
    }
    EXPECT_TRUE(store.createdFolders.empty());
}
