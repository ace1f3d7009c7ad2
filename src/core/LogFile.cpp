#include "core/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

namespace kestrum {

namespace {

constexpr int kAppendFlags = O_WRONLY | O_APPEND | O_CLOEXEC;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

// Opens for append; creates the file only when it does not exist, and says so.
int OpenForAppend(const std::string& path, bool& created) {
    created = false;
    int fd = ::open(path.c_str(), kAppendFlags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), kAppendFlags | O_CREAT | O_EXCL, kNewFileMode);
        created = fd >= 0;
    }
    return fd;
}

bool WriteAll(int fd, std::string_view text) {
    static constexpr char kLineEnd[] = "\r\n";
    iovec parts[2] = {{const_cast<char*>(text.data()), text.size()}, {const_cast<char*>(kLineEnd), 2}};
    const auto total = static_cast<ssize_t>(text.size() + 2);
    ssize_t written;
    do {
        written = ::writev(fd, parts, 2);
    } while (written < 0 && errno == EINTR);
    // A short write (full disk, size limit) counts as a failure; the caller undoes it.
    return written == total;
}

}  // namespace

bool AppendLogLine(const std::string& path, std::string_view text) {
    bool created = false;
    const int fd = OpenForAppend(path, created);
    if (fd < 0) return false;

    struct stat before {};
    const bool regular = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
    const bool written = WriteAll(fd, text);
    const bool closed = ::close(fd) == 0;
    if (written && closed) return true;

    // Put the file back as it was; should that fail too, there is nothing more to do.
    if (created) {
        ::unlink(path.c_str());
    } else if (regular) {
        [[maybe_unused]] const int undone = ::truncate(path.c_str(), before.st_size);
    }
    return false;
}

}  // namespace kestrum
