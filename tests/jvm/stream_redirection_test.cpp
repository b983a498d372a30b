#include <gtest/gtest.h>

#include <unistd.h>

#include "jvm_test_support.h"
#include "linux_folders.h"
#include "shared_vm.h"
#include "vm/jni_strings.h"
#include "vm/local_ref.h"
#include "vm/stream_redirection.h"

namespace {

namespace fs = std::filesystem;

class Redirection : public ::testing::Test {
protected:
    Redirection() : folders(temp.path()), redirection(folders) {}

    bool redirect(const Text& path, StandardStream stream) { return redirection.redirect(mainEnv(), path, stream); }
    bool redirect(const fs::path& path, StandardStream stream) { return redirect(Text::fromUtf8(path.string()), stream); }

    void print(const char16_t* out, const char16_t* err) {
        JNIEnv* env = mainEnv();
        const LocalRef<jclass> printer(env, env->FindClass("fixture/Printer"));
        const jmethodID method = env->GetStaticMethodID(printer.get(), "print", "(Ljava/lang/String;Ljava/lang/String;)V");
        const LocalRef<jstring> outText(env, newJavaString(env, Text(out)));
        const LocalRef<jstring> errText(env, newJavaString(env, Text(err)));
        env->CallStaticVoidMethod(printer.get(), method, outText.get(), errText.get());
        ASSERT_FALSE(exceptionPending(mainEnv()));
    }

    TempFolder temp;
    LinuxFolders folders;
    StreamRedirection redirection;
};

// Java opens the path relative to the current folder; make that the test's folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
    ~CurrentFolder() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

} // namespace

TEST_F(Redirection, MissingFoldersAreCreatedBeforeTheFileIsOpened) {
    // On Linux the VM sees the backslashes as part of one file name in the
    // current folder, while the folder walk maps them below the same folder.
    const CurrentFolder current(temp.path());
    fs::create_directory(temp.path() / "C:");  // the drive
    const Text path = u"C:\\Logs\\App\\out.txt"_t;
    ASSERT_TRUE(redirect(path, StandardStream::Output));
    EXPECT_TRUE(fs::is_directory(temp.path() / "C:" / "Logs" / "App"));
    EXPECT_FALSE(fs::exists(temp.path() / "C:" / "Logs" / "App" / "out.txt"));
    print(u"to out", u"");
    EXPECT_EQ(readFile(temp.path() / path.toUtf8()), "to out");
}

TEST_F(Redirection, ExistingFileIsEmptiedAndBothStreamsMayShareIt) {
    const fs::path file = temp.path() / "both.txt";
    writeFile(file, "left over from the last run");
    ASSERT_TRUE(redirect(file, StandardStream::Output));
    EXPECT_EQ(fs::file_size(file), 0u);
    ASSERT_TRUE(redirect(file, StandardStream::Error));
    print(u"out ", u"err");
    // Each stream opened the file on its own and writes from its own start.
    EXPECT_EQ(readFile(file), "err ");
}

TEST_F(Redirection, UnwritableFileLeavesTheStreamAsItWas) {
    const fs::path first = temp.path() / "first.txt";
    ASSERT_TRUE(redirect(first, StandardStream::Error));
    const fs::path regular = temp.path() / "regular";
    writeFile(regular, "");

    EXPECT_FALSE(redirect(regular / "err.txt", StandardStream::Error));
    EXPECT_TRUE(exceptionPending(mainEnv()));
    describePendingException(mainEnv());  // goes to the stream still in place
    print(u"", u"still here");
    const std::string content = readFile(first);
    EXPECT_NE(content.find("java.io.FileNotFoundException"), std::string::npos) << content;
    EXPECT_NE(content.rfind("still here"), std::string::npos) << content;
}
