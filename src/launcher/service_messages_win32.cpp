#include "launcher/service_messages_win32.h"

#include "common/error_line.h"
#include "common/platform_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

namespace {

// Without a message file registered for the source, the event viewer shows
// this number with the message's text.
constexpr DWORD kLauncherEventId = 1;

} // namespace

ServiceMessages::ServiceMessages(const Text& executablePath, const Text& errorFile)
    : program_(programNameOf(executablePath)), errorFile_(errorFile) {}

void ServiceMessages::showError(const Text& message) {
    // A source no installer registered is logged under "Application" all the same.
    const UniqueEventSource source(RegisterEventSourceW(nullptr, wide(program_)));
    if (source) {
        const wchar_t* strings[] = {wide(message)};
        ReportEventW(source.get(), EVENTLOG_ERROR_TYPE, 0, kLauncherEventId, nullptr, 1, 0, strings, nullptr);
    }
    appendToErrorFile(message);
}

// Appended, as the application's own System.err may write to the same file.
void ServiceMessages::appendToErrorFile(const Text& message) const {
    if (errorFile_.empty()) return;
    const Text path = WindowsEnvironment().expand(errorFile_);
    const UniqueFileHandle file(CreateFileW(wide(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string line = (errorLine(program_, message) + u"\r\n").toUtf8();
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
