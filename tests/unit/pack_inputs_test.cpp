#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "pack/icon_file.h"
#include "pack/manifest_level.h"
#include "pack/pack_request.h"
#include "pack/service_line.h"
#include "pack/version_record.h"
#include "test_support.h"

namespace {

// An .ico file whose entries name the given (offset, size) of its own bytes;
// a size below that of its directory cuts the directory short.
Bytes iconFile(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries, std::size_t size) {
    Bytes file(std::max(size, 6 + 16 * entries.size()), 0);
    put16(file, 2, 1);
    put16(file, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        file[6 + 16 * i] = 16;
        put32(file, 6 + 16 * i + 8, entries[i].second);
        put32(file, 6 + 16 * i + 12, entries[i].first);
    }
    file.resize(size);
    return file;
}

Outcome<PackRequest> request(const std::vector<std::u16string>& arguments) {
    TextList texts;
    for (const auto& argument : arguments) texts.emplace_back(argument);
    return parsePackCommandLine(texts);
}

} // namespace

TEST(IconFile, ReadsImagesAndRefusesDamagedFiles) {
    Bytes good = iconFile({{38, 40}, {78, 8}}, 86);
    put32(good, 38, 40);
    put16(good, 38 + 14, 24); // the entry leaves the bit count to the bitmap header
    const Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::copy(png.begin(), png.end(), good.begin() + 78);
    const auto images = readIconFile(good);
    ASSERT_TRUE(images) << images.error();
    ASSERT_EQ(images->size(), 2u);
    EXPECT_EQ((*images)[0].bitCount, 24);
    EXPECT_EQ((*images)[1].bitCount, 32);
    EXPECT_EQ((*images)[1].data, png);
    EXPECT_EQ(iconGroupIds(iconGroup(*images, {4, 9})), (std::vector<std::uint16_t>{4, 9}));

    Bytes cursor = good;
    cursor[2] = 2;
    Bytes shortHeader = iconFile({{22, 4}}, 26);
    put32(shortHeader, 22, 40); // says "bitmap header" but has no room for one
    const std::pair<Bytes, std::string> damaged[] = {
        {Bytes{0, 0, 1}, "not an icon file"},
        {cursor, "not an icon file"},
        {iconFile({}, 6), "1 to 256 images"},
        {iconFile({{22, 100}}, 60), "past the end"},
        {iconFile({{0xFFFFFFF0, 0x20}}, 60), "past the end"},
        {iconFile({{0, 0}}, 20), "cut short"},
        {shortHeader, "neither a bitmap nor a PNG"},
    };
    for (const auto& [file, reason] : damaged) {
        const auto result = readIconFile(file);
        ASSERT_FALSE(result);
        EXPECT_NE(result.error().find(reason), std::string::npos) << result.error();
    }
}

TEST(VersionNumber, ParsesOneToFourParts) {
    EXPECT_EQ(parseVersionNumber(u"1.2.3.4"), (VersionNumber{1, 2, 3, 4}));
    EXPECT_EQ(parseVersionNumber(u"65535.0"), (VersionNumber{65535, 0, 0, 0}));
    EXPECT_EQ(parseVersionNumber(u"7"), (VersionNumber{7, 0, 0, 0}));
    for (const auto bad : {u"", u"1.", u".1", u"1..2", u"1.2.3.4.5", u"65536", u"1.2-beta", u" 1", u"99999999999"}) {
        EXPECT_FALSE(parseVersionNumber(bad)) << Text(bad).toUtf8();
    }
}

TEST(ManifestLevel, SetsTheLevelWhereverTheManifestPutsIt) {
    const std::pair<std::string, std::string> cases[] = {
        {R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
         R"(<requestedExecutionLevel level="highestAvailable" uiAccess="false"/>)"},
        {"<v3:requestedExecutionLevel uiAccess='false'\n  level = 'asInvoker'></v3:requestedExecutionLevel>",
         "<v3:requestedExecutionLevel uiAccess='false'\n  level = 'highestAvailable'></v3:requestedExecutionLevel>"},
        {R"(<requestedExecutionLevel uiAccess="false"/>)",
         R"(<requestedExecutionLevel level="highestAvailable" uiAccess="false"/>)"},
        {R"(<!-- requestedExecutionLevelX --><requestedExecutionLevel toplevel="x" level="asInvoker"/>)",
         R"(<!-- requestedExecutionLevelX --><requestedExecutionLevel toplevel="x" level="highestAvailable"/>)"},
    };
    for (const auto& [before, after] : cases) EXPECT_EQ(withExecutionLevel(before, "highestAvailable"), after);
    EXPECT_FALSE(withExecutionLevel("<assembly><requestedPrivileges/></assembly>", "asInvoker"));
    EXPECT_FALSE(isExecutionLevel("requireadministrator"));
}

