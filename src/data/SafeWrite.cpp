#include "data/SafeWrite.h"

#include "data/FileContents.h"
#include "data/FileError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumetra {
namespace {

constexpr size_t kCopyChunk = 1 << 20;
constexpr size_t kRandomChars = 6; // the XXXXXX of mkstemp
// A half-written file is stale only when no save holds its lock and it has not been written for
// this long: its maker takes the lock a moment after making it.
constexpr time_t kStaleSeconds = 10;
// The start of a file while it is written in place: a zero byte, which begins no text file and
// no data file, then where its previous content is kept. The whole mark lies in the file's first
// page, so that it is put in, and taken out, by one write that a kill cannot cut in two.
constexpr std::string_view kMarkText =
    "Lumetra: this file is half-written; its previous content is kept in ";
constexpr size_t kMarkLimit = 4096;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// Our files beside the target are ".NAME.XXXXXX" while they are written and
// ".NAME.XXXXXX.INODE.old" for a kept copy of the target's old content.
std::string BesidePrefix(const std::string& target) {
    const size_t slash = target.rfind('/');
    return slash == std::string::npos
               ? "." + target + "."
               : target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".";
}

std::string ElsewhereStem(const struct stat& st) {
    return "lumetra-" + std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino);
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
        const std::string prefix = std::string(folder) + "/" + ElsewhereStem(st) + ".";
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

bool IsRandomPart(std::string_view text) {
    return text.size() == kRandomChars &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isalnum(c); });
}

// Whether the name is one a save gives a kept copy of the file st: ".NAME.XXXXXX.INODE.old"
// beside a name of it, or "lumetra-DEVICE-INODE.XXXXXX.INODE.old" elsewhere.
bool IsKeptCopyName(const std::string& name, const struct stat& st) {
    const std::string suffix = KeptSuffix(st);
    const size_t stemEnd = name.size() - std::min(name.size(), suffix.size() + kRandomChars + 1);
    if (name.size() < suffix.size() + kRandomChars + 2 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0 ||
        name[stemEnd] != '.' || !IsRandomPart(std::string_view(name).substr(stemEnd + 1, 6)))
        return false;
    const std::string stem = name.substr(0, stemEnd);
    return (stem.size() > 1 && stem[0] == '.') || stem == ElsewhereStem(st);
}

bool PwriteAll(int fd, const char* data, size_t size, off_t at) {
    for (size_t done = 0; done < size;) {
        const ssize_t put = ::pwrite(fd, data + done, size - done, at + off_t(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        done += size_t(put);
    }
    return true;
}

// Copies bytes [at, at + size) of from to the same place in to.
int CopyRange(int from, int to, off_t at, size_t size) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyChunk]);
    if (!buffer)
        return ENOMEM;
    for (size_t done = 0; done < size;) {
        const ssize_t got =
            ::pread(from, buffer.get(), std::min(kCopyChunk, size - done), at + off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? errno : EIO; // shorter than it was measured
        if (!PwriteAll(to, buffer.get(), size_t(got), at + off_t(done)))
            return errno;
        done += size_t(got);
    }
    return 0;
}

int FileSize(int fd, size_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    size = size_t(st.st_size);
    return 0;
}

// Copies all of from over to, cut to its length and synced: a complete copy or an error.
int CopyContent(int from, int to) {
    size_t size = 0;
    int err = FileSize(from, size);
    if (!err)
        err = CopyRange(from, to, 0, size);
    if (!err && (::ftruncate(to, off_t(size)) != 0 || ::fsync(to) != 0))
        err = errno;
    return err;
}

std::string Mark(const std::string& keptPath) {
    std::string mark(1, '\0');
    mark += kMarkText;
    // A path too long for the first page is left out; readers then look for the copy by inode.
    if (mark.size() + keptPath.size() + 1 <= kMarkLimit)
        mark += keptPath;
    return mark + "\n";
}

