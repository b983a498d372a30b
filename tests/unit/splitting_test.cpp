#include <gtest/gtest.h>

#include "common/argument_list.h"
#include "common/splitting.h"
#include "test_support.h"

TEST(SplitList, KeepsInnerEmptyPiecesButNoTrailingOne) {
    EXPECT_EQ(splitList(u"a;;b;"_t, u";"_t), (TextList{u"a"_t, Text(), u"b"_t}));
    EXPECT_EQ(splitList(u";a"_t, u";"_t), (TextList{Text(), u"a"_t}));
    EXPECT_TRUE(splitList(Text(), u";"_t).empty());
    EXPECT_EQ(splitList(u"a\r\nb\r\n\r\nc"_t, u"\r\n"_t), (TextList{u"a"_t, u"b"_t, Text(), u"c"_t}));
    EXPECT_EQ(splitList(u";"_t, u";"_t), (TextList{Text()}));
    EXPECT_EQ(splitList(u"1.6"_t, u";"_t), (TextList{u"1.6"_t}));
    // Only the whole separator cuts; a lone LF or CR stays inside the item.
    EXPECT_EQ(splitList(u"a\nb\r\nc\r"_t, u"\r\n"_t), (TextList{u"a\nb"_t, u"c\r"_t}));
}

TEST(TrimmedWideSpace, RemovesWideWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(trimmedWideSpace(u" \t\r\n\u00A0a \t b\u3000\v\f"_t), u"a \t b"_t);
    EXPECT_EQ(trimmedWideSpace(u" \t "_t), Text());
    EXPECT_EQ(trimmedWideSpace(u"x"_t), u"x"_t);
}

TEST(SplitCommandLine, QuotesAndSpaces) {
    EXPECT_TRUE(splitCommandLine(Text()).empty());
    EXPECT_EQ(splitCommandLine(u"\"a b\" \"\" c"_t), (TextList{u"a b"_t, Text(), u"c"_t}));
    EXPECT_EQ(splitCommandLine(u"\"ab\"cd"_t), (TextList{u"ab"_t, u"cd"_t}));
    EXPECT_EQ(splitCommandLine(u"ab\"cd ef\""_t), (TextList{u"ab\"cd"_t, u"ef\""_t}));
    EXPECT_EQ(splitCommandLine(u"x \"rest of it"_t), (TextList{u"x"_t, u"rest of it"_t}));
    EXPECT_EQ(splitCommandLine(u"a\tb"_t), (TextList{u"a\tb"_t}));
    EXPECT_EQ(splitCommandLine(u"a   b  "_t), (TextList{u"a"_t, u"b"_t}));
    EXPECT_EQ(splitCommandLine(u"C:\\dir\\ \\\"x"_t), (TextList{u"C:\\dir\\"_t, u"\\\"x"_t}));
    // Not trimmed: a leading space gives an empty first token.
    EXPECT_EQ(splitCommandLine(u" a"_t), (TextList{Text(), u"a"_t}));
    EXPECT_EQ(splitCommandLine(u"\"a\"\"b\""_t), (TextList{u"a"_t, u"b"_t}));
}

TEST(ArgumentList, DropsTheProgramPath) {
    EXPECT_TRUE(argumentsFromCommandLine(u"  app.exe  "_t).empty());
    EXPECT_EQ(argumentsFromCommandLine(u"\"C:\\My App\\app.exe\" -nosplash x"_t), (TextList{u"-nosplash"_t, u"x"_t}));
    EXPECT_EQ(argumentsFromCommandLine(u"C:\\Program Files\\app.exe a"_t), (TextList{u"Files\\app.exe"_t, u"a"_t}));
    EXPECT_EQ(argumentsFromCommandLine(u"\tapp.exe a\r\n"_t), (TextList{u"a"_t}));
    EXPECT_TRUE(argumentsFromCommandLine(u"\"C:\\My App\\app.exe\""_t).empty());
}

TEST(ArgumentList, SwitchesMatchWholeArgumentsWithCase) {
    const ArgumentList arguments{u"-NOSPLASH"_t, u"x/nosplash"_t, u"/nosplash"_t};
    EXPECT_TRUE(hasArgument(arguments, u"/nosplash"));
    EXPECT_FALSE(hasArgument(arguments, u"-nosplash"));
}

TEST(ArgumentList, ExtraArgumentsAreExpandedThenSplit) {
    FakeEnvironment environment;
    environment.variables[u"TEMP"] = u"C:\\Temp Dir"_t;
    ArgumentList arguments{u"first"_t};
    appendExtraArguments(arguments, u" -x \"%TEMP%\\y z\" \"\""_t, environment);
    EXPECT_EQ(arguments, (TextList{u"first"_t, u"-x"_t, u"C:\\Temp Dir\\y z"_t}));
}