TEST(PackRequest, CommandLineOverridesTheToolsSettingsFile) {
    auto parsed = request({u"jlaunch.exe", u"out/My App.exe", u"--icon", u"/abs/cli.ico", u"--product-version", u"3.1"});
    ASSERT_TRUE(parsed) << parsed.error();
    const Text file = u"\uFEFF[pack]\r\nIcon=file.ico\r\nsettings = embedded.ini\r\n"
                      u"[Version]\r\nFile Version=3.0.0.7\r\nProduct Name=Straße\r\nLegal Copyright=\r\n"_t;
    const auto merged = withSettingsFile(std::move(*parsed), file, folderWithSeparatorOf(u"conf/pack.ini"_t));
    ASSERT_TRUE(merged) << merged.error();
    EXPECT_EQ(*merged->value("icon"), u"/abs/cli.ico"_t);
    EXPECT_EQ(*merged->value("settings"), u"conf/embedded.ini"_t);
    EXPECT_EQ(merged->value("legal-copyright"), nullptr); // an empty value names nothing

    const auto record = versionRecordOf(*merged);
    ASSERT_TRUE(record && *record) << record.error();
    EXPECT_EQ((*record)->fileVersion, (VersionNumber{3, 0, 0, 7}));
    EXPECT_EQ((*record)->productVersion, (VersionNumber{3, 1, 0, 0}));
    using Strings = std::vector<std::pair<std::u16string, std::u16string>>;
    EXPECT_EQ((*record)->strings, (Strings{{u"FileDescription", u"Straße"}, {u"FileVersion", u"3.0.0.7"},
                                           {u"InternalName", u"My App"}, {u"OriginalFilename", u"My App.exe"},
                                           {u"ProductName", u"Straße"}, {u"ProductVersion", u"3.1"}}));
}

TEST(PackRequest, MistakesAreNamed) {
    const std::pair<std::vector<std::u16string>, std::string> commandLines[] = {
        {{u"a.exe"}, "name the launcher and the output"},
        {{u"a.exe", u"b.exe", u"c.exe"}, "name the launcher and the output"},
        {{u"a.exe", u"b.exe", u"--icn", u"x"}, "unknown option --icn"},
        {{u"a.exe", u"b.exe", u"--icon"}, "--icon needs a value"},
    };
    for (const auto& [arguments, reason] : commandLines) {
        const auto parsed = request(arguments);
        ASSERT_FALSE(parsed);
        EXPECT_NE(parsed.error().find(reason), std::string::npos) << parsed.error();
    }
    const auto base = *request({u"a.exe", u"b.exe"});
    const auto typo = withSettingsFile(base, u"[Version]\r\nCompany=x\r\n"_t, Text());
    ASSERT_FALSE(typo);
    EXPECT_NE(typo.error().find("unknown setting \"Company\" in section [Version]"), std::string::npos);
    const std::pair<std::vector<std::u16string>, std::string> versions[] = {
        {{u"a.exe", u"b.exe", u"--company-name", u"x"}, "needs a file version"},
        {{u"a.exe", u"b.exe", u"--file-version", u"1.2", u"--product-version", u"2.0 beta"}, "product-version \"2.0 beta\""},
    };
    for (const auto& [arguments, reason] : versions) {
        const auto record = versionRecordOf(*request(arguments));
        ASSERT_FALSE(record);
        EXPECT_NE(record.error().find(reason), std::string::npos) << record.error();
    }
    EXPECT_FALSE(*versionRecordOf(base)); // no version field: the launcher's record is kept
}

TEST(ServiceLine, ScCreateLineQuotesAPathWithBlanksAgainInside) {
    struct Row {
        std::u16string exe, name;
        const char* line;  // null: refused
    };
    const Row rows[] = {
        {u"C:\\Apps\\Daemon.exe", u"Daemon", R"(sc.exe create "Daemon" binPath= "C:\Apps\Daemon.exe" start= auto)"},
        {u"C:\\Program Files\\Acme\\Acme Daemon.exe", u"Acme Daemon",
         R"(sc.exe create "Acme Daemon" binPath= "\"C:\Program Files\Acme\Acme Daemon.exe\"" start= auto)"},
        {u"\\\\server\\share\\d.exe", u"d", R"(sc.exe create "d" binPath= "\\server\share\d.exe" start= auto)"},
        {u"Daemon.exe", u"Daemon", nullptr},
        {u"C:Daemon.exe", u"Daemon", nullptr},
        {u"C:\\a\"b.exe", u"Daemon", nullptr},
        {u"C:\\Apps\\Daemon.exe", u"", nullptr},
        {u"C:\\Apps\\Daemon.exe", u"a/b", nullptr},
        {u"C:\\Apps\\Daemon.exe", u"a\"b", nullptr},
    };
    for (const Row& row : rows) {
        const auto line = serviceCreateLine(Text(row.exe), Text(row.name));
        if (!row.line) {
            EXPECT_FALSE(line) << Text(row.exe).toUtf8() << " " << Text(row.name).toUtf8();
            continue;
        }
        ASSERT_TRUE(line) << line.error();
        EXPECT_EQ(line->toUtf8(), row.line);
    }
}
