#pragma once
// A value, or the reason there is none, for steps that fail with a message
// for the packager rather than a code.

#include <optional>
#include <string>
#include <utility>

template <typename T>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}
    static Outcome failure(std::string reason) {
        Outcome outcome;
        outcome.reason_ = std::move(reason);
        return outcome;
    }

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const std::string& error() const { return reason_; }

private:
    Outcome() = default;
    std::optional<T> value_;
    std::string reason_;
};
