#pragma once
// jvm.log beside the double: one UTF-8 line per event, "<thread id> <event>".
// Each line is one appending write, so it is on disk before the next call
// returns; the process may end inside the double through ExitProcess.

#include <windows.h>

#include <mutex>
#include <string>
#include <string_view>

namespace jvm_double {

class EventLog {
public:
    // Opens (or creates) the file for appending; lines written before are kept.
    void open(const std::wstring& path);
    void write(std::string_view event);

private:
    std::mutex mutex_;
    HANDLE file_ = INVALID_HANDLE_VALUE;  // left open until the process ends
};

EventLog& eventLog();
inline void logEvent(std::string_view event) { eventLog().write(event); }

// Objects the double keeps for the life of the process: their destructors
// would otherwise run at DLL_PROCESS_DETACH, possibly while a thread that
// ExitProcess stopped held them half-changed.
template <typename T>
union Immortal {
    T value;
    Immortal() : value() {}
    ~Immortal() {}
};

}  // namespace jvm_double
