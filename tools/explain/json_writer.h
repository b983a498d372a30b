#pragma once
// Writes JSON text, two spaces of indentation per level. Strings are escaped
// so that the result is valid JSON whatever the Text holds.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "common/text.h"

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The name of the next member of the open object.
    JsonWriter& key(std::u16string_view name);

    JsonWriter& value(const Text& text);
    JsonWriter& value(std::u16string_view text) { return value(Text(text)); }
    JsonWriter& value(const char16_t* text) { return value(Text(text)); }
    JsonWriter& value(bool flag);
    JsonWriter& value(std::uint64_t number);
    JsonWriter& signedValue(std::int64_t number);
    JsonWriter& value(const std::optional<Text>& text) { return valueOrNull(text.value_or(Text())); }
    JsonWriter& valueOrNull(const Text& text);  // null when empty
    JsonWriter& null();
    JsonWriter& value(const TextList& texts);

    // The text written; every opened object and array must be closed.
    const Text& text() const { return text_; }

private:
    void beforeValue();
    void newLine();
    JsonWriter& raw(std::u16string_view units);
    JsonWriter& open(std::u16string_view bracket);
    JsonWriter& close(char16_t bracket);

    Text text_;
    std::vector<bool> hasMembers_;  // per open object or array
    bool afterKey_ = false;
};
