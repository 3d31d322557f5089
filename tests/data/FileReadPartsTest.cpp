// A file read into memory in parts holds the bytes a single read gives.
#include "data/FileContents.h"
#include "platform/WorkSplit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

namespace lumetra {
namespace {

TEST(FileReadParts, TheBytesAreTheFilesForAnyPartCount) {
    test::TempDir dir;
    std::string bytes(17 * 1024 * 1024 + 123, '\0'); // worth 8 parts of 2 MB
    std::mt19937 rng(9);
    for (char& c : bytes)
        c = char(rng());
    const std::string path = dir.Write("big.dat", bytes);
    // A writer keeps the read lease from being granted: the bytes are read, not mapped.
    const int writer = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    for (int parts : {1, 2, 3, 8}) {
        const WorkPartsOverride split(parts);
        size_t length = 0;
        const int fd = OpenForReading(path, length);
        ASSERT_GE(fd, 0);
        FdCloser closer(fd);
        FileContents contents;
        // Asked for more than there is, as after the file shrank: the parts stop at its end.
        ASSERT_EQ(contents.Load(fd, length + 5000), FileContents::Status::Ok);
        ASSERT_EQ(contents.size(), bytes.size()) << parts;
        EXPECT_EQ(std::string_view(contents.data(), contents.size()), bytes) << parts;
    }
    ::close(writer);
}

} // namespace
} // namespace lumetra
