#include "vm/launcher_helper.h"

#include <memory>

#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/stream_redirection.h"
#include "vm/vm_hooks.h"

namespace {

Text reportText(const ReportFile* file) {
    Text text = file ? Text::fromUtf8(file->read()) : Text();
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.erase(text.length() - 1, 1);
    return text;
}

// Shows what the helper printed when it ends the process. It ends with 1
// when it cannot start the application; any other code comes from the
// application's own code (a static initialiser) and ends it as it asked.
class HelperExitWatch final : public VmEventListener {
public:
    HelperExitWatch(Messages& messages, ReportFile* file, const Text& what)
        : messages_(messages), file_(file), what_(what) {}

    void exit(jint code) override {
        constexpr jint kHelperFailure = 1;
        if (code != kHelperFailure) {
            if (VmEventListener* before = scope_.previous()) before->exit(code);
            return;
        }
        messages_.report(IDS_MAIN_LOOKUP_FAILED, {what_, reportText(file_)});
        if (file_) file_->remove();
    }
    void abort() override {}

private:
    Messages& messages_;
    ReportFile* file_;
    Text what_;
    const VmEventListenerScope scope_{this};
};

// System.err goes to the report file, in UTF-8, until this ends.
class ErrorCapture {
public:
    ErrorCapture(JNIEnv* env, const ReportFile* file) : env_(env), saved_(env, systemStream(env, StandardStream::Error)) {
        if (!file) return;
        const LocalRef<jstring> path(env, newJavaString(env, file->path()));
        const LocalRef<jstring> charset(env, newJavaString(env, Text(u"UTF-8")));
        const LocalRef<jobject> stream(
            env, path ? newObject(env, "java/io/FileOutputStream", "(Ljava/lang/String;)V", path.get()) : nullptr);
        capture_ = stream && charset ? newObject(env, "java/io/PrintStream", "(Ljava/io/OutputStream;ZLjava/lang/String;)V",
                                                 stream.get(), JNI_TRUE, charset.get())
                                     : nullptr;
        if (!capture_ || !setSystemStream(env, capture_, StandardStream::Error)) {
            env->ExceptionClear();
            release();
        }
    }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;
    ~ErrorCapture() { restore(); }

    bool active() const { return capture_ != nullptr; }

    // Puts System.err back; the report file is complete afterwards.
    void restore() {
        if (!capture_) return;
        setSystemStream(env_, saved_.get(), StandardStream::Error);
        callVoidMethodQuietly(env_, capture_, "java/io/PrintStream", "close");
        release();
    }

private:
    void release() {
        if (capture_) env_->DeleteLocalRef(capture_);
        capture_ = nullptr;
    }

    JNIEnv* env_;
    LocalRef<jobject> saved_;
    jobject capture_ = nullptr;
};

void printToSystemErr(JNIEnv* env, const Text& text) {
    if (text.empty()) return;
    const LocalRef<jobject> err(env, systemStream(env, StandardStream::Error));
    const LocalRef<jstring> string(env, newJavaString(env, text));
    const LocalRef<jclass> type(env, env->FindClass("java/io/PrintStream"));
    const jmethodID print = type ? env->GetMethodID(type.get(), "print", "(Ljava/lang/String;)V") : nullptr;
    if (err && string && print) env->CallVoidMethod(err.get(), print, string.get());
    env->ExceptionClear();
}

jmethodID helperMethod(JNIEnv* env, jclass helper) {
    return env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
}

} // namespace

HelperLookup loadMainThroughHelper(JNIEnv* env, HelperMode mode, const Text& what, JavaMainActions& actions,
                                   Messages& messages) {
    const LocalRef<jclass> helper(env, env->FindClass("sun/launcher/LauncherHelper"));
    const jmethodID checkAndLoadMain = helper ? helperMethod(env, helper.get()) : nullptr;
    if (!checkAndLoadMain) {
        env->ExceptionClear();
        return {};
    }
    const LocalRef<jstring> javaWhat(env, newJavaString(env, what));
    if (!javaWhat) {
        messages.report(IDS_MAIN_LOOKUP_FAILED, {what, takePendingExceptionText(env)});
        return {true, nullptr};
    }
    const std::unique_ptr<ReportFile> file = actions.newReportFile();
    ErrorCapture capture(env, file.get());
    jclass found = nullptr;
    {
        const HelperExitWatch watch(messages, capture.active() ? file.get() : nullptr, what);
        found = static_cast<jclass>(env->CallStaticObjectMethod(helper.get(), checkAndLoadMain, JNI_TRUE,
                                                                static_cast<jint>(mode), javaWhat.get()));
    }
    const Text thrown = takePendingExceptionText(env);
    capture.restore();
    if (found && thrown.empty()) {
        // Passed on as printed, line ends included.
        if (file) printToSystemErr(env, Text::fromUtf8(file->read()));
        return {true, found};
    }
    const Text printed = reportText(file.get());
    if (found) env->DeleteLocalRef(found);
    messages.report(IDS_MAIN_LOOKUP_FAILED, {what, printed.empty() ? thrown : printed + u'\n' + thrown});
    return {true, nullptr};
}
