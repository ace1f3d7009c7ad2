#include "core/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

namespace kestrum {

namespace {

// O_NONBLOCK: opening a FIFO would otherwise wait for a reader, on the UI thread.
constexpr int kAppendFlags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

// Opens for append; creates the file only when it does not exist, and says so. Only a
// regular file is written: a FIFO, device or folder is refused, as the settings recall
// refuses it, so that no write can wait on another process or go somewhere unseen.
int OpenForAppend(const std::string& path, bool& created, off_t& size) {
    created = false;
    int fd = ::open(path.c_str(), kAppendFlags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), kAppendFlags | O_CREAT | O_EXCL, kNewFileMode);
        created = fd >= 0;
    }
    if (fd < 0) return fd;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = status.st_size;
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
    off_t size = 0;
    const int fd = OpenForAppend(path, created, size);
    if (fd < 0) return false;

    const bool written = WriteAll(fd, text);
    const bool closed = ::close(fd) == 0;
    if (written && closed) return true;

    // Put the file back as it was; should that fail too, there is nothing more to do.
    if (created) {
        ::unlink(path.c_str());
    } else {
        [[maybe_unused]] const int undone = ::truncate(path.c_str(), size);
    }
    return false;
}

}  // namespace kestrum
