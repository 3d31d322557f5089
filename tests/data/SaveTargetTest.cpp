// Where a save writes: beside the file and renamed over it, or into the file itself when a
// rename would part it from its folder, links or owner; never onto what is not a file; and in
// every path the old content or the new one, never a mixture, whatever stops the save.
#include "data/LumetraDoc.h"
#include "data/SafeWrite.h"
#include "support/DocTest.h"
#include "support/ExampleFile.h"
#include "support/FailLargeAllocations.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumetra {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

// Files a save kept in the runtime folder for the file with this inode (those that end in
// suffix).
int LeftElsewhere(const std::string& runtime, ino_t inode, const std::string& suffix = "") {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(runtime)) {
        const std::string name = entry.path().filename().string();
        count += name.rfind("lumetra-", 0) == 0 &&
                 name.find("-" + std::to_string(inode) + ".") != std::string::npos &&
                 name.size() >= suffix.size() &&
                 name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    }
    return count;
}

// Runs fn in a child process, as the user nobody when asked; its exit status, or -1 when it was
// killed or could not become nobody.
int InChild(bool asNobody, const std::function<int()>& fn) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(99);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

off_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    off_t pages = 0;
    statm >> pages;
    return pages * ::sysconf(_SC_PAGESIZE);
}

struct SaveTarget : test::ExampleDocTest {
    // A runtime folder of the test's own, which anyone may write like /tmp: what a killed save
    // leaves there goes with the test, and an inode reused from another test's file is not seen.
    test::TempDir runDir;
    const std::string& runtime = runDir.path();
    void SetUp() override {
        ExampleDocTest::SetUp();
        ::chmod(runtime.c_str(), 01777);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }

    // Saves the example at path, then changes the document; the bytes the user has.
    std::string SaveThenChange(const std::string& path, size_t pairs = 3) {
        EXPECT_TRUE(doc.OnSaveDocument(path));
        doc.m_strDataTitle = "Changed";
        doc.m_pPairs.assign(pairs, {1.5, 2.5, 3.5, 4.5});
        doc.SetModifiedFlag(true);
        ui.messages.clear();
        return test::TempDir::Read(path);
    }

    // A folder of root's with a file of nobody's in it: nobody may write the file, not the folder.
    std::string NobodysFileInRootsFolder() {
        ::chmod(dir.path().c_str(), 0755);
        const std::string folder = dir.Path("shared");
        fs::create_directory(folder);
        ::chmod(folder.c_str(), 0755);
        const std::string path = folder + "/keep.dat";
        EXPECT_TRUE(doc.OnSaveDocument(path));
        EXPECT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        return path;
    }
};

TEST_F(SaveTarget, OutOfMemoryKeepsThePreviousFileAndTheDocument) {
    const std::string path = dir.Path("keep.dat");
    const std::string before = SaveThenChange(path, 100000);
    {
        test::FailLargeAllocations fail(512 * 1024);
        EXPECT_FALSE(doc.OnSaveDocument(path));
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Out of Memory!\nSHUT DOWN APPLICATION NOW!");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    EXPECT_EQ(test::TempDir::Read(path), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_strDataTitle, "Changed");
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"keep.dat"});
}

// 2,000,000 pairs are 64 MB of document and 138 MB of file: the file never sits in memory.
TEST_F(SaveTarget, TwoMillionPairsSaveInALittleMemoryOrSaySo) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own mappings need the address space this test takes away";
#endif
    // In memory where the system has such a folder: syncing 138 MB to a disk takes long.
    const std::string folder = fs::is_directory("/dev/shm") ? "/dev/shm" : dir.path();
    const std::string path = folder + "/lumetra-test-" + std::to_string(::getpid()) + ".dat";
    struct Remove {
        std::string path;
        ~Remove() { ::unlink(path.c_str()); }
    } remove{path};
    const std::string before = SaveThenChange(path, 2000000);
    // Within 16 MB more than the process has; or, after all of those but 256 KB have been
    // taken in small pieces, within what is left.
    auto saveWithin = [&](bool crowded) {
        int pipeFds[2];
        EXPECT_EQ(::pipe(pipeFds), 0);
        const int status = InChild(false, [&] {
            const rlim_t bytes = rlim_t(AddressSpaceInUse() + (16 << 20));
            const rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_AS, &limit);
            std::vector<void*> taken;
            taken.reserve(1 << 20);
            while (void* piece = crowded ? std::malloc(4096) : nullptr)
                taken.push_back(piece);
            for (size_t k = 0; k < 64 && !taken.empty(); ++k) {
                std::free(taken.back());
                taken.pop_back();
            }
            const bool saved = doc.OnSaveDocument(path);
            const std::string said = saved ? "saved" : ui.OnlyMessage();
            return ::write(pipeFds[1], said.data(), said.size()) == ssize_t(said.size()) ? 0 : 1;
        });
        ::close(pipeFds[1]);
        char text[256] = {};
        const ssize_t got = ::read(pipeFds[0], text, sizeof text);
        ::close(pipeFds[0]);
        EXPECT_EQ(status, 0) << "the save did not end normally";
        return std::string(text, size_t(std::max<ssize_t>(got, 0)));
    };
    EXPECT_EQ(saveWithin(true), "Out of Memory!\nSHUT DOWN APPLICATION NOW!");
    EXPECT_EQ(test::TempDir::Read(path), before);

    EXPECT_EQ(saveWithin(false), "saved");
    const std::string line = test::Wide16("1.50000") + "\t" + test::Wide16("2.50000") + "\t" +
                             test::Wide16("3.50000") + "\t" + test::Wide16("4.50000") + "\r\n";
    EXPECT_EQ(fs::file_size(path), 105 + 2000000 * line.size());
    std::ifstream in(path, std::ios::binary);
    in.seekg(-std::streamoff(line.size()), std::ios::end);
    std::string last(line.size(), '\0');
    in.read(last.data(), std::streamsize(last.size()));
    EXPECT_EQ(last, line);
}

