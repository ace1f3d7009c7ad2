#pragma once
// A named pipe for the tests of code that must never wait on one. Should the code under
// test block opening it, a watchdog opens the read end after a few seconds, so that the
// test fails on its own checks instead of hanging.

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace kestrum::test {

class WatchedFifo {
public:
    explicit WatchedFifo(std::string path);
    ~WatchedFifo();  // stops the watchdog and closes the read end it opened
    WatchedFifo(const WatchedFifo&) = delete;
    WatchedFifo& operator=(const WatchedFifo&) = delete;

    const std::string& Path() const { return path_; }

private:
    void Watch();

    std::string path_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    int readEnd_ = -1;
    std::thread watchdog_;
};

}  // namespace kestrum::test
