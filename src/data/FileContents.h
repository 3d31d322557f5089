#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace lumetra {

// What OpenForReading returns for a pipe, device or socket: reading one might never end.
inline constexpr int kNotRegularFile = -2;

// Opens a file for reading and measures it, never waiting on it. A directory is refused (-1 with
// EISDIR); anything else that is not a regular file gives kNotRegularFile. Returns the
// descriptor, or -1 with errno set.
int OpenForReading(const std::string& path, size_t& length);

// The refusal of an input that OpenForReading found not to be a regular file.
std::string NotRegularFileMessage(const std::string& path);

// The refusal of a file that another program changed while it was being read.
std::string ChangedWhileReadMessage(const std::string& path);

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

// A copy of an open file in memory of our own. Parsing pumps messages, and a modal box can wait
// in a pump for as long as the user likes; a mapping of the file's pages would then vanish when
// another program truncates the file, and the parser with it. The copy is taken in one go under a
// read lease, so it is the file as it stood at one moment.
class FileContents {
public:
    enum class Status { Ok, OutOfMemory, ReadError, Changed };

    // Copies the first min(length, limit) bytes of fd, whose size was length when it was opened.
    // Changed when its size is no longer that, or it changed while it was copied; on ReadError
    // errno is set.
    Status Load(int fd, size_t length, size_t limit = size_t(-1));

    const char* data() const { return m_buffer.get(); }
    size_t size() const { return m_size; }

private:
    std::unique_ptr<char[]> m_buffer;
    size_t m_size = 0;
};

} // namespace lumetra
