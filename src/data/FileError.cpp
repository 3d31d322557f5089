#include "data/FileError.h"

#include "platform/Ui.h"

#include <cerrno>

namespace lumetra {

FileErrorKind FileErrorKindFromErrno(int err) {
    switch (err) {
    case 0:
        return FileErrorKind::None;
    case ENOENT:
        return FileErrorKind::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return FileErrorKind::InvalidPath;
    case EMFILE:
    case ENFILE:
        return FileErrorKind::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FileErrorKind::AccessDenied;
    case EBADF:
        return FileErrorKind::InvalidFileHandle;
    case EMLINK:
        return FileErrorKind::DirectoryFull;
    case ESPIPE:
        return FileErrorKind::SeekFailed;
    case EIO:
    case ENXIO:
    case ENODEV:
        return FileErrorKind::HardwareIO;
    case EBUSY:
    case ETXTBSY:
        return FileErrorKind::SharingViolation;
    case EDEADLK:
    case ENOLCK:
        return FileErrorKind::LockingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorKind::DiskFull;
    default:
        return FileErrorKind::Unspecified;
    }
}

std::string FileErrorText(FileErrorKind kind, const std::string& fileName) {
    const char* text = "";
    switch (kind) {
    case FileErrorKind::None:
        text = "No error occurred.";
        break;
    case FileErrorKind::Unspecified:
        text = "An unknown error occurred while accessing %1.";
        break;
    case FileErrorKind::FileNotFound:
        text = "%1 was not found.";
        break;
    case FileErrorKind::InvalidPath:
        text = "%1 contains an invalid path.";
        break;
    case FileErrorKind::TooManyOpenFiles:
        text = "%1 could not be opened because there are too many open files.";
        break;
    case FileErrorKind::AccessDenied:
        text = "Access to %1 was denied.";
        break;
    case FileErrorKind::InvalidFileHandle:
        text = "An invalid file handle was associated with %1.";
        break;
    case FileErrorKind::RemoveCurrentDir:
        text = "%1 could not be removed because it is the current directory.";
        break;
    case FileErrorKind::DirectoryFull:
        text = "%1 could not be created because the directory is full.";
        break;
    case FileErrorKind::SeekFailed:
        text = "Seek failed on %1";
        break;
    case FileErrorKind::HardwareIO:
        text = "A hardware I/O error was reported while accessing %1.";
        break;
    case FileErrorKind::SharingViolation:
        text = "A sharing violation occurred while accessing %1.";
        break;
    case FileErrorKind::LockingViolation:
        text = "A locking violation occurred while accessing %1.";
        break;
    case FileErrorKind::DiskFull:
        text = "Disk full while accessing %1.";
        break;
    case FileErrorKind::EndOfFile:
        text = "An attempt was made to access %1 past its end.";
        break;
    }
    std::string out = text;
    const size_t at = out.find("%1");
    if (at != std::string::npos)
        out.replace(at, 2, fileName);
    return out;
}

void ReportSaveLoadException(Ui& ui, const FileError& error, bool /*saving*/,
                             const std::string& defaultText) {
    const std::string text =
        error.kind == FileErrorKind::None ? defaultText : FileErrorText(error.kind, error.fileName);
    ui.MessageBox(text, Ui::Buttons::Ok, Ui::Icon::Exclamation);
}

} // namespace lumetra
