#pragma once
// Conversions the double needs between the encodings that meet in a JVM:
// Java strings (UTF-16), JNI's modified UTF-8, and the UTF-8 of the log and
// the scenario file. Written independently of the launcher's own text code so
// that a fault there cannot be mirrored here.

#include <string>
#include <string_view>

namespace jvm_double {

std::string utf16ToUtf8(std::u16string_view units);  // lone surrogates become U+FFFD
std::u16string utf8ToUtf16(std::string_view bytes);   // invalid bytes become U+FFFD

// What GetStringUTFChars hands out: NUL as C0 80, supplementary characters as
// two three-byte surrogates.
std::string toModifiedUtf8(std::u16string_view units);

// Bytes a caller passed as modified UTF-8 (FindClass, GetMethodID). Returns
// false when they are not well formed; `units` then holds what could be read.
bool fromModifiedUtf8(std::string_view bytes, std::u16string& units);

// A log field: the text in double quotes with \\ \" \n \r \t escaped, other
// control characters and lone surrogates as \uXXXX, everything else as UTF-8.
std::string quote(std::u16string_view units);
std::string quoteUtf8(std::string_view utf8);

// Bytes that failed to decode, shown without loss: printable ASCII as is,
// everything else as \xNN, in double quotes.
std::string quoteBytes(std::string_view bytes);

// Scenario values: \n \r \t \\ \" \s (blank) and \uXXXX are replaced.
std::string unescape(std::string_view text);

}  // namespace jvm_double
