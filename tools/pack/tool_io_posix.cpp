#include "pack/tool_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string systemReason() { return std::strerror(errno); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool close() { const int fd = fd_; fd_ = -1; return ::close(fd) == 0; }

private:
    int fd_;
};

bool writeAll(int fd, ByteView bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

Outcome<Bytes> readFileBytes(const Text& path) {
    FileDescriptor file(::open(path.toUtf8().c_str(), O_RDONLY | O_CLOEXEC));
    struct stat facts {};
    if (file.get() < 0 || ::fstat(file.get(), &facts) != 0) return Outcome<Bytes>::failure(systemReason());
    if (!S_ISREG(facts.st_mode)) return Outcome<Bytes>::failure("not a file");
    if (static_cast<std::uint64_t>(facts.st_size) > kMaximumInputFile) return Outcome<Bytes>::failure("larger than 1 GiB");
    Bytes bytes(static_cast<std::size_t>(facts.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t read = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) return Outcome<Bytes>::failure(read == 0 ? "the file shrank while being read" : systemReason());
        done += static_cast<std::size_t>(read);
    }
    return bytes;
}

std::string replaceFile(const Text& path, ByteView bytes) {
    const std::string target = path.toUtf8();
    const std::string temporary = target + ".partial";
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0777));
    if (file.get() < 0) return systemReason();
    if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0 || !file.close() ||
        ::rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string reason = systemReason();
        ::unlink(temporary.c_str());
        return reason;
    }
    return {};
}

void writeLine(Stream stream, const Text& text) {
    std::FILE* out = stream == Stream::Error ? stderr : stdout;
    std::fputs((text.toUtf8() + "\n").c_str(), out);
}
