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
    // An open writer keeps any read lease away, so the bytes are read with pread, part by part.
    const int writer = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    for (int parts : {1, 2, 3, 8}) {
        const WorkPartsOverride split(parts);
        size_t length = 0;
        const int fd = OpenForReading(path, length);
        ASSERT_GE(fd, 0);
        FdCloser closer(fd);
        FileContents contents;
        ASSERT_EQ(contents.Load(fd, length), FileContents::Status::Ok);
        ASSERT_EQ(contents.size(), bytes.size()) << parts;
        EXPECT_EQ(std::string_view(contents.data(), contents.size()), bytes) << parts;
    }
    ::close(writer);
}

} // namespace
} // namespace lumetra
