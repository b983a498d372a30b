#include "vm/jni_strings.h"

#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "vm/local_ref.h"

namespace {

bool fitsJsize(std::size_t count) {
    return count <= static_cast<std::size_t>(std::numeric_limits<jsize>::max());
}

} // namespace

jstring newJavaString(JNIEnv* env, const Text& text) {
    if (!fitsJsize(text.length())) return nullptr;
    const LocalRef<jclass> stringClass(env, env->FindClass("java/lang/String"));
    if (!stringClass) return nullptr;
    const jmethodID init = env->GetMethodID(stringClass.get(), "<init>", "([C)V");
    if (!init) return nullptr;
    const auto length = static_cast<jsize>(text.length());
    const LocalRef<jcharArray> chars(env, env->NewCharArray(length));
    if (!chars) return nullptr;
    const std::vector<jchar> units(text.units().begin(), text.units().end());
    env->SetCharArrayRegion(chars.get(), 0, length, units.data());
    if (exceptionPending(env)) return nullptr;
    return static_cast<jstring>(env->NewObject(stringClass.get(), init, chars.get()));
}

jobjectArray newJavaStringArray(JNIEnv* env, const TextList& texts) {
    if (!fitsJsize(texts.size())) return nullptr;
    const LocalRef<jclass> stringClass(env, env->FindClass("java/lang/String"));
    if (!stringClass) return nullptr;
    LocalRef<jobjectArray> array(env, env->NewObjectArray(static_cast<jsize>(texts.size()), stringClass.get(), nullptr));
    if (!array) return nullptr;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const LocalRef<jstring> element(env, newJavaString(env, texts[i]));
        if (!element) return nullptr;
        env->SetObjectArrayElement(array.get(), static_cast<jsize>(i), element.get());
        if (exceptionPending(env)) return nullptr;
    }
    return array.release();
}

bool exceptionPending(JNIEnv* env) {
    const LocalRef<jthrowable> pending(env, env->ExceptionOccurred());
    return static_cast<bool>(pending);
}

void describePendingException(JNIEnv* env) {
    if (exceptionPending(env)) env->ExceptionDescribe();
}

Text textFromJavaUtf(const char* modifiedUtf8) {
    if (!modifiedUtf8) return {};
    return Text::fromModifiedUtf8(std::string_view(modifiedUtf8, std::strlen(modifiedUtf8)));
}

JavaUtfChars::JavaUtfChars(JNIEnv* env, jstring string)
    : env_(env), string_(string), bytes_(string ? env->GetStringUTFChars(string, nullptr) : nullptr) {}

JavaUtfChars::~JavaUtfChars() {
    if (bytes_) env_->ReleaseStringUTFChars(string_, bytes_);
}

std::optional<Text> javaStringText(JNIEnv* env, jstring string) {
    const JavaUtfChars chars(env, string);
    if (!chars.bytes()) return std::nullopt;
    return chars.text();
}
