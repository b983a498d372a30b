// Linux hosts (the JNI tests) use UTF-8 as their narrow encoding.
#include "common/ansi.h"

std::string toAnsi(const Text& text) { return text.toUtf8(); }

Text fromAnsi(std::string_view bytes) { return Text::fromUtf8(bytes); }
