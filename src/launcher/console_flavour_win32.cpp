#include "launcher/console_flavour_win32.h"

#include "common/error_line.h"
#include "common/path_parts.h"
#include "common/text_output_win32.h"
#include "launcher/process_facts_win32.h"
#include "runtime/runtime_search_report.h"
#include "vm/vm_options.h"

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

} // namespace

ConsoleFlavour::ConsoleFlavour()
    : executablePath_(executablePath().path.value_or(Text())), program_(programNameOf(executablePath_)) {}

void ConsoleFlavour::LineMessages::showError(const Text& message) {
    writeText(STD_ERROR_HANDLE, errorLine(program_, message) + kLineEnd);
}

std::optional<PickedRuntime> ConsoleFlavour::askForRuntime(const Text& message, JvmType,
                                                           const RuntimeChoiceRecord& searched, const FileProbe&) {
    // One write, so that the lines stay together.
    Text lines = errorLine(program_, message + u" " JAVA_DOWNLOAD_ADDRESS) + kLineEnd;
    lines += errorLine(program_, messages_.text(IDS_SEARCH_HEADING)) + kLineEnd;
    for (const Text& place : runtimeSearchReport(searched, folderWithSlashOf(executablePath_), messages_)) {
        lines += program_ + u":   " + errorLine(Text(), place) + kLineEnd;
    }
    writeText(STD_ERROR_HANDLE, lines);
    return std::nullopt;
}

ExceptionChoice ConsoleFlavour::reportUncaughtException(const Text& report) {
    // A trace keeps its lines, as java prints it.
    Text text = program_ + u": " + report;
    if (!text.endsWith(u"\n")) text += kLineEnd;
    writeText(STD_ERROR_HANDLE, text);
    return ExceptionChoice::Stop;
}

void ConsoleFlavour::beforeJavaVm(const VmOptionList& options) {
    if (!reducesSignalUse(options)) forwarding_.emplace();
}
