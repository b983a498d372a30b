#include "common/format.h"

#include <string>

namespace {

Text render(const FormatArg& arg) {
    if (const auto* text = std::get_if<Text>(&arg)) return *text;
    return Text::fromUtf8(std::to_string(std::get<std::int32_t>(arg)));
}

} // namespace

Text formatText(const Text& format, std::initializer_list<FormatArg> args) {
    Text out;
    auto next = args.begin();
    const auto& units = format.units();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        const char16_t conversion = i + 1 < units.size() ? units[i + 1] : u'\0';
        if (c != u'%' || (conversion != u's' && conversion != u'd' && conversion != u'%')) {
            out += c;
            continue;
        }
        ++i;
        if (conversion == u'%') {
            out += u'%';
        } else if (next != args.end()) {
            out += render(*next++);
        }
    }
    return out;
}
