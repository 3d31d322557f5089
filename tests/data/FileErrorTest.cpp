#include "data/FileError.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace lumetra {
namespace {

TEST(FileError, EveryKindHasItsText) {
    const std::string f = "/d/x.dat";
    EXPECT_EQ(FileErrorText(FileErrorKind::None, f), "No error occurred.");
    EXPECT_EQ(FileErrorText(FileErrorKind::Unspecified, f),
              "An unknown error occurred while accessing /d/x.dat.");
    EXPECT_EQ(FileErrorText(FileErrorKind::FileNotFound, f), "/d/x.dat was not found.");
    EXPECT_EQ(FileErrorText(FileErrorKind::InvalidPath, f), "/d/x.dat contains an invalid path.");
    EXPECT_EQ(FileErrorText(FileErrorKind::TooManyOpenFiles, f),
              "/d/x.dat could not be opened because there are too many open files.");
    EXPECT_EQ(FileErrorText(FileErrorKind::AccessDenied, f), "Access to /d/x.dat was denied.");
    EXPECT_EQ(FileErrorText(FileErrorKind::InvalidFileHandle, f),
              "An invalid file handle was associated with /d/x.dat.");
    EXPECT_EQ(FileErrorText(FileErrorKind::RemoveCurrentDir, f),
              "/d/x.dat could not be removed because it is the current directory.");
    EXPECT_EQ(FileErrorText(FileErrorKind::DirectoryFull, f),
              "/d/x.dat could not be created because the directory is full.");
    EXPECT_EQ(FileErrorText(FileErrorKind::SeekFailed, f), "Seek failed on /d/x.dat");
    EXPECT_EQ(FileErrorText(FileErrorKind::HardwareIO, f),
              "A hardware I/O error was reported while accessing /d/x.dat.");
    EXPECT_EQ(FileErrorText(FileErrorKind::SharingViolation, f),
              "A sharing violation occurred while accessing /d/x.dat.");
    EXPECT_EQ(FileErrorText(FileErrorKind::LockingViolation, f),
              "A locking violation occurred while accessing /d/x.dat.");
    EXPECT_EQ(FileErrorText(FileErrorKind::DiskFull, f), "Disk full while accessing /d/x.dat.");
    EXPECT_EQ(FileErrorText(FileErrorKind::EndOfFile, f),
              "An attempt was made to access /d/x.dat past its end.");
}

TEST(FileError, OperatingSystemErrorsMapOntoKinds) {
    EXPECT_EQ(FileErrorKindFromErrno(ENOENT), FileErrorKind::FileNotFound);
    EXPECT_EQ(FileErrorKindFromErrno(EACCES), FileErrorKind::AccessDenied);
    EXPECT_EQ(FileErrorKindFromErrno(EISDIR), FileErrorKind::AccessDenied);
    EXPECT_EQ(FileErrorKindFromErrno(EROFS), FileErrorKind::AccessDenied);
    EXPECT_EQ(FileErrorKindFromErrno(ENOSPC), FileErrorKind::DiskFull);
    EXPECT_EQ(FileErrorKindFromErrno(EDQUOT), FileErrorKind::DiskFull);
    EXPECT_EQ(FileErrorKindFromErrno(EMFILE), FileErrorKind::TooManyOpenFiles);
    EXPECT_EQ(FileErrorKindFromErrno(ENOTDIR), FileErrorKind::InvalidPath);
    EXPECT_EQ(FileErrorKindFromErrno(EIO), FileErrorKind::HardwareIO);
    EXPECT_EQ(FileErrorKindFromErrno(0), FileErrorKind::None);
    EXPECT_EQ(FileErrorKindFromErrno(EPROTO), FileErrorKind::Unspecified);
}

TEST(FileError, ReportShowsTheCauseOrElseTheDefault) {
    test::RecordingUi ui;
    ReportSaveLoadException(ui, {FileErrorKind::DiskFull, "/d/x.dat"}, true,
                            "Failed to save document.");
    ReportSaveLoadException(ui, {FileErrorKind::None, "/d/x.dat"}, true,
                            "Failed to save document.");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Disk full while accessing /d/x.dat.");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Exclamation);
    EXPECT_EQ(ui.messages[1].text, "Failed to save document.");
}

} // namespace
} // namespace lumetra
