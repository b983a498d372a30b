// What the console launcher writes: its one-line messages and the account of
// a runtime search that found nothing.
#include <gtest/gtest.h>

#include "common/error_line.h"
#include "runtime/runtime_search_report.h"
#include "scripted_host.h"

namespace {

// "#<id>", and the version where a text names one.
class IdsWithVersion final : public Messages {
public:
    Text text(TextId id) const override {
        return Text::fromUtf8("#" + std::to_string(id) + (id == IDS_SEARCH_VERSION_OUTSIDE ? " %s" : ""));
    }
    void showError(const Text&) override {}
};

} // namespace

TEST(ErrorLine, ProgramNameAndMessageOnOneLine) {
    struct Row {
        const char16_t* message;
        const char16_t* line;
    };
    const Row rows[] = {
        {u"Main class was not specified in INI file.", u"app: Main class was not specified in INI file."},
        {u"Windows exception: x (errno = 5).\n", u"app: Windows exception: x (errno = 5)."},
        {u"JNI exception: failed\nReason: unknown.\n", u"app: JNI exception: failed Reason: unknown."},
        {u"from C:\\a.jar:\r\n  java.lang.Error: x \r\n\r\n\tat Y\r\n",
         u"app: from C:\\a.jar: java.lang.Error: x at Y"},
        {u"\n  two  spaces stay\r", u"app: two  spaces stay"},
        {u"", u"app: "},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(errorLine(u"app"_t, Text(row.message)), Text(row.line)) << Text(row.message).toUtf8();
    }
    EXPECT_EQ(errorLine(Text(), u"a\nb"_t), u"a b"_t);
}

TEST(ErrorLine, ProgramNameIsTheFileNameWithoutItsExtension) {
    EXPECT_EQ(programNameOf(u"C:\\Tools\\MyTool.exe"_t), u"MyTool"_t);
    EXPECT_EQ(programNameOf(u"C:\\a.b\\tool"_t), u"tool"_t);
    EXPECT_EQ(programNameOf(u"C:\\x\\archive.tar.exe"_t), u"archive.tar"_t);
    EXPECT_EQ(programNameOf(u"C:\\x\\.hidden"_t), u".hidden"_t);
}

TEST(RuntimeSearchReport, OneLinePerPlaceWithItsReason) {
    JavaVersion v17, v16, v18;
    v17.parse(u"17.0.2"_t, 0);
    v16.parse(u"1.6"_t, 0);
    v18.parse(u"1.8.0"_t, 0);
    const Text jdk = u"Software\\JavaSoft\\JDK"_t;
    RuntimeChoiceRecord record;
    record.sources = {
        {RuntimeSource::JrePath, SourceOutcome::NotConfigured, {}, {}, {}},
        {RuntimeSource::PrivateRuntime, SourceOutcome::NoRuntimeFolder, {}, {}, {}},
        {RuntimeSource::Registry, SourceOutcome::NoCandidate, {}, {}, {}},
        {RuntimeSource::Registry32, SourceOutcome::NoCandidate, {}, {}, {}},
        {RuntimeSource::JavaHome, SourceOutcome::RelativePath, u"jdk"_t, {}, {}},
        {RuntimeSource::PathJava, SourceOutcome::OutsideLimits, u"C:\\j8\\"_t, {}, v18},
    };
    RegistryPassRecord native;
    native.keys = {{jdk, RegistryKeyOutcome::Searched},
                   {u"Software\\JavaSoft\\JRE"_t, RegistryKeyOutcome::NotOpened},
                   {u"Software\\Azul Systems\\Zulu"_t, RegistryKeyOutcome::Searched},
                   {u"Software\\IBM\\Java2 Runtime Environment"_t, RegistryKeyOutcome::KindOrProviderNotSearched}};
    native.entries = {{jdk, u"17"_t, v17, u"C:\\jdk17\\"_t, RegistryEntryOutcome::NoJvmLibrary},
                      {jdk, u"1.6"_t, v16, u"C:\\jdk6\\"_t, RegistryEntryOutcome::OutsideLimits},
                      {jdk, u"x"_t, {}, {}, RegistryEntryOutcome::NoHome}};
    RegistryPassRecord bits32;
    bits32.view = RegistryView::Bits32;
    bits32.keys = {{jdk, RegistryKeyOutcome::NotOpened}};
    record.passes = {native, bits32};

    const IdsWithVersion messages;
    EXPECT_EQ(utf8(runtimeSearchReport(record, u"C:\\App\\"_t, messages)),
              (std::vector<std::string>{
                  "C:\\App\\, C:\\App\\jre64\\: #251",
                  "HKLM\\Software\\JavaSoft\\JDK\\17 C:\\jdk17\\: #253",
                  "HKLM\\Software\\JavaSoft\\JDK\\1.6 C:\\jdk6\\: #254 1.6",
                  "HKLM\\Software\\JavaSoft\\JDK\\x: #258",
                  "HKLM\\Software\\Azul Systems\\Zulu: #251",
                  "HKLM\\Software\\Wow6432Node: #251",
                  "JAVA_HOME jdk: #252",
                  "PATH C:\\j8\\: #254 1.8",
              }));
}