TEST_F(SaveTarget, PipesDevicesAndBrokenLinksAreNeverReplaced) {
    struct Case {
        std::string path;
        std::string reason;
    };
    std::vector<Case> cases;
    const std::string fifo = dir.Path("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({fifo, "it is a pipe, device or socket, not a file!"});
    const std::string device = dir.Path("null.dat");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        cases.push_back({device, "it is a pipe, device or socket, not a file!"});
    const std::string dangling = dir.Path("dangling.dat");
    fs::create_symlink(dir.Path("missing.dat"), dangling);
    cases.push_back({dangling, "it is a link to a file that does not exist!"});
    const std::string loop = dir.Path("loop.dat");
    fs::create_symlink(dir.Path("loop2.dat"), loop);
    fs::create_symlink(loop, dir.Path("loop2.dat"));
    cases.push_back({loop, "it is a link that leads round in a loop!"});
    const std::vector<std::string> before = Entries(dir.path());

    doc.SetModifiedFlag(true);
    for (const Case& c : cases) {
        ui.messages.clear();
        EXPECT_FALSE(doc.OnSaveDocument(c.path)) << c.path;
        EXPECT_EQ(ui.OnlyMessage(), "File " + c.path + ":\nwas NOT saved: " + c.reason);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(ui.waitDepth, 0);
    }
    EXPECT_EQ(Entries(dir.path()), before);
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_FALSE(fs::exists(dir.Path("missing.dat")));
    if (cases.size() == 4) {
        EXPECT_EQ(fs::status(device).type(), fs::file_type::character);
    }
}

TEST_F(SaveTarget, AFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    const bool root = ::geteuid() == 0;
    std::string path;
    if (root) {
        path = NobodysFileInRootsFolder();
    } else {
        path = dir.Path("shared/keep.dat");
        fs::create_directory(dir.Path("shared"));
        ASSERT_TRUE(doc.OnSaveDocument(path));
        ASSERT_EQ(::chmod(dir.Path("shared").c_str(), 0555), 0);
    }
    const int status = InChild(root, [&] {
        doc.m_strDataTitle = "Changed";
        return doc.OnSaveDocument(path) && ui.messages.empty() ? 0 : 1;
    });
    ASSERT_NE(status, 99) << "could not become nobody";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");
    EXPECT_EQ(Entries(dir.Path("shared")), std::vector<std::string>{"keep.dat"});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(LeftElsewhere(runtime, st.st_ino), 0);
    if (root) {
        EXPECT_EQ(st.st_uid, kNobody);
    }
}

TEST_F(SaveTarget, AHardLinkedFileKeepsItsOtherNames) {
    const std::string path = dir.Path("a.dat");
    const std::string other = dir.Path("b.dat");
    SaveThenChange(path);
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(test::TempDir::Read(other).substr(0, 10), "@Changed\r\n");
    EXPECT_EQ(test::TempDir::Read(path), test::TempDir::Read(other));
    EXPECT_EQ(fs::hard_link_count(path), 2u);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.dat", "b.dat"}));
    // Shorter content cuts the file to its new length.
    doc.m_pPairs.resize(1);
    ASSERT_TRUE(doc.OnSaveDocument(other));
    EXPECT_EQ(test::TempDir::Read(path).size(), 105 + 69u);
    EXPECT_TRUE(ui.messages.empty());
}

// A second program saving into the same file is refused, not mixed in.
TEST_F(SaveTarget, ASaveIntoAFileAnotherSaveIsWritingIsRefused) {
    const std::string path = dir.Path("a.dat");
    const std::string before = SaveThenChange(path);
    ASSERT_EQ(::link(path.c_str(), dir.Path("b.dat").c_str()), 0);
    const int other = ::open(dir.Path("b.dat").c_str(), O_RDWR);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(ui.OnlyMessage(), "A sharing violation occurred while accessing " + path + ".");
    EXPECT_EQ(test::TempDir::Read(path), before);
    EXPECT_TRUE(doc.IsModified());
    ::close(other);
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.dat", "b.dat"}));
}

TEST_F(SaveTarget, AFileOfAnotherOwnerKeepsItsOwnerAndMode) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const std::string path = dir.Path("theirs.dat");
    SaveThenChange(path);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(doc.OnSaveDocument(path));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"theirs.dat"});
    EXPECT_EQ(LeftElsewhere(runtime, st.st_ino), 0);
}

