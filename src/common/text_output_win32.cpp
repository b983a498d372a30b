#include "common/text_output_win32.h"

#include "common/wide_win32.h"

void writeText(DWORD stream, const Text& text) {
    HANDLE out = GetStdHandle(stream);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, wide(text), static_cast<DWORD>(text.length()), &written, nullptr);
        return;
    }
    const std::string utf8 = text.toUtf8();
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}
