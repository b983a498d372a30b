#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "splash/splash_choice.h"
#include "test_support.h"

namespace {

const Text kJvm = u"C:\\rt\\bin\\server\\jvm.dll"_t;
const Text kNativeLibrary = u"C:\\rt\\bin\\splashscreen.dll"_t;

class RecordingStarter final : public SplashStarter {
public:
    bool nativeWorks = true;
    std::vector<std::string> calls;

    bool startNative(const Text& libraryPath, const Text& image) override {
        calls.push_back("native " + libraryPath.toUtf8() + " " + image.toUtf8());
        return nativeWorks;
    }
    void startOwn(const Text& image, bool shadow) override {
        calls.push_back("own " + image.toUtf8() + (shadow ? " shadow" : ""));
    }
};

} // namespace

TEST(NativeSplashLibrary, LiesInTheFolderAboveTheJvmLibrarysFolder) {
    struct Case {
        const char16_t* jvm;
        const char16_t* present;   // the file that exists
        const char16_t* expected;  // empty: none
    };
    for (const Case& c : {Case{u"C:\\rt\\bin\\server\\jvm.dll", u"C:\\rt\\bin\\splashscreen.dll",
                               u"C:\\rt\\bin\\splashscreen.dll"},
                          Case{u"C:\\rt\\bin\\client\\jvm.dll", u"C:\\rt\\bin\\client\\splashscreen.dll", u""},
                          Case{u"C:\\rt\\bin\\jvm.dll", u"C:\\rt\\splashscreen.dll", u"C:\\rt\\splashscreen.dll"},
                          Case{u"C:\\jvm.dll", u"C:\\splashscreen.dll", u"C:\\splashscreen.dll"}}) {
        FakeFiles files;
        files.add(Text(c.present));
        EXPECT_EQ(nativeSplashLibraryPath(Text(c.jvm), files), Text(c.expected)) << Text(c.jvm).toUtf8();
    }
}

TEST(SplashChoice, NativeOnlyWhenPreferredPresentAndWillingElseOwnWindow) {
    struct Case {
        const char* name;
        const char16_t* image;
        const char16_t* preferNative;
        bool libraryPresent;
        bool nativeWorks;
        std::vector<std::string> expected;
    };
    const std::string native = "native C:\\rt\\bin\\splashscreen.dll s.jpg";
    const std::vector<Case> cases{
        {"no image", u"", u"Yes", true, true, {}},
        {"native", u"s.jpg", u"yes", true, true, {native}},
        {"native fails", u"s.jpg", u"Yes", true, false, {native, "own s.jpg shadow"}},
        {"no library", u"s.jpg", u"Yes", false, true, {"own s.jpg shadow"}},
        {"not preferred", u"s.jpg", u"no", true, true, {"own s.jpg shadow"}},
    };
    for (const Case& c : cases) {
        FakeFiles files;
        if (c.libraryPresent) files.add(kNativeLibrary);
        RecordingStarter starter;
        starter.nativeWorks = c.nativeWorks;
        startChosenSplash({Text(c.image), u"true"_t, Text(c.preferNative)}, kJvm, files, starter);
        EXPECT_EQ(starter.calls, c.expected) << c.name;
    }
}

TEST(SplashPosition, CentredOnTheScreenWithHalvesTruncatedTowardZero) {
    struct Case {
        int width, height, x, y;
    };
    for (const Case& c : {Case{400, 300, 440, 362}, Case{401, 301, 439, 361}, Case{0, 0, 640, 512},
                          Case{1400, 1100, -60, -38}, Case{1283, 1027, -1, -1}}) {
        const SplashPosition at = centredSplashPosition(1280, 1024, c.width, c.height);
        EXPECT_EQ(at.x, c.x) << c.width;
        EXPECT_EQ(at.y, c.y) << c.height;
    }
}
