#pragma once

#include <cstddef>
#include <memory>

#include <string>

namespace lumetra {

// Opens a file for reading and measures it; a directory is refused (EISDIR). Returns the
// descriptor, or -1 with errno set.
int OpenForReading(const std::string& path, size_t& length);

// Closes a descriptor when the scope ends.
class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser();
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// The whole of an open file in memory, for the time it is parsed. Where the system lets us keep
// others from writing the file meanwhile (a read lease), the file's own pages are mapped, which
// costs no copy; otherwise the bytes are read into a buffer of our own.
class FileContents {
public:
    enum class Status { Ok, OutOfMemory, ReadError };

    FileContents() = default;
    ~FileContents();
    FileContents(const FileContents&) = delete;
    FileContents& operator=(const FileContents&) = delete;

    // Loads up to length bytes of fd (fewer when the file has shrunk); on ReadError errno is set.
    Status Load(int fd, size_t length);

    const char* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    void Release();

    int m_fd = -1;
    bool m_leased = false;
    void* m_mapping = nullptr;
    std::unique_ptr<char[]> m_buffer;
    const char* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace lumetra
