#include "recording_messages.h"

#include <cstdio>
#include <string>

namespace {

Text argumentText(const FormatArg& argument) {
    if (const auto* text = std::get_if<Text>(&argument)) return *text;
    return Text::fromUtf8(std::to_string(std::get<std::int32_t>(argument)));
}

} // namespace

Text RecordingMessages::text(TextId id) const { return Text::fromUtf8("#" + std::to_string(id)); }

void RecordingMessages::showError(const Text& message) {
    const std::lock_guard lock(guard_);
    shown_.push_back(message);
    if (echo_) {
        std::fprintf(stderr, "shown: %s\n", message.toUtf8().c_str());
        std::fflush(stderr);
    }
}

void RecordingMessages::report(TextId formatId, std::initializer_list<FormatArg> args) {
    Text message = text(formatId) + u"(";
    bool first = true;
    for (const FormatArg& argument : args) {
        if (!first) message += u'|';
        message += argumentText(argument);
        first = false;
    }
    showError(message + u")");
}

std::vector<Text> RecordingMessages::shown() const {
    const std::lock_guard lock(guard_);
    return shown_;
}