constexpr std::string_view kMarkText =
    "Lumetra: this file is half-written; its previous content is kept in ";

// A file as a save leaves it while it writes the file itself.
bool Marked(const std::string& bytes) {
    return bytes.size() > kMarkText.size() && bytes[0] == '\0' &&
           bytes.compare(1, kMarkText.size(), kMarkText) == 0;
}

// The reader as first described, which takes a file whose first line begins with "@".
bool DescribedReaderTakes(const std::string& bytes) {
    return bytes.find("\r\n") != std::string::npos && !bytes.empty() && bytes[0] == '@';
}

// Killed at random moments in each path: while torn, the file is marked and no reader takes it
// for data, through any of its names; the next read finds the old content or the new, and puts
// back what an interrupted write into the file itself had kept, saying so, and only then. The
// hard-linked file, written in place, is killed fifty times and read through its other name.
TEST_F(SaveTarget, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNew) {
    const bool root = ::geteuid() == 0;
    const std::string plain = dir.Path("plain.dat");
    const std::string linked = dir.Path("linked.dat");
    const std::string shared = root ? NobodysFileInRootsFolder() : "";
    doc.m_pPairs.assign(5000, {1.0, 2.0, 3.0, 4.0});
    ASSERT_TRUE(doc.OnSaveDocument(plain));
    const std::string oldBytes = test::TempDir::Read(plain);
    doc.m_strDataTitle = "New";
    doc.m_pPairs.assign(80000, {5.0, 6.0, 7.0, 8.0});
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("new.dat")));
    const std::string newBytes = test::TempDir::Read(dir.Path("new.dat"));
    ASSERT_EQ(::link(dir.Path("new.dat").c_str(), linked.c_str()), 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(doc.OnSaveDocument(linked)); // in place: the slower path
    const auto took = std::chrono::steady_clock::now() - start;

    std::mt19937 random(14);
    // From a quarter of the save, by when the new content is made, to past its end.
    const long micros = long(std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    std::uniform_int_distribution<long> delay(micros / 4, micros * 5 / 4);
    struct Target {
        std::string path, readAs;
        bool asNobody;
        int kills;
    };
    std::vector<Target> targets = {{plain, plain, false, 12},
                                   {linked, dir.Path("new.dat"), false, 50}};
    if (root)
        targets.push_back({shared, shared, true, 12});
    for (const Target& t : targets) {
        int olds = 0, news = 0;
        for (int k = 0; k < t.kills; ++k) {
            { std::ofstream(t.path, std::ios::binary | std::ios::trunc) << oldBytes; }
            const pid_t pid = ::fork();
            if (pid == 0) {
                if (t.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
                                   ::setuid(kNobody) != 0))
                    ::_exit(99);
                doc.OnSaveDocument(t.path);
                ::_exit(0);
            }
            ::usleep(useconds_t(delay(random)));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            const std::string torn = test::TempDir::Read(t.readAs);
            const bool marked = Marked(torn);
            EXPECT_TRUE(torn == oldBytes || torn == newBytes || marked) << t.path << " " << k;
            EXPECT_TRUE(torn == oldBytes || torn == newBytes || !DescribedReaderTakes(torn));
            // Read: a message when, and only when, the kept copy was put back.
            EXPECT_EQ(InChild(t.asNobody,
                              [&] {
                                  test::RecordingUi quiet;
                                  CLumetraDoc reader(quiet, settings);
                                  const bool told =
                                      quiet.messages.empty() ||
                                      (quiet.messages.size() == 1 &&
                                       quiet.messages[0].icon == Ui::Icon::Information);
                                  return reader.OnOpenDocument(t.readAs) &&
                                                 quiet.messages.size() == (marked ? 1u : 0u) && told
                                             ? 0
                                             : 1;
                              }),
                      0)
                << t.path << " " << k;
            const std::string now = test::TempDir::Read(t.path);
            EXPECT_TRUE(now == oldBytes || now == newBytes) << t.path << " kill " << k;
            olds += now == oldBytes;
            news += now == newBytes;
            struct stat st {};
            ASSERT_EQ(::stat(t.path.c_str(), &st), 0);
            // Half-made copies stay until they are clearly stale; kept ones are put back.
            EXPECT_EQ(LeftElsewhere(runtime, st.st_ino, ".old"), 0) << t.path;
            for (const std::string& name : Entries(fs::path(t.path).parent_path().string()))
                EXPECT_EQ(name.find(".old"), std::string::npos) << name;
        }
        EXPECT_EQ(olds + news, t.kills) << t.path;
    }
}

