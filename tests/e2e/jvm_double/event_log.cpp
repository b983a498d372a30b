#include "event_log.h"

namespace jvm_double {

void EventLog::open(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    if (file_ != INVALID_HANDLE_VALUE) return;
    // FILE_APPEND_DATA makes every write land at the current end, also when a
    // test or another process appends to the same file.
    file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void EventLog::write(std::string_view event) {
    std::string line = std::to_string(GetCurrentThreadId());
    line += ' ';
    line += event;
    line += '\n';
    std::lock_guard lock(mutex_);
    if (file_ == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

EventLog& eventLog() {
    static Immortal<EventLog> log;
    return log.value;
}

}  // namespace jvm_double
