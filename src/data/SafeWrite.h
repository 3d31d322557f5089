#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>

namespace lumetra {

// Writes the whole new content at the descriptor's offset; returns 0, or the errno of the
// failure (ENOMEM when memory ran out).
using ContentWriter = std::function<int(int fd)>;

struct SafeWriteResult {
    int err = 0;          // errno of the failure, 0 on success
    bool opened = false;  // whether a file to write into could be had at all
    std::string keptCopy; // where the previous content lies when it could not be put back
};

// Replaces the content of target (a regular file or a name not yet taken; old is its stat when it
// exists, else nullptr) so that a failure or a kill at any point leaves the previous content.
// Normally the new file is written beside the target and renamed over it. Where no file can be
// made beside it, or the target has other names (hard links) or another owner, which a rename
// would part from it, the file itself is written, after a complete copy of its old content has
// been kept beside it (or, when the folder takes no new file, in the user's runtime or temp
// folder); a failed write puts the copy back.
SafeWriteResult WriteFileSafely(const std::string& target, const struct stat* old, mode_t mode,
                                const ContentWriter& write);

// Writes all of data; false with errno set on failure.
bool WriteAll(int fd, const char* data, size_t size);

// Puts back the content an interrupted write into target had kept, and removes the half-written
// files that killed saves of target left beside it. Only our own files of our own names are
// touched, and only when no live save holds them.
void CleanUpAfterKilledSaves(const std::string& target);

} // namespace lumetra
