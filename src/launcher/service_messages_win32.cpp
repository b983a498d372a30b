#include "launcher/service_messages_win32.h"

#include "common/path_parts.h"
#include "common/platform_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

namespace {

// Without a message file registered for the source, the event viewer shows
// this number with the message's text.
constexpr DWORD kLauncherEventId = 1;

// The executable's file name without its extension.
Text eventSourceNameOf(const Text& path) {
    const Text name = fileNameOf(path);
    const auto dot = name.findLast(u'.');
    return dot && *dot > 0 ? name.left(*dot) : name;
}

} // namespace

ServiceMessages::ServiceMessages(const Text& executablePath, const Text& errorFile)
    : program_(eventSourceNameOf(executablePath)), errorFile_(errorFile) {}

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
    std::u16string text = message.units();
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
    const std::string line = (program_ + u": " + text + u"\r\n").toUtf8();
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
