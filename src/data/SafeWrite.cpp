#include "data/SafeWrite.h"

#include "data/FileContents.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace lumetra {
namespace {

constexpr size_t kCopyChunk = 1 << 20;
constexpr size_t kRandomChars = 6; // the XXXXXX of mkstemp
// A half-written file is stale only when no save holds its lock and it has not been written for
// this long: its maker takes the lock a moment after making it.
constexpr time_t kStaleSeconds = 10;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Our files beside the target are ".NAME.XXXXXX" while they are written and
// ".NAME.XXXXXX.INODE.old" for a kept copy of the target's old content.
std::string BesidePrefix(const std::string& target) {
    const size_t slash = target.rfind('/');
    return slash == std::string::npos
               ? "." + target + "."
               : target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".";
}

// Elsewhere they are named by the file's device and inode, which every name of it shares: in
// the user's runtime folder, else the temp folder.
std::vector<std::string> ElsewherePrefixes(const struct stat& st) {
    std::vector<std::string> prefixes;
    const char* const folders[] = {std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"), "/tmp"};
    for (const char* folder : folders) {
        struct stat dir {};
        if (!folder || !*folder || ::stat(folder, &dir) != 0 || !S_ISDIR(dir.st_mode))
            continue;
        const std::string prefix = std::string(folder) + "/lumetra-" + std::to_string(st.st_dev) +
                                   "-" + std::to_string(st.st_ino) + ".";
        if (std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end())
            prefixes.push_back(prefix);
    }
    return prefixes;
}

std::string KeptSuffix(const struct stat& st) {
    return "." + std::to_string(st.st_ino) + ".old";
}

int ErrnoOr(int err) {
    return err ? err : errno;
}

// Copies all of from into to, both from their start, cuts to there and syncs it.
int CopyContent(int from, int to) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyChunk]);
    if (!buffer)
        return ENOMEM;
    off_t at = 0;
    for (;;) {
        const ssize_t got = ::pread(from, buffer.get(), kCopyChunk, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(to, buffer.get() + done, size_t(got - done), at + done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return errno;
            done += put;
        }
        at += got;
    }
    if (::ftruncate(to, at) != 0 || ::fsync(to) != 0)
        return errno;
    return 0;
}

// Makes prefix + six random characters, locked for as long as this process has it open.
int MakeLocked(std::string& path) {
    path += std::string(kRandomChars, 'X');
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd >= 0)
        ::flock(fd, LOCK_EX);
    return fd;
}

struct KeptCopy {
    int fd = -1;
    std::string path;
};

// A complete, synced copy of the target; only a complete copy gets the name of a kept copy.
int KeepCopy(int target, const struct stat& st, std::string path, KeptCopy& out) {
    const int fd = MakeLocked(path);
    if (fd < 0)
        return errno;
    const std::string kept = path + KeptSuffix(st);
    int err = CopyContent(target, fd);
    if (!err && ::rename(path.c_str(), kept.c_str()) != 0)
        err = errno;
    if (err) {
        ::unlink(path.c_str());
        ::close(fd);
        return err;
    }
    out = {fd, kept};
    return 0;
}

SafeWriteResult WriteBeside(const std::string& target, mode_t mode, const ContentWriter& write) {
    std::string temp = BesidePrefix(target);
    const int fd = MakeLocked(temp);
    if (fd < 0)
        return {errno, false, {}};
    int err = write(fd);
    if (!err && (::fsync(fd) != 0 || ::fchmod(fd, mode) != 0 ||
                 ::rename(temp.c_str(), target.c_str()) != 0))
        err = errno;
    if (err)
        ::unlink(temp.c_str());
    ::close(fd);
    return {err, true, {}};
}

SafeWriteResult WriteInPlace(const std::string& target, const ContentWriter& write) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {errno, false, {}};
    FdCloser closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {ErrnoOr(EINVAL), false, {}};
    KeptCopy copy;
    int err = KeepCopy(fd, st, BesidePrefix(target), copy);
    for (const std::string& prefix : ElsewherePrefixes(st))
        if (err)
            err = KeepCopy(fd, st, prefix, copy);
    if (err)
        return {err, true, {}}; // the target is untouched
    off_t end = ::lseek(fd, 0, SEEK_SET);
    if (end == 0)
        err = write(fd);
    else
        err = errno;
    if (!err &&
        ((end = ::lseek(fd, 0, SEEK_CUR)) < 0 || ::ftruncate(fd, end) != 0 || ::fsync(fd) != 0))
        err = errno;
    SafeWriteResult result{err, true, {}};
    if (err && CopyContent(copy.fd, fd) != 0)
        result.keptCopy = copy.path; // the user must know where the old content is
    else
        ::unlink(copy.path.c_str());
    ::close(copy.fd);
    return result;
}

bool IsRandomPart(const std::string& text) {
    if (text.size() != kRandomChars)
        return false;
    for (unsigned char c : text)
        if (!std::isalnum(c))
            return false;
    return true;
}

// Opens one of our own files that no save holds; -1 otherwise.
int OpenUnheld(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// Goes through the files of prefix's folder named prefix + six random characters (+ suffix).
void CleanUpPrefix(const std::string& prefix, const std::string& target, const struct stat* now) {
    const std::string folder = FolderOf(prefix);
    const std::string start = prefix.substr(prefix.rfind('/') + 1);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return;
    const std::string kept = now ? KeptSuffix(*now) : std::string();
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.compare(0, start.size(), start) != 0)
            continue;
        const std::string rest = name.substr(start.size());
        const bool partial = IsRandomPart(rest);
        const bool keptCopy = now && rest.size() == kRandomChars + kept.size() &&
                              IsRandomPart(rest.substr(0, kRandomChars)) &&
                              rest.compare(kRandomChars, std::string::npos, kept) == 0;
        if (!partial && !keptCopy)
            continue;
        const std::string path = folder + "/" + name;
        struct stat st {};
        const int fd = OpenUnheld(path, st);
        if (fd < 0)
            continue;
        FdCloser closer(fd);
        if (partial) {
            if (std::time(nullptr) - st.st_mtime >= kStaleSeconds)
                ::unlink(path.c_str());
            continue;
        }
        // A save into the file itself died: its content may be part new and part old.
        const int out = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (out < 0)
            continue;
        FdCloser outCloser(out);
        if (CopyContent(fd, out) == 0)
            ::unlink(path.c_str());
    }
}

} // namespace

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        data += put;
        size -= size_t(put);
    }
    return true;
}

SafeWriteResult WriteFileSafely(const std::string& target, const struct stat* old, mode_t mode,
                                const ContentWriter& write) {
    const bool keepInode = old && (old->st_nlink > 1 || old->st_uid != ::geteuid());
    if (!keepInode) {
        SafeWriteResult result = WriteBeside(target, mode, write);
        if (result.opened || !old)
            return result;
    }
    return WriteInPlace(target, write);
}

void CleanUpAfterKilledSaves(const std::string& target) {
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    CleanUpPrefix(BesidePrefix(target), target, exists ? &st : nullptr);
    if (exists)
        for (const std::string& prefix : ElsewherePrefixes(st))
            CleanUpPrefix(prefix, target, &st);
}

} // namespace lumetra
