#include "vm/report_file_win32.h"

#include <windows.h>

#include "common/growing_buffer_win32.h"
#include "common/platform_win32.h"
#include "common/wide_win32.h"

namespace {

// The runtime's complaint is a few lines; more is not worth a message box.
constexpr std::size_t kReportLimit = 64 * 1024;

class TemporaryReportFile final : public ReportFile {
public:
    explicit TemporaryReportFile(Text path) : path_(std::move(path)) {}
    TemporaryReportFile(const TemporaryReportFile&) = delete;
    TemporaryReportFile& operator=(const TemporaryReportFile&) = delete;
    ~TemporaryReportFile() override { remove(); }

    const Text& path() const override { return path_; }
    std::string read() const override { return WindowsFileProbe().readStart(path_, kReportLimit).value_or(""); }
    void remove() override {
        if (!removed_) DeleteFileW(wide(path_));
        removed_ = true;
    }

private:
    Text path_;
    bool removed_ = false;
};

} // namespace

std::unique_ptr<ReportFile> newTemporaryReportFile() {
    const auto folder = textOfGrowingBuffer(MAX_PATH + 1, [](wchar_t* buffer, DWORD size) {
        return lengthOrSizeNeeded(GetTempPathW(size, buffer), size);
    });
    if (!folder) return nullptr;
    // GetTempFileNameW needs MAX_PATH characters for its result and creates the file.
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(folder->c_str(), L"jl", 0, name) == 0) return nullptr;
    return std::make_unique<TemporaryReportFile>(fromWide(name));
}
