#pragma once
// A JNI local reference deleted when it goes out of scope, so helpers that run
// in loops or on long-lived attached threads do not pile references up.
// DeleteLocalRef is safe while an exception is pending.

#include <jni.h>

#include <utility>

template <typename T>
class LocalRef {
public:
    LocalRef(JNIEnv* env, T ref) : env_(env), ref_(ref) {}
    LocalRef(const LocalRef&) = delete;
    LocalRef& operator=(const LocalRef&) = delete;
    LocalRef(LocalRef&& other) noexcept : env_(other.env_), ref_(other.release()) {}
    LocalRef& operator=(LocalRef&&) = delete;
    ~LocalRef() {
        if (ref_) env_->DeleteLocalRef(ref_);
    }

    T get() const { return ref_; }
    T release() { return std::exchange(ref_, nullptr); }
    explicit operator bool() const { return ref_ != nullptr; }

private:
    JNIEnv* env_;
    T ref_;
};
