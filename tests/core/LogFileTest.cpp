#include "core/LogFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/Fifo.h"
#include "support/FileText.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;
using test::ReadFileBytes;
namespace fs = std::filesystem;

// Limits how large this process may make a file, as a nearly full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

class LogFileTest : public KestrumTest {};

TEST_F(LogFileTest, AppendsTheLineWithCrLfAndCreatesAMissingFile) {
    const std::string path = TempPath("log.csv");
    EXPECT_TRUE(AppendLogLine(path, "0,25.25 ,"));
    EXPECT_TRUE(AppendLogLine(path, ""));
    EXPECT_TRUE(AppendLogLine(path, "0.2,26 ,"));
    EXPECT_EQ(ReadFileBytes(path), "0,25.25 ,\r\n\r\n0.2,26 ,\r\n");
}

TEST_F(LogFileTest, AFailedWriteLeavesTheFileAsItWas) {
    const std::string path = TempPath("log.csv");
    std::ofstream(path, std::ios::binary) << "Time ,\r\n";
    {
        FileSizeLimit limit(12);  // room for part of the line only
        EXPECT_FALSE(AppendLogLine(path, "0.1,25.25 ,2450 ,"));
    }
    EXPECT_EQ(ReadFileBytes(path), "Time ,\r\n");

    const std::string fresh = TempPath("fresh.csv");
    {
        FileSizeLimit limit(0);
        EXPECT_FALSE(AppendLogLine(fresh, "0,"));
    }
    EXPECT_FALSE(fs::exists(fresh)) << "a file created for the failed line is removed";
    EXPECT_FALSE(AppendLogLine(tempDir.path().toStdString(), "0,")) << "a folder is not a file";
}

TEST_F(LogFileTest, OnlyARegularFileIsWrittenAndNothingWaitsOnAPipe) {
    {
        const test::WatchedFifo fifo(TempPath("no-reader.csv"));
        EXPECT_FALSE(AppendLogLine(fifo.Path(), "0,"));
    }
    {
        const test::WatchedFifo fifo(TempPath("read.csv"));
        const int reader = ::open(fifo.Path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        EXPECT_FALSE(AppendLogLine(fifo.Path(), "0,"));
        char byte = 0;
        EXPECT_LE(::read(reader, &byte, 1), 0) << "nothing went into the pipe";
        ::close(reader);
    }
    EXPECT_FALSE(AppendLogLine("/dev/null", "0,")) << "a device is not a file";
}

}  // namespace
}  // namespace kestrum
