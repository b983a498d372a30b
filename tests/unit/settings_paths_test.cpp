#include <gtest/gtest.h>

#include "launcher/settings_paths.h"
#include "test_support.h"

TEST(SettingsFilePath, ReplacesEverythingAfterTheLastDotOfThePath) {
    const std::pair<const char16_t*, std::optional<Text>> cases[] = {
        {u"C:\\Apps\\tool.exe", u"C:\\Apps\\tool.ini"_t},
        {u"C:\\Apps\\tool.v2.exe", u"C:\\Apps\\tool.v2.ini"_t},
        {u"C:\\my.app\\launcher", u"C:\\my.ini"_t},
        {u"tool.", u"tool.ini"_t},
        {u"C:\\Apps\\launcher", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& [exe, expected] : cases) {
        EXPECT_EQ(settingsFilePath(Text(exe)), expected) << Text(exe).toUtf8();
    }
}

TEST(UserSettingsPath, BuildsAppDataProductNameCodeAndExeName) {
    const ProductIdentity product{u"My\\?\"|><:/*App Ré-1.0"_t, u"{AB:CD}"_t};
    const Text appData = u"C:\\Users\\u\\AppData\\Roaming"_t;
    EXPECT_EQ(userSettingsPath(u"C:\\Apps\\my.tool.exe"_t, appData, product),
              u"C:\\Users\\u\\AppData\\Roaming\\MyApp Ré-1.0\\{AB:CD}\\my.tool.ini"_t);
    // Only the file name is cut at its dot, never the folder.
    EXPECT_EQ(userSettingsPath(u"C:\\my.app\\launcher"_t, appData, product),
              u"C:\\Users\\u\\AppData\\Roaming\\MyApp Ré-1.0\\{AB:CD}\\launcher.ini"_t);
    EXPECT_EQ(userSettingsPath(u"tool.exe"_t, Text(), {Text(), Text()}), u"\\\\\\tool.ini"_t);
    EXPECT_EQ(userSettingsPath(u"C:\\a\\tool.exe"_t, Text(), product), u"\\MyApp Ré-1.0\\{AB:CD}\\tool.ini"_t);
}

TEST(UserSettingsPath, CreatesTheProductNameFolderThenTheProductCodeFolder) {
    std::vector<Text> folders;
    const Text path = userSettingsPath(u"C:\\a\\tool.exe"_t, u"D:\\Data"_t, {u"Acme: Tool"_t, u"7"_t},
                                       [&](const Text& folder) { folders.push_back(folder); });
    EXPECT_EQ(path, u"D:\\Data\\Acme Tool\\7\\tool.ini"_t);
    EXPECT_EQ(folders, (std::vector<Text>{u"D:\\Data\\Acme Tool"_t, u"D:\\Data\\Acme Tool\\7"_t}));
}