// The kept copy a marked file names ("" when its mark names none); nothing for a file that is
// not marked.
std::optional<std::string> ReadMark(int fd) {
    char head[kMarkLimit];
    ssize_t got;
    do
        got = ::pread(fd, head, sizeof head, 0);
    while (got < 0 && errno == EINTR);
    const std::string_view text(head, size_t(std::max<ssize_t>(got, 0)));
    if (text.size() < kMarkText.size() + 1 || text[0] != '\0' ||
        text.substr(1, kMarkText.size()) != kMarkText)
        return std::nullopt;
    const std::string_view rest = text.substr(kMarkText.size() + 1);
    const size_t end = rest.find('\n');
    return std::string(end == std::string_view::npos ? std::string_view() : rest.substr(0, end));
}

// Writes the size bytes of from over to, marked as being written all the while: the mark, the
// bytes after it, then the bytes under it, each step synced before the next.
int CopyMarked(int from, size_t size, int to, const std::string& keptPath) {
    const std::string mark = Mark(keptPath);
    if (!PwriteAll(to, mark.data(), mark.size(), 0) || ::fdatasync(to) != 0)
        return errno;
    if (size > mark.size())
        if (const int err = CopyRange(from, to, off_t(mark.size()), size - mark.size()))
            return err;
    if (::ftruncate(to, off_t(size)) != 0 || ::fsync(to) != 0)
        return errno;
    char head[kMarkLimit];
    const size_t under = std::min(mark.size(), size);
    if (::pread(from, head, under, 0) != ssize_t(under))
        return ErrnoOr(EIO);
    if (!PwriteAll(to, head, under, 0) || ::fsync(to) != 0)
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

struct WriteOutcome {
    int err = 0;
    bool opened = false;
    std::string keptCopy;
};

// The file a save is writing beside its target, for a run that must end at once. A plain
// array: it is read where memory may have run out.
char g_writing[4096];

// Names the file being written for as long as it lives.
class WritingBeside {
public:
    explicit WritingBeside(const std::string& path) {
        if (path.size() < sizeof g_writing)
            std::copy(path.c_str(), path.c_str() + path.size() + 1, g_writing);
    }
    ~WritingBeside() { g_writing[0] = '\0'; }
    WritingBeside(const WritingBeside&) = delete;
    WritingBeside& operator=(const WritingBeside&) = delete;
};

WriteOutcome WriteBeside(const std::string& target, const struct stat* old, mode_t mode,
                         const ContentWriter& write) {
    std::string temp = BesidePrefix(target);
    const int fd = MakeLocked(temp);
    if (fd < 0)
        return {errno, false, {}};
    FdCloser closer(fd);
    const WritingBeside writing(temp);
    struct stat made {};
    // A file of another group than ours keeps it, or is written in place.
    if (old && (::fstat(fd, &made) != 0 ||
                (made.st_gid != old->st_gid && ::fchown(fd, uid_t(-1), old->st_gid) != 0))) {
        const int err = errno;
        ::unlink(temp.c_str());
        return {err, false, {}};
    }
    int err = write(fd);
    if (!err && (::fsync(fd) != 0 || ::fchmod(fd, mode) != 0 ||
                 ::rename(temp.c_str(), target.c_str()) != 0))
        err = errno;
    if (err)
        ::unlink(temp.c_str());
    return {err, true, {}};
}

WriteOutcome WriteInPlace(const std::string& target, const ContentWriter& write) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {errno, false, {}};
    FdCloser closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {ErrnoOr(EINVAL), false, {}};
    // One writer at a time: another program's save into the file is not waited for.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return {errno == EWOULDBLOCK ? EBUSY : errno, true, {}};
    // The new content is made whole, in memory the system lends, before the file is touched.
    const int staged = ::memfd_create("lumetra-save", MFD_CLOEXEC);
    if (staged < 0)
        return {errno, true, {}};
    FdCloser stagedCloser(staged);
    size_t size = 0;
    int err = write(staged);
    if (!err)
        err = FileSize(staged, size);
    if (err)
        return {err, true, {}};
    KeptCopy copy;
    err = KeepCopy(fd, st, BesidePrefix(target), copy);
    for (const std::string& prefix : ElsewherePrefixes(st))
        if (err)
            err = KeepCopy(fd, st, prefix, copy);
    if (err)
        return {err, true, {}}; // the target is untouched
    FdCloser copyCloser(copy.fd);
    err = CopyMarked(staged, size, fd, copy.path);
    WriteOutcome outcome{err, true, {}};
    size_t oldSize = 0;
    if (err && (FileSize(copy.fd, oldSize) != 0 || CopyMarked(copy.fd, oldSize, fd, copy.path)))
        outcome.keptCopy = copy.path; // the file stays marked, and the user must know where
    else
        ::unlink(copy.path.c_str());
    return outcome;
}

