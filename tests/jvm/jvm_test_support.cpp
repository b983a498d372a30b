#include "jvm_test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "vm/local_ref.h"

void PrintTo(const Text& text, std::ostream* out) { *out << '"' << text.toUtf8() << '"'; }

VmOptionList testVmOptions() {
    return {std::string("-Djava.class.path=") + JLAUNCH_TEST_CLASSES, "-Dfile.encoding=UTF-8", "-Xcheck:jni"};
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "jlaunch-jvm-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

Text javaChars(JNIEnv* env, jstring string) {
    if (!string) return Text(u"<null>");
    const jsize length = env->GetStringLength(string);
    const jchar* chars = env->GetStringChars(string, nullptr);
    const Text text(std::u16string(chars, chars + length));
    env->ReleaseStringChars(string, chars);
    return text;
}

Text callStaticText(JNIEnv* env, const char* className, const char* method, const char* signature, jobject argument) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    if (!type) return Text(u"<no class>");
    const jmethodID id = env->GetStaticMethodID(type.get(), method, signature);
    if (!id) return Text(u"<no method>");
    const LocalRef<jstring> result(env, static_cast<jstring>(env->CallStaticObjectMethod(type.get(), id, argument)));
    if (env->ExceptionCheck()) {
        env->ExceptionDescribe();
        return Text(u"<exception>");
    }
    return javaChars(env, result.get());
}

TextList staticStrings(JNIEnv* env, const char* className, const char* field) {
    const LocalRef<jclass> type(env, env->FindClass(className));
    const jfieldID id = env->GetStaticFieldID(type.get(), field, "[Ljava/lang/String;");
    const LocalRef<jobjectArray> array(env, static_cast<jobjectArray>(env->GetStaticObjectField(type.get(), id)));
    TextList items;
    for (jsize i = 0; array && i < env->GetArrayLength(array.get()); ++i) {
        const LocalRef<jstring> item(env, static_cast<jstring>(env->GetObjectArrayElement(array.get(), i)));
        items.push_back(javaChars(env, item.get()));
    }
    return items;
}

void onAttachedThread(JavaVM* vm, const std::function<void(JNIEnv*)>& work) {
    std::thread thread([&] {
        void* env = nullptr;
        if (vm->AttachCurrentThread(&env, nullptr) != JNI_OK) return;
        work(static_cast<JNIEnv*>(env));
        if (isAttached(vm)) vm->DetachCurrentThread();
    });
    thread.join();
}

bool isAttached(JavaVM* vm) {
    void* env = nullptr;
    return vm->GetEnv(&env, JNI_VERSION_1_2) == JNI_OK;
}

namespace {

class TestReportFile final : public ReportFile {
public:
    explicit TestReportFile(std::filesystem::path path) : path_(std::move(path)), text_(Text::fromUtf8(path_.string())) {
        writeFile(path_, "");
    }
    ~TestReportFile() override { remove(); }
    const Text& path() const override { return text_; }
    std::string read() const override { return std::filesystem::exists(path_) ? readFile(path_) : std::string(); }
    void remove() override {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

private:
    std::filesystem::path path_;
    Text text_;
};

} // namespace

std::unique_ptr<ReportFile> RecordingActions::newReportFile() {
    events.push_back("reportFile");
    return std::make_unique<TestReportFile>(reports_.path() / ("report" + std::to_string(++reportCount_) + ".txt"));
}

void RecordingActions::signalMainStarted() {
    events.push_back("started");
    if (onMainStarted) onMainStarted();
}

ExceptionChoice RecordingActions::showExceptionDialog(const Text& shown) {
    events.push_back("dialog");
    report = shown;
    return answer;
}
