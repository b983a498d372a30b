#include "vm/report_file_win32.h"

#include <windows.h>

#include <string>

#include "common/format.h"
#include "common/growing_buffer_win32.h"
#include "common/platform_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

namespace {

// The runtime's complaint is a few lines; more is not worth a message box.
constexpr std::size_t kReportLimit = 64 * 1024;
constexpr wchar_t kPrefix[] = L"jlaunch-report-";

class TemporaryReportFile final : public ReportFile {
public:
    explicit TemporaryReportFile(Text path) : path_(std::move(path)) {}
    TemporaryReportFile(const TemporaryReportFile&) = delete;
    TemporaryReportFile& operator=(const TemporaryReportFile&) = delete;
    ~TemporaryReportFile() override { remove(); }

    const Text& path() const override { return path_; }
    std::string read() const override { return WindowsFileProbe().readStart(path_, kReportLimit).value_or(""); }
    void remove() override { DeleteFileW(wide(path_)); }

private:
    Text path_;
};

// A file the VM still held open when its process ended cannot be removed
// then (Java opens files without delete sharing); a later launch removes it.
// Files other launchers still use refuse deletion and stay.
void removeLeftReports(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const UniqueFindHandle find(FindFirstFileW((folder + kPrefix + L"*.txt").c_str(), &found));
    if (!find) return;
    do {
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(find.get(), &found));
}

} // namespace

std::unique_ptr<ReportFile> newTemporaryReportFile() {
    const auto folder = textOfGrowingBuffer(MAX_PATH + 1, [](wchar_t* buffer, DWORD size) {
        return lengthOrSizeNeeded(GetTempPathW(size, buffer), size);
    });
    if (!folder) return nullptr;
    removeLeftReports(*folder);
    // One report per process: the process id and the time make the name unique.
    const Text unique = formatText(Text(u"%d-%d"), {static_cast<std::int32_t>(GetCurrentProcessId()),
                                                     static_cast<std::int32_t>(GetTickCount())});
    const std::wstring path = *folder + kPrefix + wide(unique) + L".txt";
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file) return nullptr;
    return std::make_unique<TemporaryReportFile>(fromWide(path.c_str()));
}