WriteOutcome WriteFileSafely(const std::string& target, const struct stat* old, mode_t mode,
                             const ContentWriter& write) {
    const bool keepInode = old && (old->st_nlink > 1 || old->st_uid != ::geteuid());
    if (!keepInode) {
        WriteOutcome outcome = WriteBeside(target, old, mode, write);
        if (outcome.opened || !old)
            return outcome;
    }
    return WriteInPlace(target, write);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

enum class Hold { Ours, Held, Missing };

// Opens one of our own files that no save holds.
Hold OpenUnheld(const std::string& path, int& fd, struct stat& st) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return Hold::Missing;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Hold::Ours;
        ::close(fd);
        fd = -1;
        return Hold::Held;
    }
    ::close(fd);
    fd = -1;
    return Hold::Missing;
}

// Our files in the folder of each prefix: half-written ones (prefix + six random characters)
// and kept copies of the file st. Beside the file, a copy kept through another of its names in
// the same folder counts too.
struct LeftFiles {
    std::vector<std::string> partial, kept;
};

LeftFiles FindLeftFiles(const std::vector<std::string>& prefixes, const struct stat& st) {
    LeftFiles found;
    for (const std::string& prefix : prefixes) {
        const bool beside = &prefix == &prefixes.front();
        const std::string folder = FolderOf(prefix);
        const std::string start = BaseName(prefix);
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
        if (!dir)
            continue;
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string name = entry->d_name;
            const bool ours = name.compare(0, start.size(), start) == 0;
            if (ours && IsRandomPart(std::string_view(name).substr(start.size())))
                found.partial.push_back(folder + "/" + name);
            else if ((ours || beside) && IsKeptCopyName(name, st))
                found.kept.push_back(folder + "/" + name);
        }
    }
    return found;
}

void RemoveIfOurs(const std::string& path, bool onlyStale) {
    int fd = -1;
    struct stat st {};
    if (OpenUnheld(path, fd, st) != Hold::Ours)
        return;
    if (!onlyStale || std::time(nullptr) - st.st_mtime >= kStaleSeconds)
        ::unlink(path.c_str());
    ::close(fd);
}

std::string HalfWritten(const std::string& path) {
    return "File " + path +
           ":\nwas left half-written by a save that did not finish; it is NOT read!\n";
}

// Puts a marked file back from the first kept copy that can be had.
UnfinishedSave Restore(const std::string& path, const struct stat& st, const std::string& named,
                       const std::vector<std::string>& kept) {
    std::vector<std::string> copies;
    if (!named.empty() && IsKeptCopyName(BaseName(named), st))
        copies.push_back(named);
    for (const std::string& copy : kept)
        if (std::find(copies.begin(), copies.end(), copy) == copies.end())
            copies.push_back(copy);
    const std::string shown = named.empty() && !copies.empty() ? copies.front() : named;
    UnfinishedSave out{UnfinishedSave::State::Refused, HalfWritten(path)};
    for (const std::string& copy : copies) {
        int keptFd = -1;
        struct stat keptSt {};
        const Hold hold = OpenUnheld(copy, keptFd, keptSt);
        if (hold == Hold::Held) {
            out.message = "File " + path + ":\nis being saved at this moment; it is NOT read!\n" +
                          "Its previous content is kept in " + copy +
                          " until the save has finished.";
            return out;
        }
        if (hold == Hold::Missing)
            continue;
        FdCloser keptCloser(keptFd);
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
            CopyMarked(keptFd, size_t(keptSt.st_size), fd, copy) != 0) {
            if (fd >= 0)
                ::close(fd);
            out.message += "Its previous content is kept in " + copy + ".";
            return out;
        }
        ::close(fd);
        ::unlink(copy.c_str());
        return {UnfinishedSave::State::Restored,
                "File " + path + ":\nwas left half-written by a save that did not finish.\n" +
                    "Its previous content was put back from " + copy + "."};
    }
    out.message +=
        shown.empty() ? "No copy of its previous content was found."
                      : "Its previous content was kept in " + shown + ", which is no longer there.";
    return out;
}

} // namespace

