#include "data/FileContents.h"

#include "platform/WorkSplit.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <new>
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
// go (the kernel grants us some 45 s, far more than a copy takes). The lease's break is
// announced by a signal; SIGURG is ignored by default, so the announcement never ends the program.
bool TakeReadLease(int fd) {
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0)
        return false;
    return ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
}

bool SameVersion(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

} // namespace

int OpenForReading(const std::string& path, size_t& length) {
    // Looked at before it is opened: opening a device can itself do something.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return -1;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    if (!S_ISREG(st.st_mode))
        return kNotRegularFile;
    // Without waiting, in case a pipe has taken the file's place meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    const bool measured = ::fstat(fd, &st) == 0;
    const int err = errno;
    if (!measured || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = !measured ? err : EISDIR;
        return measured && !S_ISDIR(st.st_mode) ? kNotRegularFile : -1;
    }
    length = size_t(st.st_size);
    return fd;
}

std::string NotRegularFileMessage(const std::string& path) {
    return "File " + path + ":\nis NOT a file but a pipe, device or socket!";
}

std::string ChangedWhileReadMessage(const std::string& path) {
    return "File " + path +
           ":\nwas changed by another program while it was read!\nTry again when it is done.";
}

FdCloser::~FdCloser() {
    if (m_fd >= 0)
        ::close(m_fd);
}

FileContents::Status FileContents::Load(int fd, size_t length, size_t limit) {
    m_buffer.reset();
    m_size = 0;
    const size_t want = length < limit ? length : limit;
    try {
        m_buffer.reset(new char[want == 0 ? 1 : want]);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory;
    }
    const bool leased = TakeReadLease(fd);
    struct stat before {
    }, after{};
    Status status = Status::Ok;
    int err = 0;
    if (::fstat(fd, &before) != 0) {
        err = errno;
        status = Status::ReadError;
    } else if (size_t(before.st_size) != length) {
        status = Status::Changed;
    } else {
        const ssize_t got = ReadAll(fd, m_buffer.get(), want);
        if (got < 0) {
            err = errno;
            status = Status::ReadError;
        } else if (size_t(got) != want ||
                   (!leased && (::fstat(fd, &after) != 0 || !SameVersion(before, after)))) {
            status = Status::Changed; // without a lease a writer may have been at work
        }
        m_size = got < 0 ? 0 : size_t(got);
    }
    if (leased)
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
    if (status != Status::Ok) {
        m_buffer.reset();
        m_size = 0;
        errno = err;
    }
    return status;
}

} // namespace lumetra
