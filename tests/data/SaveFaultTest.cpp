// Saving when the system fails us: whatever goes wrong, the file the user had is left as it was
// and the document keeps its unsaved changes.
#include "data/LumetraDoc.h"
#include "support/DocTest.h"
#include "support/ExampleFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// A small tmpfs of the test's own, where the system lets the test mount one (as root).
class ScratchFileSystem {
public:
    ScratchFileSystem(const std::string& at, const std::string& options)
        : m_at(at), m_options(options) {
        fs::create_directory(at);
        m_mounted = ::mount("lumetra-test", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScratchFileSystem() {
        if (m_mounted)
            ::umount2(m_at.c_str(), MNT_DETACH);
    }
    ScratchFileSystem(const ScratchFileSystem&) = delete;
    ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

    bool Mounted() const { return m_mounted; }
    bool MakeReadOnly() const {
        return ::mount(nullptr, m_at.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, m_options.c_str()) ==
               0;
    }

private:
    std::string m_at;
    std::string m_options;
    bool m_mounted = false;
};

struct SaveFault : test::ExampleDocTest {

    // Saves the example at path as the file the user has, then changes the document.
    std::string SaveThenChange(const std::string& path) {
        EXPECT_TRUE(doc.OnSaveDocument(path));
        doc.m_strDataTitle = "Changed";
        for (int k = 0; k < 3000; ++k)
            doc.m_pPairs.push_back({double(k), 2.0 * k});
        doc.SetModifiedFlag(true);
        ui.messages.clear();
        return test::TempDir::Read(path);
    }

    void ExpectRefusedAndKept(const std::string& path, const std::string& before,
                              const std::string& message) {
        EXPECT_EQ(ui.OnlyMessage(), message);
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
        EXPECT_EQ(test::TempDir::Read(path), before);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.m_strDataTitle, "Changed");
        EXPECT_EQ(ui.waitDepth, 0);
    }

    // Nothing but the named entries may be left in the folder.
    static void ExpectOnly(const std::string& folder, const std::vector<std::string>& names) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, names);
    }
};

TEST_F(SaveFault, AReadOnlyFileSystemKeepsThePreviousFile) {
    const std::string folder = dir.Path("ro");
    ScratchFileSystem scratch(folder, "size=1m");
    if (!scratch.Mounted())
        GTEST_SKIP() << "no file system can be mounted here (needs root)";
    const std::string path = folder + "/keep.dat";
    const std::string before = SaveThenChange(path);
    if (!scratch.MakeReadOnly())
        GTEST_SKIP() << "the file system could not be made read-only";
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ExpectRefusedAndKept(path, before, "Access to " + path + " was denied.");
    ExpectOnly(folder, {"keep.dat"});
}

TEST_F(SaveFault, AFullDiskKeepsThePreviousFile) {
    const std::string folder = dir.Path("small");
    ScratchFileSystem scratch(folder, "size=64k");
    if (!scratch.Mounted())
        GTEST_SKIP() << "no small file system can be mounted here (needs root)";
    const std::string path = folder + "/keep.dat";
    const std::string before = SaveThenChange(path); // 3000 pairs: some 200 KB
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ExpectRefusedAndKept(path, before, "Disk full while accessing " + path + ".");
    ExpectOnly(folder, {"keep.dat"});
}

TEST_F(SaveFault, ATargetReplacedByADirectoryIsLeftAlone) {
    const std::string path = dir.Path("keep.dat");
    SaveThenChange(path);
    fs::remove(path);
    fs::create_directory(path);
    const std::string inside = dir.Write("keep.dat/inside.txt", "mine");
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(ui.OnlyMessage(), "Access to " + path + " was denied.");
    EXPECT_EQ(test::TempDir::Read(inside), "mine");
    EXPECT_TRUE(doc.IsModified());
    ExpectOnly(dir.path(), {"keep.dat"});
    ExpectOnly(path, {"inside.txt"});
}

// The program dies in the middle of writing: the limit on file size stops the writer with
// SIGXFSZ after 4096 bytes of the new file, before it can replace the old one.
TEST_F(SaveFault, ASaveKilledHalfWayLeavesThePreviousFile) {
    const std::string path = dir.Path("keep.dat");
    const std::string before = SaveThenChange(path);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        doc.OnSaveDocument(path);
        ::_exit(0); // not reached when the fault struck
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer was not stopped half way";
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

    EXPECT_EQ(test::TempDir::Read(path), before);
    // Beside it lies the new file as far as it got.
    size_t partial = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.path().filename() != "keep.dat") {
            EXPECT_EQ(entry.path().filename().string().rfind(".keep.dat.", 0), 0u);
            partial = fs::file_size(entry.path());
        }
    EXPECT_EQ(partial, 4096u);
    // The document in this process, untouched by the child, saves over the old file.
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 10), "@Changed\r\n");
}

} // namespace
} // namespace lumetra
