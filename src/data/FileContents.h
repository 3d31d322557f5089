#pragma once

#include <cstddef>
#include <memory>

namespace lumetra {

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
