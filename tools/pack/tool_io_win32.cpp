#include "pack/tool_io.h"

#include <windows.h>

#include <algorithm>

#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"
#include "common/console_win32.h"

namespace {

std::string systemReason() { return "error " + std::to_string(GetLastError()); }

bool writeAll(HANDLE file, ByteView bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

} // namespace

Outcome<Bytes> readFileBytes(const Text& path) {
    UniqueFileHandle file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return Outcome<Bytes>::failure(systemReason());
    if (static_cast<std::uint64_t>(size.QuadPart) > kMaximumInputFile) return Outcome<Bytes>::failure("larger than 1 GiB");
    Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return Outcome<Bytes>::failure(systemReason());
        if (read == 0) return Outcome<Bytes>::failure("the file shrank while being read");
        done += read;
    }
    return bytes;
}

std::string replaceFile(const Text& path, ByteView bytes) {
    const Text temporary = path + u".partial";
    bool written = false;
    {
        UniqueFileHandle file(CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return systemReason();
        written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
    }
    if (!written || !MoveFileExW(wide(temporary), wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string reason = systemReason();
        DeleteFileW(wide(temporary));
        return reason;
    }
    return {};
}

void writeLine(Stream stream, const Text& text) {
    writeText(stream == Stream::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, text + u"\n");
}
