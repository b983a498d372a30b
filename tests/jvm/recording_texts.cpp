#include "recording_texts.h"

#include <mutex>
#include <string>

#include "common/texts.h"

namespace {

std::mutex guard;
std::vector<Text> messages;

Text argumentText(const FormatArg& argument) {
    if (const auto* text = std::get_if<Text>(&argument)) return *text;
    return Text::fromUtf8(std::to_string(std::get<std::int32_t>(argument)));
}

} // namespace

std::vector<Text> shownMessages() {
    const std::lock_guard lock(guard);
    return messages;
}

void clearShownMessages() {
    const std::lock_guard lock(guard);
    messages.clear();
}

Text LoadText(TextId id) { return Text::fromUtf8("#" + std::to_string(id)); }

int ShowErrorBox(const Text& message) {
    const std::lock_guard lock(guard);
    messages.push_back(message);
    return 1;
}

void ReportError(TextId formatId, std::initializer_list<FormatArg> args) {
    Text message = LoadText(formatId) + u"(";
    bool first = true;
    for (const FormatArg& argument : args) {
        if (!first) message += u'|';
        message += argumentText(argument);
        first = false;
    }
    ShowErrorBox(message + u")");
}
