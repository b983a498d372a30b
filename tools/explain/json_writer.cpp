#include "explain/json_writer.h"

#include <string>

namespace {

void appendEscaped(Text& out, const Text& text) {
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    out += u'"';
    for (const char16_t c : text.units()) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c < 0x20) {
            out += u"\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            // Lone surrogates become U+FFFD when the text is written as UTF-8.
            out += c;
        }
    }
    out += u'"';
}

} // namespace

void JsonWriter::newLine() {
    text_ += u'\n';
    text_ += Text(std::u16string(hasMembers_.size() * 2, u' '));
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMembers_.empty()) return;
    if (hasMembers_.back()) text_ += u',';
    hasMembers_.back() = true;
    newLine();
}

JsonWriter& JsonWriter::raw(std::u16string_view units) {
    beforeValue();
    text_ += units;
    return *this;
}

JsonWriter& JsonWriter::open(std::u16string_view bracket) {
    raw(bracket);
    hasMembers_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char16_t bracket) {
    const bool hadMembers = hasMembers_.back();
    hasMembers_.pop_back();
    if (hadMembers) newLine();
    text_ += bracket;
    return *this;
}

JsonWriter& JsonWriter::beginObject() { return open(u"{"); }
JsonWriter& JsonWriter::beginArray() { return open(u"["); }
JsonWriter& JsonWriter::endObject() { return close(u'}'); }
JsonWriter& JsonWriter::endArray() { return close(u']'); }

JsonWriter& JsonWriter::key(std::u16string_view name) {
    beforeValue();
    appendEscaped(text_, Text(name));
    text_ += u": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(const Text& text) {
    beforeValue();
    appendEscaped(text_, text);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) { return raw(flag ? u"true" : u"false"); }

JsonWriter& JsonWriter::value(std::uint64_t number) {
    return raw(Text::fromUtf8(std::to_string(number)).units());
}

JsonWriter& JsonWriter::signedValue(std::int64_t number) {
    return raw(Text::fromUtf8(std::to_string(number)).units());
}

JsonWriter& JsonWriter::valueOrNull(const Text& text) { return text.empty() ? null() : value(text); }

JsonWriter& JsonWriter::null() { return raw(u"null"); }

JsonWriter& JsonWriter::value(const TextList& texts) {
    beginArray();
    for (const Text& text : texts) value(text);
    return endArray();
}
