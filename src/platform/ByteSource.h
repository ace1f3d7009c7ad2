#pragma once
// Bytes to be read a buffer-full at a time, so that a reader never holds a whole file: from
// memory, or from a file that was checked to be a regular file before anything was read.
// Plain C++ and POSIX, so that the fuzzer can build it without Qt.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kestrum {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies the next bytes into the buffer, at most its size; 0 only when no byte is left.
    virtual std::size_t Read(std::span<char> buffer) = 0;
};

// Bytes already in memory; they must outlive the source.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(std::span<char> buffer) override;

private:
    std::string_view bytes_;
};

// An open file descriptor, closed with its owner.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Get() const { return fd_; }

private:
    int Release();

    int fd_ = -1;
};

// The file opened for reading, or a closed descriptor when it cannot be opened or is not a
// regular file. Opening does not block on a FIFO, and a FIFO, device or folder is refused,
// so that a reader can neither hang nor be fed without end.
FileDescriptor OpenRegularFile(const std::string& path);

// Appends the whole of a regular file (as OpenRegularFile takes it) to `text`: for a reader
// that needs all of a small file at once. False, with errno saying why, when the file
// cannot be opened or read.
bool ReadRegularFile(const std::string& path, std::string& text);

// Reads from a descriptor that its owner keeps open. A read error ends the bytes early and
// is remembered, so that the caller can tell it from the end of the file.
class FileDescriptorSource final : public ByteSource {
public:
    explicit FileDescriptorSource(int fd) : fd_(fd) {}
    std::size_t Read(std::span<char> buffer) override;
    bool Failed() const { return failed_; }

private:
    int fd_;
    bool failed_ = false;
};

}  // namespace kestrum
