#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/jvm_location.h"
#include "test_support.h"

namespace {

const Text kHome = u"C:\\Program Files\\Java\\jre7\\"_t;

FakeFiles homeWith(const std::vector<const char16_t*>& relativePaths) {
    FakeFiles files;
    files.add(kHome + u"bin\\java.dll");
    for (const auto* path : relativePaths) files.add(kHome + path);
    return files;
}

std::string typeName(JvmType type) {
    switch (type) {
    case JvmType::Default: return "Default";
    case JvmType::Server: return "Server";
    case JvmType::FavorServer: return "FavorServer";
    }
    return "?";
}

} // namespace

TEST(LocateJvmLibrary, ChoosesByJvmType) {
    constexpr auto client = u"bin\\client\\jvm.dll";
    constexpr auto server = u"bin\\server\\jvm.dll";
    constexpr auto classic = u"bin\\classic\\jvm.dll";
    constexpr auto hotspot = u"bin\\hotspot\\jvm.dll";
    constexpr auto jrockit = u"bin\\jrockit\\jvm.dll";
    struct Case {
        std::vector<const char16_t*> layout;
        JvmType type;
        const char16_t* expected;  // relative to the home; empty: none
        bool isServer;
    };
    const Case cases[] = {
        {{client, server}, JvmType::Default, client, false},
        {{client, server}, JvmType::FavorServer, server, true},
        {{client, server}, JvmType::Server, server, true},
        {{server}, JvmType::Default, server, true},
        {{server}, JvmType::FavorServer, server, true},
        {{server}, JvmType::Server, server, true},
        {{jrockit}, JvmType::Default, jrockit, false},
        {{jrockit}, JvmType::FavorServer, jrockit, false},
        {{jrockit}, JvmType::Server, u"", false},
        {{}, JvmType::Default, u"", false},
        {{}, JvmType::FavorServer, u"", false},
        {{}, JvmType::Server, u"", false},
        {{jrockit, hotspot, classic}, JvmType::Default, classic, false},
        {{jrockit, server, hotspot}, JvmType::Default, hotspot, false},
        {{jrockit, server}, JvmType::Default, server, true},
        {{jrockit, classic}, JvmType::Server, u"", false},
    };
    for (const auto& c : cases) {
        const JvmLibrary library = locateJvmLibrary(kHome, c.type, homeWith(c.layout));
        const Text expected = *c.expected ? kHome + c.expected : Text();
        SCOPED_TRACE(typeName(c.type) + " expecting " + expected.toUtf8());
        EXPECT_EQ(library.path, expected);
        EXPECT_EQ(library.isServer, c.isServer);
    }
}

TEST(IsRuntimeFolder, LooksForBinJavaDllOnly) {
    EXPECT_TRUE(isRuntimeFolder(kHome, homeWith({})));
    FakeFiles jvmOnly;
    jvmOnly.add(kHome + u"bin\\client\\jvm.dll");
    EXPECT_FALSE(isRuntimeFolder(kHome, jvmOnly));
    EXPECT_TRUE(locateJvmLibrary(kHome, JvmType::Default, homeWith({})).path.empty());
}