// What a read finds beside a file whose in-place save was killed.
TEST_F(SaveTarget, AReadPutsBackAKeptCopyOnlyForAMarkedFileAndSaysSo) {
    const std::string path = dir.Path("keep.dat");
    const std::string before = SaveThenChange(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const std::string copy = dir.Path(".keep.dat.AbC123." + std::to_string(st.st_ino) + ".old");
    const std::string marked =
        std::string(1, '\0') + std::string(kMarkText) + copy + "\nhalf of the new content";
    const std::string halfWritten = "File " + path +
                                    ":\nwas left half-written by a save that did not finish; it "
                                    "is NOT read!\n";
    struct Case {
        std::string bytes;
        bool withCopy, heldCopy;
        bool read;
        std::string message;
    };
    const Case cases[] = {
        // The save finished and was killed before its copy went: the copy goes, unread.
        {before, true, false, true, ""},
        {marked, true, false, true,
         "File " + path +
             ":\nwas left half-written by a save that did not finish.\nIts "
             "previous content was put back from " +
             copy + "."},
        {marked, true, true, false,
         "File " + path +
             ":\nis being saved at this moment; it is NOT read!\nIts previous "
             "content is kept in " +
             copy + " until the save has finished."},
        {marked, false, false, false,
         halfWritten + "Its previous content was kept in " + copy + ", which is no longer there."},
    };
    for (const Case& c : cases) {
        { std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes; }
        if (c.withCopy)
            dir.Write(fs::path(copy).filename().string(), before);
        const int lock = c.heldCopy ? ::open(copy.c_str(), O_RDONLY) : -1;
        if (c.heldCopy) {
            ASSERT_EQ(::flock(lock, LOCK_EX), 0); // a save at work
        }
        test::RecordingUi quiet;
        CLumetraDoc reader(quiet, settings);
        EXPECT_EQ(reader.OnOpenDocument(path), c.read) << c.message;
        EXPECT_EQ(quiet.messages.empty() ? "" : quiet.messages[0].text, c.message);
        EXPECT_EQ(test::TempDir::Read(path), c.read ? before : c.bytes);
        EXPECT_EQ(fs::exists(copy), c.heldCopy) << c.message;
        if (lock >= 0)
            ::close(lock);
        fs::remove(copy);
    }
}

TEST_F(SaveTarget, TheNextSaveRemovesWhatKilledSavesLeftAndNothingElse) {
    const std::string path = dir.Path("keep.dat");
    SaveThenChange(path);
    auto make = [&](const std::string& name, bool old) {
        const std::string p = dir.Write(name, "partial");
        if (old) {
            const timespec times[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
            ::utimensat(AT_FDCWD, p.c_str(), times, 0);
        }
        return p;
    };
    make(".keep.dat.AbC123", true);  // a killed save's: removed
    make(".keep.dat.Fresh1", false); // perhaps a save just begun
    const std::string held = make(".keep.dat.Held01", true);
    make(".keep.dat.bak", true);     // not our pattern
    make(".keep.dat.AbC12", true);   // nor this
    make(".other.dat.AbC123", true); // another file's
    const int lock = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0); // a save still at work
    std::vector<std::string> expected = {".keep.dat.AbC12", ".keep.dat.Fresh1",  ".keep.dat.Held01",
                                         ".keep.dat.bak",   ".other.dat.AbC123", "keep.dat"};
    if (::geteuid() == 0) {
        const std::string theirs = make(".keep.dat.Nobody", true);
        ASSERT_EQ(::chown(theirs.c_str(), kNobody, kNobody), 0);
        expected.insert(expected.begin() + 3, ".keep.dat.Nobody");
    }
    ASSERT_TRUE(doc.OnSaveDocument(path));
    ::close(lock);
    EXPECT_EQ(Entries(dir.path()), expected);
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");
}

} // namespace
} // namespace lumetra
