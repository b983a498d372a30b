#pragma once
// Strings between the launcher and the VM. Text reaches the VM as UTF-16
// without any code-page conversion; what comes back through GetStringUTFChars
// is the VM's modified UTF-8 and is decoded as such.

#include <jni.h>

#include <optional>

#include "common/text.h"

// A new local java.lang.String with the text's UTF-16 units; null on failure.
jstring newJavaString(JNIEnv* env, const Text& text);

// A new local String[] holding the texts in order; null on failure.
jobjectArray newJavaStringArray(JNIEnv* env, const TextList& texts);

// True when an exception is pending (the reference ExceptionOccurred gives is released).
bool exceptionPending(JNIEnv* env);

// Lets the VM print a pending exception to its System.err; that also clears it.
void describePendingException(JNIEnv* env);

// The text of GetStringUTFChars bytes; null gives an empty text.
Text textFromJavaUtf(const char* modifiedUtf8);

// The modified UTF-8 bytes of a Java string, released when this object goes.
class JavaUtfChars {
public:
    JavaUtfChars(JNIEnv* env, jstring string);
    JavaUtfChars(const JavaUtfChars&) = delete;
    JavaUtfChars& operator=(const JavaUtfChars&) = delete;
    ~JavaUtfChars();

    // Null when the VM gave none (an exception is then pending).
    const char* bytes() const { return bytes_; }
    Text text() const { return textFromJavaUtf(bytes_); }

private:
    JNIEnv* env_;
    jstring string_;
    const char* bytes_;
};

// The string's text, or nothing when the VM gives no bytes for it.
std::optional<Text> javaStringText(JNIEnv* env, jstring string);
