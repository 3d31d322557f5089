#pragma once

#include <functional>
#include <string>

namespace lumetra {

// Writes the whole new content at the descriptor's offset; returns 0, or the errno of the
// failure (ENOMEM when memory ran out).
using ContentWriter = std::function<int(int fd)>;

// How a save through SaveFile ended.
struct SaveResult {
    int err = 0;          // errno of the failure; 0 when saved or refused
    bool opened = false;  // whether a file to write into could be had at all
    std::string refusal;  // why the name was left alone ("it is a pipe, device or socket, ...")
    std::string keptCopy; // where the previous content lies when it could not be put back
    std::string target;   // the file written: the path with its links followed
    bool Saved() const { return err == 0 && refusal.empty(); }
};

// The one way the program writes a file (data files, tables, pictures, printed files). Pipes,
// devices, sockets and links that lead nowhere are refused untouched; a link is written through
// to its file. The content goes beside the file and is renamed over it, so a failure or a kill
// at any moment leaves the previous content. Where a rename would part the file from its other
// names (hard links), its owner or its group, or where its folder takes no new file, the file
// itself is written: a complete copy of its old content is kept first, and the file is marked as
// being written (its first bytes say so and name the copy) until the new content is whole, so
// that no reader ever takes a half-written file for data.
SaveResult SaveFile(const std::string& path, const ContentWriter& write);

// "File <path>:\nwas NOT saved: <reason>", the refusal of a name SaveFile left alone.
std::string NotSavedMessage(const std::string& path, const std::string& reason);
// The note on a previous content that a failed save could not put back.
std::string KeptCopyMessage(const std::string& path, const std::string& keptCopy);
// A failed save of a table or picture told as one message: the refusal, or `failed` ("Cannot
// write the table to <path>!"), its cause and that the earlier file is unchanged.
std::string SaveFailureMessage(const std::string& path, const SaveResult& result,
                               const std::string& failed);

// For a program that must end in the middle of a save (an error it cannot recover from):
// removes the file the save was writing beside its target, which is left as it was. Uses no
// memory.
void RemoveUnfinishedWrite();

// Writes all of data; false with errno set on failure.
bool WriteAll(int fd, const char* data, size_t size);

// Text collected and written to a descriptor a megabyte at a time, so that a file of any size
// needs little memory.
class BufferedOutput {
public:
    explicit BufferedOutput(int fd);
    std::string& Text() { return m_text; }
    // Writes the text collected once it passes the buffer's size; false with errno set on
    // failure.
    bool Spill();
    // Writes the rest; 0, or the errno of the failure.
    int Finish();

private:
    int m_fd;
    std::string m_text;
};

// What a reader finds of a save into the file that did not finish.
struct UnfinishedSave {
    enum class State {
        None,     // the file is as a finished save (or another program) left it
        Restored, // it was half-written; its previous content was put back
        Refused,  // it is half-written and cannot be put back now: it must not be read
    };
    State state = State::None;
    std::string message; // for Restored and Refused
};

// Looks at a file before it is read: a file marked as being written is put back from the copy
// of its previous content that the save kept, unless that save is still at work or the copy
// cannot be had. Also removes what killed saves left of this file: stale half-written files
// beside it, and kept copies whose save had finished. Only our own files are touched.
UnfinishedSave RecoverUnfinishedSave(const std::string& path);

} // namespace lumetra
