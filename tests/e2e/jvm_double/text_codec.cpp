#include "text_codec.h"

#include <cstdint>
#include <cstdio>

namespace jvm_double {
namespace {

bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// One UTF-8 sequence at `i`; nullopt-like 0xFFFFFFFF when malformed. `modified`
// admits the overlong C0 80 and encoded surrogates and refuses four-byte forms.
char32_t decodeOne(std::string_view s, std::size_t& i, bool modified) {
    constexpr char32_t bad = 0xFFFFFFFF;
    auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](std::size_t k) -> int {
        if (i + k >= s.size()) return -1;
        auto b = static_cast<unsigned char>(s[i + k]);
        return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
    };
    if (b0 < 0x80) {
        ++i;
        return modified && b0 == 0 ? bad : b0;
    }
    if ((b0 & 0xE0) == 0xC0) {
        int c1 = cont(1);
        if (c1 < 0) return bad;
        char32_t c = ((b0 & 0x1F) << 6) | c1;
        if (c < 0x80 && !(modified && c == 0)) return bad;
        i += 2;
        return c;
    }
    if ((b0 & 0xF0) == 0xE0) {
        int c1 = cont(1), c2 = cont(2);
        if (c1 < 0 || c2 < 0) return bad;
        char32_t c = ((b0 & 0x0F) << 12) | (c1 << 6) | c2;
        if (c < 0x800) return bad;
        if (!modified && c >= 0xD800 && c <= 0xDFFF) return bad;
        i += 3;
        return c;
    }
    if (!modified && (b0 & 0xF8) == 0xF0) {
        int c1 = cont(1), c2 = cont(2), c3 = cont(3);
        if (c1 < 0 || c2 < 0 || c3 < 0) return bad;
        char32_t c = ((b0 & 0x07) << 18) | (c1 << 12) | (c2 << 6) | c3;
        if (c < 0x10000 || c > 0x10FFFF) return bad;
        i += 4;
        return c;
    }
    return bad;
}

// Four hex digits at `at` as a number, or -1.
int hex4(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) return -1;
    int value = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        char h = text[at + k];
        int d = h >= '0' && h <= '9'   ? h - '0'
                : h >= 'a' && h <= 'f' ? h - 'a' + 10
                : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                       : -1;
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

void appendEscapedUnit(std::string& out, char16_t u) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(u));
    out += buf;
}

}  // namespace

std::string utf16ToUtf8(std::u16string_view units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char16_t u = units[i];
        if (isHigh(u) && i + 1 < units.size() && isLow(units[i + 1])) {
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (isHigh(u) || isLow(u)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = decodeOne(bytes, i, false);
        if (c == 0xFFFFFFFF) {
            out += u'\uFFFD';
            ++i;
        } else {
            appendUtf16(out, c);
        }
    }
    return out;
}

std::string toModifiedUtf8(std::u16string_view units) {
    std::string out;
    for (char16_t u : units) {
        if (u == 0) {
            out += "\xC0\x80";
        } else {
            appendUtf8(out, u);  // surrogates each take three bytes
        }
    }
    return out;
}

bool fromModifiedUtf8(std::string_view bytes, std::u16string& units) {
    units.clear();
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = decodeOne(bytes, i, true);
        if (c == 0xFFFFFFFF) return false;
        units += static_cast<char16_t>(c);
    }
    return true;
}

std::string quote(std::u16string_view units) {
    std::string out = "\"";
    for (std::size_t i = 0; i < units.size(); ++i) {
        char16_t u = units[i];
        switch (u) {
        case u'\\': out += "\\\\"; continue;
        case u'"': out += "\\\""; continue;
        case u'\n': out += "\\n"; continue;
        case u'\r': out += "\\r"; continue;
        case u'\t': out += "\\t"; continue;
        default: break;
        }
        if (u < 0x20 || u == 0x7F) {
            appendEscapedUnit(out, u);
        } else if (isHigh(u) && i + 1 < units.size() && isLow(units[i + 1])) {
            out += utf16ToUtf8(units.substr(i, 2));
            ++i;
        } else if (isHigh(u) || isLow(u)) {
            appendEscapedUnit(out, u);
        } else {
            appendUtf8(out, u);
        }
    }
    return out + "\"";
}

std::string quoteUtf8(std::string_view utf8) { return quote(utf8ToUtf16(utf8)); }

std::string quoteBytes(std::string_view bytes) {
    std::string out = "\"";
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            out += ch;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            out += buf;
        }
    }
    return out + "\"";
}

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char e = text[++i];
        switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 's': out += ' '; break;
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'u': {
            int value = hex4(text, i + 1);
            if (value < 0) {
                out += "\\u";
                break;
            }
            i += 4;
            // A surrogate pair written as two escapes is one character.
            int low = i + 2 < text.size() && text[i + 1] == '\\' && text[i + 2] == 'u'
                          ? hex4(text, i + 3) : -1;
            if (value >= 0xD800 && value <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00));
                i += 6;
            } else {
                appendUtf8(out, static_cast<char32_t>(value));
            }
            break;
        }
        default: out += '\\'; out += e; break;
        }
    }
    return out;
}

}  // namespace jvm_double
