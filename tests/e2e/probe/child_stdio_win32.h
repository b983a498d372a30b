#pragma once
// The standard streams of a program the probe starts, for a console program:
//   pipe     stdout and stderr each into a pipe the probe reads;
//   console  a console of the probe's own, which the program shares; its
//            screen is read when the program has ended.
// Also console events for it: "ctrl-c" through the shared console, "close" as
// Windows delivers it (a thread at the program's CtrlRoutine).

#include <windows.h>

#include <string>

class ChildStdio {
public:
    // mode: "pipe", "console" or empty (the probe's own handles, as before).
    explicit ChildStdio(const std::wstring& mode);
    ~ChildStdio();
    ChildStdio(const ChildStdio&) = delete;
    ChildStdio& operator=(const ChildStdio&) = delete;

    // Fills in the handles and says whether they must be inherited.
    bool prepare(STARTUPINFOW& startup);
    // After CreateProcessW: the probe's ends of the pipes only.
    void started();
    // Reads what the pipes hold now, so the program never blocks on them.
    void drain();
    // The output events, once the program has ended.
    void report();

private:
    std::wstring mode_;
    HANDLE outRead_ = nullptr, outWrite_ = nullptr, errRead_ = nullptr, errWrite_ = nullptr;
    HANDLE consoleOut_ = nullptr, consoleIn_ = nullptr;
    std::string out_, err_;
};

// Sends the event ("ctrl-c" or "close") to the process; reports it.
bool sendConsoleEvent(const std::wstring& event, HANDLE process);
