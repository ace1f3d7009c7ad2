#include "platform/ByteSource.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;
namespace fs = std::filesystem;

// Everything the source hands out, asked for in reads of `chunk` bytes.
std::string Drain(ByteSource& source, std::size_t chunk) {
    std::string bytes;
    std::array<char, 64> buffer{};
    for (std::size_t n; (n = source.Read(std::span(buffer).first(chunk))) > 0;)
        bytes.append(buffer.data(), n);
    return bytes;
}

bool IsOpenDescriptor(int fd) { return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

std::size_t OpenDescriptorCount() { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); }

class FileSourceTest : public KestrumTest {};

TEST_F(FileSourceTest, RegularFileIsReadInPiecesAndClosedWithItsOwner) {
    const std::string path = TempPath("plain.sav");
    std::ofstream(path, std::ios::binary) << std::string("{\r\n0x4C\t0xA4\r\n}\0tail", 18);
    int fd = -1;
    {
        FileDescriptor file = OpenRegularFile(path);
        ASSERT_TRUE(file.IsOpen());
        const FileDescriptor owner = std::move(file);
        EXPECT_FALSE(file.IsOpen());
        fd = owner.Get();
        FileDescriptorSource source(owner.Get());
        EXPECT_EQ(Drain(source, 5), std::string("{\r\n0x4C\t0xA4\r\n}\0tail", 18));
        EXPECT_FALSE(source.Failed());
        EXPECT_TRUE(IsOpenDescriptor(fd));
    }
    EXPECT_FALSE(IsOpenDescriptor(fd));
}

TEST_F(FileSourceTest, WhatIsNotARegularFileIsRefusedAndLeftClosed) {
    const std::string zeros = TempPath("zeros.sav");
    ASSERT_EQ(::symlink("/dev/zero", zeros.c_str()), 0);
    const std::string folder = TempPath("folder.sav");
    fs::create_directory(folder);
    const std::size_t before = OpenDescriptorCount();
    for (const std::string& path : {zeros, folder, TempPath("missing.sav"), std::string()})
        EXPECT_FALSE(OpenRegularFile(path).IsOpen()) << path;
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(FileSourceTest, ReadErrorEndsTheBytesAndIsRemembered) {
    // Reading a folder's descriptor fails (EISDIR), as a failing disk would.
    const FileDescriptor folder(
        ::open(tempDir.path().toStdString().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(folder.IsOpen());
    FileDescriptorSource source(folder.Get());
    EXPECT_FALSE(source.Failed());
    EXPECT_EQ(Drain(source, 8), "");
    EXPECT_TRUE(source.Failed());
}

TEST_F(FileSourceTest, AWholeRegularFileIsAppendedAndAnythingElseRefused) {
    const std::string path = TempPath("whole.hex");
    const std::string bytes = std::string(5000, 'x') + std::string("\0:end\r\n", 8);
    std::ofstream(path, std::ios::binary) << bytes;
    std::string text = "kept";
    EXPECT_TRUE(ReadRegularFile(path, text));
    EXPECT_EQ(text, "kept" + bytes);

    const std::string folder = TempPath("folder.hex");
    fs::create_directory(folder);
    for (const std::string& refused : {folder, std::string("/dev/zero")}) {
        std::string nothing;
        EXPECT_FALSE(ReadRegularFile(refused, nothing)) << refused;
        EXPECT_EQ(nothing, "") << refused;
    }
    std::string nothing;
    EXPECT_FALSE(ReadRegularFile(TempPath("missing.hex"), nothing));
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace kestrum
