#include "common/text.h"

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

// Standard UTF-8, or the JVM's modified form (no four-byte sequences, NUL as C0 80).
// Malformed and overlong input yields U+FFFD for the byte that broke the sequence.
std::u16string decodeUtf8(std::string_view bytes, bool modified) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    auto continuation = [&](std::size_t at) {
        return at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
    };
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += b;
            i += 1;
        } else if ((b & 0xE0) == 0xC0 && continuation(i + 1) && (b >= 0xC2 || (modified && b == 0xC0))) {
            // Overlong forms are refused, except the modified form's C0 80 for NUL.
            const char16_t unit = static_cast<char16_t>(((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
            if (b == 0xC0 && unit != 0) {
                out += u'\uFFFD';
                i += 1;
                continue;
            }
            out += unit;
            i += 2;
        } else if ((b & 0xF0) == 0xE0 && continuation(i + 1) && continuation(i + 2) &&
                   (b != 0xE0 || static_cast<unsigned char>(bytes[i + 1]) >= 0xA0)) {
            // Surrogates stay: the modified form encodes supplementary characters as two of them.
            out += static_cast<char16_t>(((b & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) |
                                         (bytes[i + 2] & 0x3F));
            i += 3;
        } else if (!modified && (b & 0xF8) == 0xF0 && continuation(i + 1) && continuation(i + 2) &&
                   continuation(i + 3)) {
            const char32_t cp = ((b & 0x07) << 18) | ((bytes[i + 1] & 0x3F) << 12) |
                                ((bytes[i + 2] & 0x3F) << 6) | (bytes[i + 3] & 0x3F);
            if (cp < 0x10000 || cp > 0x10FFFF) {
                out += u'\uFFFD';
                i += 1;
                continue;
            }
            appendUtf16(out, cp);
            i += 4;
        } else {
            out += u'\uFFFD';
            i += 1;
        }
    }
    return out;
}

char16_t asciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

} // namespace

Text Text::fromUtf8(std::string_view utf8) { return Text(decodeUtf8(utf8, false)); }

Text Text::fromModifiedUtf8(std::string_view bytes) { return Text(decodeUtf8(bytes, true)); }

std::string Text::toUtf8() const {
    std::string out;
    out.reserve(units_.size());
    for (std::size_t i = 0; i < units_.size(); ++i) {
        char32_t cp = units_[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units_.size() && units_[i + 1] >= 0xDC00 &&
            units_[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units_[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

Text Text::right(std::size_t count) const {
    return count >= units_.size() ? *this : Text(units_.substr(units_.size() - count));
}

Text Text::mid(std::size_t pos, std::size_t count) const {
    return pos >= units_.size() ? Text() : Text(units_.substr(pos, count));
}

Text& Text::erase(std::size_t pos, std::size_t count) {
    if (pos < units_.size()) units_.erase(pos, count);
    return *this;
}

std::optional<std::size_t> Text::findFirst(char16_t c, std::size_t from) const {
    const auto at = units_.find(c, from);
    return at == std::u16string::npos ? std::nullopt : std::optional(at);
}

std::optional<std::size_t> Text::findLast(char16_t c) const {
    const auto at = units_.rfind(c);
    return at == std::u16string::npos ? std::nullopt : std::optional(at);
}

bool Text::startsWith(std::u16string_view prefix) const {
    return std::u16string_view(units_).substr(0, prefix.size()) == prefix;
}

bool Text::endsWith(std::u16string_view suffix) const {
    return units_.size() >= suffix.size() &&
           std::u16string_view(units_).substr(units_.size() - suffix.size()) == suffix;
}

Text Text::replaced(char16_t from, char16_t to) const {
    std::u16string out = units_;
    for (auto& c : out) {
        if (c == from) c = to;
    }
    return Text(std::move(out));
}

bool Text::equalsIgnoreCase(std::u16string_view other) const {
    if (other.size() != units_.size()) return false;
    for (std::size_t i = 0; i < other.size(); ++i) {
        if (asciiLower(units_[i]) != asciiLower(other[i])) return false;
    }
    return true;
}
