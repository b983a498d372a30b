#pragma once
// Shared helpers of the JVM tests: the options every test VM gets, temporary
// folders, attached threads, Java strings read back exactly, and a recording
// stand-in for the launcher's user-interface actions.

#include <jni.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/text.h"
#include "vm/main_invocation.h"
#include "vm/vm_settings.h"

void PrintTo(const Text& text, std::ostream* out);

inline Text operator""_t(const char16_t* units, std::size_t count) {
    return Text(std::u16string_view(units, count));
}

// The fixture class path, UTF-8 as the default charset (as a Windows ANSI code
// page can carry the test's characters), and JNI checking.
VmOptionList testVmOptions();

// A fresh folder below the system's temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& content);

// The string's UTF-16 units exactly as the VM holds them.
Text javaChars(JNIEnv* env, jstring string);

// Calls a static String method of a fixture class with one object argument.
Text callStaticText(JNIEnv* env, const char* className, const char* method, const char* signature, jobject argument);

// A static String[] field of a fixture class; a null array gives no texts.
TextList staticStrings(JNIEnv* env, const char* className, const char* field);

// Runs the work on a new thread attached to the VM. The work may detach the
// thread itself; otherwise it is detached when the work returns.
void onAttachedThread(JavaVM* vm, const std::function<void(JNIEnv*)>& work);

bool isAttached(JavaVM* vm);

// Records what main invocation asked of the user interface.
class RecordingActions final : public JavaMainActions {
public:
    std::vector<std::string> events;
    Text report;
    ExceptionChoice answer = ExceptionChoice::Ignore;
    std::function<void()> onMainStarted;

private:
    TempFolder reports_;
    int reportCount_ = 0;

    void mainClassFound(const Text& className) override { events.push_back("found " + className.toUtf8()); }
    // In a folder of its own, removed with this object.
    std::unique_ptr<ReportFile> newReportFile() override;
    void signalMainStarted() override;
    void closeSplash() override { events.push_back("closeSplash"); }
    ExceptionChoice showExceptionDialog(const Text& shown) override;
    void sleepForever() override { events.push_back("sleepForever"); }
};
