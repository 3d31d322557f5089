#pragma once

#include <string>

namespace lumetra {

class Ui;

// The kinds of file error the program tells apart, each with its own text.
enum class FileErrorKind {
    None,
    Unspecified,
    FileNotFound,
    InvalidPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFileHandle,
    RemoveCurrentDir,
    DirectoryFull,
    SeekFailed,
    HardwareIO,
    SharingViolation,
    LockingViolation,
    DiskFull,
    EndOfFile,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    std::string fileName; // as the error carries it: the full path
};

// Maps an errno value onto the kinds above.
FileErrorKind FileErrorKindFromErrno(int err);

// The text of a kind, with %1 replaced by the file's name.
std::string FileErrorText(FileErrorKind kind, const std::string& fileName);

// The framework's file error report: the kind's text when the error names a cause, otherwise
// the default text; in an exclamation box.
void ReportSaveLoadException(Ui& ui, const FileError& error, bool saving,
                             const std::string& defaultText);

} // namespace lumetra
