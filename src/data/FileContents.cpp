#include "data/FileContents.h"

#include "platform/WorkSplit.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumetra {
namespace {

// Reads bytes [offset, offset + length) with pread; returns the count read (less when the file
// is shorter), or -1 with errno set.
ssize_t ReadRange(int fd, char* buffer, size_t offset, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, buffer + done, length - done, off_t(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += size_t(got);
    }
    return ssize_t(done);
}

// Reads a large file in parts at once: copying from the cache costs as much as parsing.
ssize_t ReadAll(int fd, char* buffer, size_t length) {
    constexpr size_t kMinBytesPerPart = 2 * 1024 * 1024;
    const int parts = WorkParts(length, kMinBytesPerPart);
    auto from = [&](int part) { return length * size_t(part) / size_t(parts); };
    std::vector<ssize_t> got(size_t(parts), 0);
    std::vector<int> err(size_t(parts), 0);
    RunParts(parts, [&](int part, int) {
        got[size_t(part)] =
            ReadRange(fd, buffer + from(part), from(part), from(part + 1) - from(part));
        err[size_t(part)] = errno;
    });
    // The file ends where the first part came up short.
    size_t total = 0;
    for (int part = 0; part < parts; ++part) {
        if (got[size_t(part)] < 0) {
            errno = err[size_t(part)];
            return -1;
        }
        total += size_t(got[size_t(part)]);
        if (size_t(got[size_t(part)]) < from(part + 1) - from(part))
            break;
    }
    return ssize_t(total);
}

// A read lease makes anyone who opens the file for writing or truncates it wait until we let
// go, so its mapped pages cannot vanish under the parser. The lease's break is announced by a
// signal; SIGURG is ignored by default, so the announcement never ends the program.
bool TakeReadLease(int fd) {
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0)
        return false;
    return ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
}

} // namespace

int OpenForReading(const std::string& path, size_t& length) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    const bool measured = ::fstat(fd, &st) == 0;
    const int err = !measured ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (err != 0) {
        ::close(fd);
        errno = err;
        return -1;
    }
    length = size_t(st.st_size);
    return fd;
}

FdCloser::~FdCloser() {
    if (m_fd >= 0)
        ::close(m_fd);
}

FileContents::~FileContents() {
    Release();
}

void FileContents::Release() {
    if (m_mapping)
        ::munmap(m_mapping, m_size);
    if (m_leased)
        ::fcntl(m_fd, F_SETLEASE, F_UNLCK);
    m_mapping = nullptr;
    m_leased = false;
    m_buffer.reset();
    m_data = nullptr;
    m_size = 0;
}

FileContents::Status FileContents::Load(int fd, size_t length) {
    Release();
    m_fd = fd;
    if (length > 0 && TakeReadLease(fd)) {
        m_leased = true;
        void* map = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map != MAP_FAILED) {
            m_mapping = map;
            m_data = static_cast<const char*>(map);
            m_size = length;
            return Status::Ok;
        }
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        m_leased = false;
    }
    try {
        m_buffer.reset(new char[length + 1]);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    const ssize_t got = ReadAll(fd, m_buffer.get(), length);
    if (got < 0) {
        m_buffer.reset();
        return Status::ReadError;
    }
    m_data = m_buffer.get();
    m_size = size_t(got);
    return Status::Ok;
}

} // namespace lumetra