void RemoveUnfinishedWrite() {
    if (g_writing[0] != '\0')
        ::unlink(g_writing);
    g_writing[0] = '\0';
}

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

BufferedOutput::BufferedOutput(int fd) : m_fd(fd) {
    m_text.reserve(kCopyChunk + 4096);
}

bool BufferedOutput::Spill() {
    if (m_text.size() < kCopyChunk)
        return true;
    if (!WriteAll(m_fd, m_text.data(), m_text.size()))
        return false;
    m_text.clear();
    return true;
}

int BufferedOutput::Finish() {
    if (!WriteAll(m_fd, m_text.data(), m_text.size()))
        return errno;
    m_text.clear();
    return 0;
}

UnfinishedSave RecoverUnfinishedSave(const std::string& path) {
    // Looked at before it is opened: opening a device can itself do something.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {};
    FdCloser closer(fd);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::vector<std::string> prefixes = ElsewherePrefixes(st);
    prefixes.insert(prefixes.begin(), BesidePrefix(path));
    const LeftFiles left = FindLeftFiles(prefixes, st);
    for (const std::string& partial : left.partial)
        RemoveIfOurs(partial, true);
    const std::optional<std::string> named = ReadMark(fd);
    if (!named) {
        // Their saves finished: the file holds the new content.
        for (const std::string& kept : left.kept)
            RemoveIfOurs(kept, false);
        return {};
    }
    return Restore(path, st, *named, left.kept);
}

SaveResult SaveFile(const std::string& path, const ContentWriter& write) {
    SaveResult result;
    result.target = path;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    const int statErr = errno;
    struct stat link {};
    if (exists) {
        if (S_ISDIR(st.st_mode)) {
            result.err = EISDIR;
            return result;
        }
        if (!S_ISREG(st.st_mode)) {
            result.refusal = "it is a pipe, device or socket, not a file!";
            return result;
        }
        if (::access(path.c_str(), W_OK) != 0) {
            result.err = errno;
            return result;
        }
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            result.target = real;
            std::free(real);
        }
    } else if (path.empty() || path.back() == '/') {
        result.err = EINVAL;
        return result;
    } else if (statErr == ELOOP) {
        result.refusal = "it is a link that leads round in a loop!";
        return result;
    } else if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        result.refusal = "it is a link to a file that does not exist!";
        return result;
    }
    try {
        // A half-written target is put back first, so that its copy is of whole content.
        RecoverUnfinishedSave(result.target);
        const WriteOutcome outcome =
            WriteFileSafely(result.target, exists ? &st : nullptr,
                            exists ? (st.st_mode & 07777) : NewFileMode(), write);
        result.err = outcome.err;
        result.opened = outcome.opened;
        result.keptCopy = outcome.keptCopy;
    } catch (const std::bad_alloc&) {
        result.err = ENOMEM; // a file left half-written beside the target goes with a later save
    }
    return result;
}

std::string NotSavedMessage(const std::string& path, const std::string& reason) {
    return "File " + path + ":\nwas NOT saved: " + reason;
}

std::string KeptCopyMessage(const std::string& path, const std::string& keptCopy) {
    return "The previous content of " + path + " could not be put back.\nIt is kept in " +
           keptCopy + ".";
}

std::string SaveFailureMessage(const std::string& path, const SaveResult& result,
                               const std::string& failed) {
    if (!result.refusal.empty())
        return NotSavedMessage(path, result.refusal);
    const FileErrorKind kind =
        result.err == ENOENT ? FileErrorKind::InvalidPath : FileErrorKindFromErrno(result.err);
    const std::string cause =
        result.err == ENOMEM ? "There is not enough memory." : FileErrorText(kind, path);
    if (!result.keptCopy.empty())
        return failed + "\n" + cause + "\n" + KeptCopyMessage(path, result.keptCopy);
    return failed + "\n" + cause + "\nAny earlier file of that name is unchanged.";
}

} // namespace lumetra
