#include "support/Fifo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <utility>

namespace kestrum::test {

namespace {
constexpr std::chrono::seconds kPatience{3};
}  // namespace

WatchedFifo::WatchedFifo(std::string path) : path_(std::move(path)) {
    if (::mkfifo(path_.c_str(), 0600) != 0) ADD_FAILURE() << "mkfifo " << path_;
    watchdog_ = std::thread([this] { Watch(); });
}

WatchedFifo::~WatchedFifo() {
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    finished_.notify_all();
    watchdog_.join();
    if (readEnd_ >= 0) ::close(readEnd_);
}

void WatchedFifo::Watch() {
    std::unique_lock lock(mutex_);
    if (finished_.wait_for(lock, kPatience, [this] { return done_; })) return;
    // Lets a waiting writer through, so that the test's own checks fail. Held open to the
    // end, so that the writer gets no SIGPIPE. Code that never waits passes either way.
    readEnd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace kestrum::test
