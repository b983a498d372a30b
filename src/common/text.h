#pragma once
// Text: the launcher's string type for paths, settings and messages. UTF-16
// code units throughout, so a Windows wide string is viewed without conversion.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Text {
public:
    Text() = default;
    explicit Text(std::u16string units) : units_(std::move(units)) {}
    explicit Text(std::u16string_view units) : units_(units) {}
    explicit Text(const char16_t* units) : units_(units ? units : u"") {}

    // For ASCII literals and other text known to be UTF-8.
    static Text fromUtf8(std::string_view utf8);
    // The JVM's modified UTF-8 (NUL as C0 80, supplementary characters as surrogate pairs).
    static Text fromModifiedUtf8(std::string_view bytes);
    std::string toUtf8() const;

    const std::u16string& units() const { return units_; }
    const char16_t* c_str() const { return units_.c_str(); }
    std::size_t length() const { return units_.size(); }
    bool empty() const { return units_.empty(); }
    char16_t operator[](std::size_t i) const { return units_[i]; }
    char16_t front() const { return units_.front(); }
    char16_t back() const { return units_.back(); }

    Text left(std::size_t count) const { return Text(units_.substr(0, count)); }
    Text right(std::size_t count) const;
    Text mid(std::size_t pos, std::size_t count = std::u16string::npos) const;
    Text& erase(std::size_t pos, std::size_t count);

    std::optional<std::size_t> findFirst(char16_t c, std::size_t from = 0) const;
    std::optional<std::size_t> findLast(char16_t c) const;
    bool contains(char16_t c) const { return findFirst(c).has_value(); }
    bool contains(std::u16string_view part) const { return units_.find(part) != std::u16string::npos; }
    bool startsWith(std::u16string_view prefix) const;
    bool endsWith(std::u16string_view suffix) const;

    Text replaced(char16_t from, char16_t to) const;
    // Case-insensitive for ASCII letters; every other unit must match exactly.
    bool equalsIgnoreCase(std::u16string_view other) const;

    Text& operator+=(const Text& other) { units_ += other.units_; return *this; }
    Text& operator+=(std::u16string_view other) { units_ += other; return *this; }
    Text& operator+=(char16_t c) { units_ += c; return *this; }
    friend Text operator+(Text a, const Text& b) { return a += b; }
    friend Text operator+(Text a, std::u16string_view b) { return a += b; }
    friend Text operator+(Text a, char16_t c) { return a += c; }

    friend bool operator==(const Text& a, const Text& b) { return a.units_ == b.units_; }
    friend bool operator==(const Text& a, std::u16string_view b) { return a.units_ == b; }
    friend bool operator<(const Text& a, const Text& b) { return a.units_ < b.units_; }

private:
    std::u16string units_;
};

using TextList = std::vector<Text>;
