#include "common/splitting.h"

TextList splitList(const Text& text, const Text& separator) {
    TextList items;
    if (text.empty()) return items;
    const std::u16string& units = text.units();
    if (separator.empty()) {
        items.push_back(text);
        return items;
    }
    std::size_t start = 0;
    for (auto at = units.find(separator.units()); at != std::u16string::npos;
         at = units.find(separator.units(), start)) {
        items.push_back(text.mid(start, at - start));
        start = at + separator.length();
    }
    if (start < units.size()) items.push_back(text.mid(start));
    return items;
}

TextList splitCommandLine(const Text& text) {
    TextList tokens;
    const std::u16string& units = text.units();
    std::size_t pos = 0;
    while (pos < units.size()) {
        std::size_t next;
        if (units[pos] == u'"') {
            const auto close = units.find(u'"', pos + 1);
            if (close == std::u16string::npos) {
                tokens.push_back(text.mid(pos + 1));
                break;
            }
            tokens.push_back(text.mid(pos + 1, close - pos - 1));
            next = close + 1;
        } else {
            const auto space = units.find(u' ', pos);
            if (space == std::u16string::npos) {
                tokens.push_back(text.mid(pos));
                break;
            }
            tokens.push_back(text.mid(pos, space - pos));
            next = space;
        }
        while (next < units.size() && units[next] == u' ') ++next;
        pos = next;
    }
    return tokens;
}

bool isWideSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

Text trimmedWideSpace(const Text& text) {
    const std::u16string& units = text.units();
    std::size_t begin = 0;
    std::size_t end = units.size();
    while (begin < end && isWideSpace(units[begin])) ++begin;
    while (end > begin && isWideSpace(units[end - 1])) --end;
    return text.mid(begin, end - begin);
}

Text withCrLfLineEnds(const Text& text) {
    std::u16string out;
    out.reserve(text.length());
    const auto& units = text.units();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        if (c == u'\r' || c == u'\n') {
            out += u"\r\n";
            if (c == u'\r' && i + 1 < units.size() && units[i + 1] == u'\n') ++i;
        } else {
            out += c;
        }
    }
    return Text(std::move(out));
}
