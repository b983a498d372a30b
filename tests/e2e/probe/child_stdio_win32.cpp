#include "child_stdio_win32.h"

#include <vector>

#include "json_out_win32.h"

namespace {

std::wstring fromUtf8Bytes(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
    return out;
}

void readAvailable(HANDLE pipe, std::string& into) {
    DWORD available = 0;
    while (pipe && PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        std::vector<char> bytes(available);
        DWORD read = 0;
        if (!ReadFile(pipe, bytes.data(), available, &read, nullptr) || read == 0) return;
        into.append(bytes.data(), read);
    }
}

// The screen's lines without their trailing blanks, and without blank lines at the end.
std::wstring screenText(HANDLE console) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(console, &info)) return L"";
    std::wstring text, row(static_cast<std::size_t>(info.dwSize.X), L' ');
    for (SHORT y = 0; y < info.dwSize.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console, row.data(), static_cast<DWORD>(row.size()), COORD{0, y}, &read);
        std::wstring line = row.substr(0, read);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += line + L"\n";
    }
    text.erase(text.find_last_not_of(L'\n') + 1);
    return text;
}

// The probe shares the console with the program: it must survive its own Ctrl+C.
BOOL WINAPI ignoreEvent(DWORD) { return TRUE; }

void closeHandle(HANDLE& handle) {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}

} // namespace

ChildStdio::ChildStdio(const std::wstring& mode) : mode_(mode) {}

ChildStdio::~ChildStdio() {
    for (HANDLE* handle : {&outRead_, &outWrite_, &errRead_, &errWrite_, &consoleOut_, &consoleIn_}) {
        closeHandle(*handle);
    }
}

bool ChildStdio::prepare(STARTUPINFOW& startup) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    if (mode_ == L"pipe") {
        constexpr DWORD kBuffer = 1 << 20;
        CreatePipe(&outRead_, &outWrite_, &inherited, kBuffer);
        CreatePipe(&errRead_, &errWrite_, &inherited, kBuffer);
        SetHandleInformation(outRead_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(errRead_, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = outWrite_;
        startup.hStdError = errWrite_;
        return true;
    }
    if (mode_ != L"console") return false;
    // Wine gives a console program started from a pipe no usable console; a
    // new one takes FreeConsole first (docs/wine-notes.md).
    FreeConsole();
    AllocConsole();
    SetConsoleCtrlHandler(ignoreEvent, TRUE);
    consoleOut_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                              OPEN_EXISTING, 0, nullptr);
    // Wide enough that no line the tests expect wraps.
    SetConsoleScreenBufferSize(consoleOut_, COORD{1000, 200});
    consoleIn_ = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr);
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = consoleIn_;
    startup.hStdOutput = consoleOut_;
    startup.hStdError = consoleOut_;
    return true;
}

void ChildStdio::started() {
    closeHandle(outWrite_);
    closeHandle(errWrite_);
}

void ChildStdio::drain() {
    readAvailable(outRead_, out_);
    readAvailable(errRead_, err_);
}

void ChildStdio::report() {
    drain();
    if (mode_ == L"pipe") {
        emit("{\"event\":\"output\",\"stdout\":" + jsonString(fromUtf8Bytes(out_)) +
             ",\"stderr\":" + jsonString(fromUtf8Bytes(err_)) + "}");
    } else if (mode_ == L"console") {
        emit("{\"event\":\"console\",\"text\":" + jsonString(screenText(consoleOut_)) + "}");
    }
}

bool sendConsoleEvent(const std::wstring& event, HANDLE process) {
    bool sent = false;
    if (event == L"ctrl-c") {
        sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    } else if (event == L"close") {
        // What Windows does for the close event: a new thread of the process at its CtrlRoutine.
        const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "CtrlRoutine")));
        const HANDLE thread = routine ? CreateRemoteThread(process, nullptr, 0, routine,
                                                           reinterpret_cast<void*>(CTRL_CLOSE_EVENT), 0, nullptr)
                                      : nullptr;
        sent = thread != nullptr;
        if (thread) CloseHandle(thread);
    }
    emit("{\"event\":\"console_event\",\"name\":" + jsonString(event) + ",\"ok\":" + (sent ? "true" : "false") + "}");
    return sent;
}
