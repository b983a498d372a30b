#pragma once
// The launcher's messages for the Linux JVM tests: a text is "#<id>", and
// every message is recorded instead of shown. A report is recorded as
// "#<format id>(<arg>|<arg>...)", so a test sees which texts were combined.

#include <mutex>
#include <vector>

#include "common/messages.h"

class RecordingMessages final : public Messages {
public:
    // echo: each message also goes to stderr as "shown: <message>" at once,
    // for children that end inside a VM hook.
    explicit RecordingMessages(bool echo = false) : echo_(echo) {}
    Text text(TextId id) const override;
    void showError(const Text& message) override;
    void report(TextId formatId, std::initializer_list<FormatArg> args) override;
    // Reported from any thread, so read under the same lock.
    std::vector<Text> shown() const;

private:
    bool echo_;
    mutable std::mutex guard_;
    std::vector<Text> shown_;
};
