#include "common/error_line.h"

#include "common/path_parts.h"

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

} // namespace

Text programNameOf(const Text& executablePath) {
    const Text name = fileNameOf(executablePath);
    const auto dot = name.findLast(u'.');
    return dot && *dot > 0 ? name.left(*dot) : name;
}

Text errorLine(const Text& program, const Text& message) {
    std::u16string line;
    bool breakPending = true;  // the start, as a break, drops leading blanks
    for (const char16_t c : message.units()) {
        if (isLineBreak(c)) {
            breakPending = true;
            while (!line.empty() && isBlank(line.back())) line.pop_back();
        } else if (breakPending && isBlank(c)) {
            continue;
        } else {
            if (breakPending && !line.empty()) line += u' ';
            breakPending = false;
            line += c;
        }
    }
    while (!line.empty() && isBlank(line.back())) line.pop_back();
    return program.empty() ? Text(line) : program + u": " + line;
}
