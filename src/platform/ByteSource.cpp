#include "platform/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace kestrum {

std::size_t MemorySource::Read(std::span<char> buffer) {
    const std::size_t count = std::min(buffer.size(), bytes_.size());
    std::copy_n(bytes_.begin(), count, buffer.begin());
    bytes_.remove_prefix(count);
    return count;
}

FileDescriptor::~FileDescriptor() {
    if (IsOpen()) ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() { return std::exchange(fd_, -1); }

FileDescriptor OpenRegularFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen()) return file;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return file;
}

bool ReadRegularFile(const std::string& path, std::string& text) {
    const FileDescriptor file = OpenRegularFile(path);
    if (!file.IsOpen()) return false;
    FileDescriptorSource source(file.Get());
    char chunk[4096];
    for (std::size_t got; (got = source.Read(chunk)) > 0;) text.append(chunk, got);
    return !source.Failed();
}

std::size_t FileDescriptorSource::Read(std::span<char> buffer) {
    if (failed_) return 0;
    for (;;) {
        const ssize_t count = ::read(fd_, buffer.data(), buffer.size());
        if (count >= 0) return count;
        if (errno == EINTR) continue;
        failed_ = true;
        return 0;
    }
}

}  // namespace kestrum
