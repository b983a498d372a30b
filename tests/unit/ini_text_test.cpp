#include <gtest/gtest.h>

#include <tuple>

#include "launcher/ini_text.h"
#include "launcher/profile_sections.h"
#include "launcher/layered_settings.h"
#include "test_support.h"

TEST(ParseIniText, SectionsKeysAndTrimming) {
    const IniTextDocument document = parseIniText(
        u"\uFEFF[First]\r\n"
        u"  key one \t=  a = b \r\n"
        u"k\u3000=\u00A0v\t\r\n"
        u"no equals sign\r\n"
        u"\r\n"
        u" \t[ Second ]\t \r\n"
        u"empty=\r\n"
        u"x=1\ny=2"_t);
    EXPECT_EQ(document.getString(u"First"_t, u"key one"_t), u"a = b"_t);  // cut at the first '='
    EXPECT_EQ(document.getString(u"First"_t, u"k"_t), u"v"_t);
    EXPECT_EQ(document.getString(u" Second "_t, u"empty"_t), Text());  // the name is not trimmed
    EXPECT_EQ(document.getString(u"Second"_t, u"empty"_t), Text());
    // Lines end only at CR LF, so a bare LF stays in the value.
    EXPECT_EQ(document.getString(u" Second "_t, u"x"_t), u"1\ny=2"_t);
    ASSERT_EQ(document.sections().size(), 2u);
    EXPECT_EQ(document.sections()[0].entries.size(), 2u);
    EXPECT_EQ(document.sections()[1].entries.size(), 2u);
}

TEST(ParseIniText, HeaderNameRunsFromFirstOpeningToLastClosingBracket) {
    const IniTextDocument document = parseIniText(
        u"orphan=ignored\r\n"
        u"[a]b]\r\nk=1\r\n"
        u"[[x]]\r\nk=2\r\n"
        u"[Not] a header\r\nk=3\r\n"
        u"\u3000[Not either]\r\nj=4"_t);
    ASSERT_EQ(document.sections().size(), 2u);
    EXPECT_EQ(document.sections()[0].name, u"a]b"_t);
    EXPECT_EQ(document.sections()[0].entries.size(), 1u);  // the line before any section is dropped
    EXPECT_EQ(document.sections()[1].name, u"[x]"_t);
    // Lines that are no header leave their keys in the section before them.
    EXPECT_EQ(document.getString(u"[x]"_t, u"k"_t), u"2"_t);
    EXPECT_EQ(document.getString(u"[x]"_t, u"j"_t), u"4"_t);
    EXPECT_EQ(document.sections()[1].entries.size(), 3u);
}

TEST(ParseIniText, FirstSectionAndFirstKeyWinAndLookupsKeepCase) {
    const IniTextDocument document =
        parseIniText(u"\uFEFF[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\nonlyInSecond=4"_t);
    EXPECT_EQ(document.sections().size(), 2u);
    EXPECT_EQ(document.getString(u"S"_t, u"k"_t), u"1"_t);
    EXPECT_EQ(document.getString(u"S"_t, u"onlyInSecond"_t), Text());
    EXPECT_EQ(document.getString(u"s"_t, u"k"_t), Text());
    EXPECT_EQ(document.getString(u"S"_t, u"K"_t), Text());
    EXPECT_TRUE(parseIniText(Text()).sections().empty());
}

TEST(LayeredSettings, FileOverridesEmbeddedAndPlusSectionsExtend) {
    FakeSettingsStore store;
    const Text path = u"C:\\app\\app.ini"_t;
    const Text app = u"Application"_t;
    const Text appPlus = u"Application+"_t;
    store.put(path, app, u"Output File"_t, u"file.log"_t);
    store.put(path, appPlus, u"Output File"_t, u"ignored"_t);
    store.put(path, app, u"Cmd"_t, Text());
    store.put(path, appPlus, u"Cmd"_t, u"-x"_t);
    store.put(path, appPlus, u"Error File"_t, u"extra"_t);
    store.put(path, appPlus, u"Embedded Jar"_t, u" spaced"_t);
    const LayeredSettings settings(
        parseIniText(u"[Application]\r\nCmd=-e\r\nOutput File=embedded.log\r\nPair Product=p.exe\r\n"
                     u"Error File=err.log\r\nEmbedded Jar=Yes\r\n[Application+]\r\nSingle Instance=yes"_t),
        store.openFile(path));

    const std::tuple<const char16_t*, const char16_t*, ValueOrigin> cases[] = {
        {u"Output File", u"file.log", ValueOrigin::File},  // a file value replaces the embedded one, "+" unused
        {u"Cmd", u"-e -x", ValueOrigin::EmbeddedExtended}, // an empty file value does not; "+" adds one space
        {u"Pair Product", u"p.exe", ValueOrigin::Embedded},
        {u"Error File", u"err.log extra", ValueOrigin::EmbeddedExtended},
        {u"Embedded Jar", u"Yes spaced", ValueOrigin::EmbeddedExtended}, // no second space
        {u"Single Instance", u"", ValueOrigin::Absent},  // the embedded text has no "+" layer
        {u"Class Path", u"", ValueOrigin::Absent},
    };
    for (const auto& [key, expected, origin] : cases) {
        EXPECT_EQ(settings.getString(app, Text(key)), Text(expected)) << Text(key).toUtf8();
        EXPECT_EQ(settings.lookup(app, Text(key)).origin, origin) << Text(key).toUtf8();
    }
}

TEST(LayeredSettings, PlusValueAloneGetsOneLeadingSpace) {
    FakeSettingsStore store;
    const Text path = u"app.ini"_t;
    store.put(path, u"Application+"_t, u"Cmd"_t, u"-x"_t);
    store.put(path, u"Java Runtime Environment+"_t, u"Virtual Machine Parameters"_t, u" -Xmx1g"_t);
    const LayeredSettings settings(IniTextDocument(), store.openFile(path));
    EXPECT_EQ(settings.getString(u"Application"_t, u"Cmd"_t), u" -x"_t);
    EXPECT_EQ(settings.lookup(u"Application"_t, u"Cmd"_t).origin, ValueOrigin::Extension);
    EXPECT_EQ(settings.getString(u"Java Runtime Environment"_t, u"Virtual Machine Parameters"_t), u" -Xmx1g"_t);
}

TEST(ProfileSections, OnlyASectionSurelyAbsentIsSkipped) {
    const TextList file{u"Java Runtime Environment"_t, u" application "_t, u"Display+"_t};
    const struct {
        const char16_t* section;
        bool mayHold;
    } rows[] = {
        {u"Java Runtime Environment", true},
        {u"JAVA RUNTIME ENVIRONMENT", true},  // the API matches without case
        {u"Application", true},               // and without the blanks around a name
        {u"Display+", true},
        {u"Display", false},
        {u"Application+", false},
        {u"Class Path", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(mayHoldSection(file, Text(row.section)), row.mayHold) << Text(row.section).toUtf8();
    }
    // A name outside ASCII might match under the API's own case rules.
    EXPECT_TRUE(mayHoldSection(TextList{u"Appl\u0131cation"_t}, u"Class Path"_t));
    EXPECT_FALSE(mayHoldSection(TextList{}, u"Class Path"_t));
}
