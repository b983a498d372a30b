#include "common/ansi.h"

#include "common/wide_win32.h"

std::string toAnsi(const Text& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.length());
    const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, wide(text), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_THREAD_ACP, 0, wide(text), length, out.data(), size, nullptr, nullptr);
    }
    return out;
}

Text fromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), length, out.data(), size);
    return fromWide(out.c_str(), out.size());
}
